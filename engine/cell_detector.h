// Recognises the first byte of a SQLite table b-tree leaf cell in raw bytes.
//
// A leaf cell, as found anywhere in an image (live page, freed page, journal):
//
//   offset        size      meaning
//   0             |P|       varint P: payload length (header + body bytes)
//   |P|           |R|       varint R: rowid
//   |P|+|R|       |H|       varint H: record header length, itself included
//   S=|P|+|R|+|H| D=H-|H|   one serial-type varint per column
//   |P|+|R|+H     ...       column bodies, in column order
//
// The test is a heuristic: a position is accepted when every varint parses,
// lies within fixed bounds and the sizes add up exactly. Worked example, one
// cell of 17 bytes:
//
//   0F 01 06 | 01 01 01 01 17 | 01 02 03 04 68 65 6C 6C 6F
//   P=15 R=1 H=6  types 1,1,1,1,23 (5-byte text)   bodies "1","2","3","4","hello"
//   D=5, S=3, H + 1+1+1+1+5 = 15 = P  -> accepted
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/varint.h"

namespace velkor {

// Bounds of a plausible cell; see DetectCell for the order they are applied.
inline constexpr uint64_t kMinPayload = 11;
inline constexpr uint64_t kMaxPayload = 10000;
inline constexpr uint64_t kMaxRowid = 1048576;
inline constexpr uint64_t kMinSerialBytes = 5;  // D
inline constexpr uint64_t kMaxSerialBytes = 80;
inline constexpr int32_t kMaxLeadBytes = 10;  // S
inline constexpr int32_t kMinColumns = 5;
inline constexpr int32_t kMaxColumns = 80;

// The serial types of one cell in header order, held in place: a candidate
// never allocates. Every type takes at least one of the at most
// kMaxSerialBytes header bytes, so kMaxColumns entries always suffice.
class SerialTypeList {
 public:
  class Iterator {
   public:
    Iterator(const SerialTypeList* list, uint32_t at) : list_(list), at_(at) {}
    Varint operator*() const { return (*list_)[at_]; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    const SerialTypeList* list_;
    uint32_t at_;
  };

  void clear() { count_ = 0; }
  size_t size() const { return count_; }
  void push_back(const Varint& type) {
    values_[count_] = static_cast<uint32_t>(type.value);
    lengths_[count_] = static_cast<uint8_t>(type.length);
    ++count_;
  }
  Varint operator[](size_t i) const { return {values_[i], lengths_[i]}; }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, count_}; }

 private:
  static_assert(kMaxSerialBytes <= static_cast<uint64_t>(kMaxColumns));
  // Accepted varints hold 28 bits at most.
  std::array<uint32_t, kMaxColumns> values_;
  std::array<uint8_t, kMaxColumns> lengths_;
  uint32_t count_ = 0;
};

struct CellCandidate {
  uint32_t offset = 0;  // from the start of the window
  Varint payloadLength;
  Varint rowid;
  Varint headerLength;
  SerialTypeList serialTypes;  // 5 to 80 entries
};

// Tests the position at bytes. available is the number of bytes from there to
// the end of the scanned part of the window; 3 more bytes must be readable
// after that bound. On acceptance candidate holds the cell (except offset);
// on rejection its fields hold what the test read before it gave up.
bool DetectCell(const uint8_t* bytes, int32_t available, CellCandidate& candidate);

}  // namespace velkor
