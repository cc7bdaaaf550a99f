// Builders of leaf-cell bytes from the cell layout: P, R, H varints, serial
// types, bodies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

// 0F 01 06 | 01 01 01 01 17 | 01 02 03 04 "hello"
inline const std::vector<uint8_t> kHelloCell = {0x0F, 0x01, 0x06, 0x01, 0x01, 0x01,
                                                0x01, 0x17, 0x01, 0x02, 0x03, 0x04,
                                                0x68, 0x65, 0x6C, 0x6C, 0x6F};

// Big-endian 7-bit groups, at most the 4 bytes the cell test reads.
inline void AppendVarint(std::vector<uint8_t>& out, uint64_t value) {
  int n = 1;
  while (n < 4 && (value >> (7 * n)) != 0) ++n;
  for (int i = n - 1; i >= 0; --i)
    out.push_back(static_cast<uint8_t>(((value >> (7 * i)) & 0x7F) | (i ? 0x80 : 0)));
}

inline uint64_t ContentSize(uint64_t t) {
  return t <= 4 ? t : t == 5 ? 6 : t < 8 ? 8 : t < 12 ? 0 : (t - 12) / 2;
}

// The cell of a record with these serial types and body; H counts its own
// varint, P is H plus the body.
inline std::vector<uint8_t> CellFrom(const std::vector<uint64_t>& types,
                                     const std::vector<uint8_t>& body, uint64_t rowid) {
  std::vector<uint8_t> serial;
  for (uint64_t t : types) AppendVarint(serial, t);
  std::vector<uint8_t> h;
  AppendVarint(h, serial.size() + 1);
  const uint64_t headerLength = serial.size() + h.size();
  std::vector<uint8_t> out;
  AppendVarint(out, headerLength + body.size());
  AppendVarint(out, rowid);
  AppendVarint(out, headerLength);
  out.insert(out.end(), serial.begin(), serial.end());
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// Bodies filled with the body byte.
inline std::vector<uint8_t> CellWithTypes(const std::vector<uint64_t>& types, uint64_t rowid = 1,
                                          uint8_t body = 0x41) {
  uint64_t bodySize = 0;
  for (uint64_t t : types) bodySize += ContentSize(t);
  return CellFrom(types, std::vector<uint8_t>(bodySize, body), rowid);
}

// n columns of serial type 1 (one body byte each).
inline std::vector<uint8_t> CellOfIntegers(int n) {
  return CellWithTypes(std::vector<uint64_t>(static_cast<size_t>(n), 1));
}

inline std::vector<uint8_t> CellWithRowid(uint64_t rowid) {
  return CellWithTypes({1, 1, 1, 1, 23}, rowid);
}

// Four NULLs and a blob sized so that the payload is exactly p (p >= 11);
// a smaller p gives a cell whose total misses it on purpose.
inline std::vector<uint8_t> CellWithPayload(uint64_t p) {
  for (uint64_t blob = 0; blob < 20000; ++blob) {
    const uint64_t t = 12 + 2 * blob;
    std::vector<uint8_t> type;
    AppendVarint(type, t);
    if (5 + type.size() + blob == p) return CellWithTypes({0, 0, 0, 0, t});
  }
  std::vector<uint8_t> out;
  AppendVarint(out, p);
  out.insert(out.end(), {0x01, 0x06, 0, 0, 0, 0, 12});
  return out;
}

// Typed columns: numbers as 4-byte integers (type 4), UTF-8 texts, NULLs.
struct Column {
  enum Kind { kNumber, kText, kNull } kind;
  uint32_t number = 0;
  std::string text;
};
inline constexpr auto Num = [](uint32_t v) { return Column{Column::kNumber, v, {}}; };
inline constexpr auto Txt = [](std::string t) { return Column{Column::kText, 0, std::move(t)}; };
inline constexpr auto Nul = [] { return Column{Column::kNull, 0, {}}; };

inline std::vector<uint8_t> CellOf(const std::vector<Column>& columns, uint64_t rowid = 1) {
  std::vector<uint64_t> types;
  std::vector<uint8_t> body;
  for (const Column& c : columns) {
    if (c.kind == Column::kNumber) {
      types.push_back(4);
      for (int shift = 24; shift >= 0; shift -= 8) body.push_back(uint8_t(c.number >> shift));
    } else if (c.kind == Column::kText) {
      types.push_back(13 + 2 * c.text.size());
      body.insert(body.end(), c.text.begin(), c.text.end());
    } else {
      types.push_back(0);
    }
  }
  return CellFrom(types, body, rowid);
}

// An iOS message row (11 columns: id, number, time in seconds, text, then
// flags), the shape the classifier files as an iOS short message.
inline std::vector<uint8_t> IosSmsCell(const std::string& number, uint32_t time,
                                       const std::string& content, uint64_t rowid = 1) {
  return CellOf({Num(7), Txt(number), Num(time), Txt(content), Num(0), Num(1), Txt("x"), Num(0),
                 Num(0), Num(0), Num(0)},
                rowid);
}

}  // namespace velkor
