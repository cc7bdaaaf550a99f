// Builders of leaf-cell bytes for the engine tests, written from the cell
// layout: P, R, H varints, serial types, bodies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

// 0F 01 06 | 01 01 01 01 17 | 01 02 03 04 "hello"
inline const std::vector<uint8_t> kHelloCell = {0x0F, 0x01, 0x06, 0x01, 0x01, 0x01,
                                                0x01, 0x17, 0x01, 0x02, 0x03, 0x04,
                                                0x68, 0x65, 0x6C, 0x6C, 0x6F};

inline void AppendVarint(std::vector<uint8_t>& out, uint64_t value) {
  uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && n < 4);
  for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(groups[i] | (i ? 0x80 : 0)));
}

inline size_t VarintLength(uint64_t value) {
  std::vector<uint8_t> tmp;
  AppendVarint(tmp, value);
  return tmp.size();
}

inline uint64_t ContentSize(uint64_t t) {
  if (t <= 4) return t;
  if (t == 5) return 6;
  if (t == 6 || t == 7) return 8;
  if (t < 12) return 0;
  return (t - 12) / 2;
}

// A record of the given serial types with bodies filled with body bytes; P
// computed so the cell adds up. Header length assumes H itself fits 1 byte.
inline std::vector<uint8_t> CellWithTypes(const std::vector<uint64_t>& types, uint64_t rowid = 1,
                                          uint8_t body = 0x41) {
  std::vector<uint8_t> serial;
  for (uint64_t t : types) AppendVarint(serial, t);
  const uint64_t h = serial.size() + VarintLength(serial.size() + 1);
  uint64_t bodySize = 0;
  for (uint64_t t : types) bodySize += ContentSize(t);
  const uint64_t p = h + bodySize;
  std::vector<uint8_t> out;
  AppendVarint(out, p);
  AppendVarint(out, rowid);
  AppendVarint(out, h);
  out.insert(out.end(), serial.begin(), serial.end());
  out.insert(out.end(), bodySize, body);
  return out;
}

// n columns of serial type 1 (one body byte each).
inline std::vector<uint8_t> CellOfIntegers(int n) {
  return CellWithTypes(std::vector<uint64_t>(static_cast<size_t>(n), 1));
}

inline std::vector<uint8_t> CellWithRowid(uint64_t rowid) {
  return CellWithTypes({1, 1, 1, 1, 23}, rowid);
}

// One text column sized so that the payload is exactly p (p >= 11).
inline std::vector<uint8_t> CellWithPayload(uint64_t p) {
  // 5 columns: 4 NULLs and a blob; H = 1 + 4 + |blob type| bytes.
  for (uint64_t blob = 0; blob < 20000; ++blob) {
    const uint64_t t = 12 + 2 * blob;
    const uint64_t h = 1 + 4 + VarintLength(t);
    if (h + blob == p) return CellWithTypes({0, 0, 0, 0, t});
  }
  // p too small for that shape: make the total miss on purpose.
  std::vector<uint8_t> out;
  AppendVarint(out, p);
  out.insert(out.end(), {0x01, 0x06, 0, 0, 0, 0, 12});
  return out;
}

}  // namespace velkor

namespace velkor {

// Serial type of a text of n bytes.
inline uint64_t TextType(size_t n) {
  return 13 + 2 * static_cast<uint64_t>(n);
}

// A record from typed columns: numbers as 4-byte integers (type 4), texts as
// UTF-8 texts, NULLs as type 0.
struct Column {
  enum Kind { kNumber, kText, kNull } kind;
  uint32_t number = 0;
  std::string text;
};
inline Column Num(uint32_t v) {
  return {Column::kNumber, v, {}};
}
inline Column Txt(std::string t) {
  return {Column::kText, 0, std::move(t)};
}
inline Column Nul() {
  return {Column::kNull, 0, {}};
}

inline std::vector<uint8_t> CellOf(const std::vector<Column>& columns, uint64_t rowid = 1) {
  std::vector<uint8_t> serial;
  std::vector<uint8_t> body;
  for (const Column& c : columns) {
    switch (c.kind) {
      case Column::kNumber:
        AppendVarint(serial, 4);
        for (int shift = 24; shift >= 0; shift -= 8) {
          body.push_back(static_cast<uint8_t>(c.number >> shift));
        }
        break;
      case Column::kText:
        AppendVarint(serial, TextType(c.text.size()));
        body.insert(body.end(), c.text.begin(), c.text.end());
        break;
      case Column::kNull:
        AppendVarint(serial, 0);
        break;
    }
  }
  uint64_t h = serial.size() + 1;
  if (VarintLength(h) > 1) h += VarintLength(h) - 1;
  std::vector<uint8_t> out;
  AppendVarint(out, h + body.size());
  AppendVarint(out, rowid);
  AppendVarint(out, h);
  out.insert(out.end(), serial.begin(), serial.end());
  out.insert(out.end(), body.begin(), body.end());
  return out;
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
