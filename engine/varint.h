// Variable-length integers as a SQLite database file stores them, cut down to
// the forms a plausible leaf cell can have here.
//
// Each byte carries 7 value bits, most significant group first; a set high
// bit (0x80) means another byte follows. Only 1 to 4 bytes are accepted, so a
// value never exceeds 2^28 - 1 = 268435455:
//
//   7F              -> 127,        length 1
//   81 00           -> 128,        length 2
//   FF FF FF 7F     -> 268435455,  length 4
//   80 80 80 80 xx  -> rejected, whatever xx is (no 5- to 9-byte forms)
#pragma once

#include <cstdint>

namespace velkor {

struct Varint {
  uint64_t value = 0;
  int32_t length = 0;  // bytes consumed, 1 to 4
};

// Reads at most 4 bytes and takes no bound: the caller guarantees that the
// 3 bytes after its own bound are readable (the window slack).
inline bool ReadVarint(const uint8_t* bytes, Varint& out) {
  uint64_t value = 0;
  for (int32_t k = 0; k < 4; ++k) {
    value = (value << 7) | (bytes[k] & 0x7Fu);
    if ((bytes[k] & 0x80u) == 0) {
      out.value = value;
      out.length = k + 1;
      return true;
    }
  }
  return false;
}

// Number of body bytes a column of serial type t occupies. Types 10 and 11
// are reserved and never reach this function.
//
//   t        size            t          size
//   0        0 (NULL)        8, 9       0 (the constants 0 and 1)
//   1..4     t               12, 14..   (t - 12) / 2   blob
//   5        6               13, 15..   (t - 13) / 2   text
//   6, 7     8
constexpr uint64_t SerialTypeContentSize(uint64_t t) {
  if (t <= 4) return t;
  if (t == 5) return 6;
  if (t == 6 || t == 7) return 8;
  if (t < 12) return 0;
  return (t - 12) / 2;  // (t - 13) / 2 for odd t is the same integer quotient
}

}  // namespace velkor
