// The per-byte rules of the cell prefilter, written once for the plain loop;
// the vector code (cell_prefilter_simd.cpp) computes the same values lane by
// lane, and the tests hold the two to bit-identical results.
//
// Three values are computed for every position x of a window:
//
//   HeaderNeed(x)   a record header (H, first and second serial type) can
//                   start at x: the smallest payload length P it fits in,
//                   or kNoHeader. H + 3 <= P (P > |P| + |R| + H) and
//                   H + size(t0) + size(t1) <= P are both necessary.
//   RowidNeed(x)    a rowid varint starts at x and a header follows it: the
//                   HeaderNeed of that header (the varint's length follows
//                   from the continuation bits), or kNoHeader.
//   flag(i)         P at i, then RowidNeed after it:
//                     P one byte 11..127     RowidNeed(i+1) <= P
//                     P two bytes 81..CE xx  RowidNeed(i+2) != kNoHeader
//                                            (P >= 128 exceeds any need)
//                     P padded (80 ...)      some HeaderNeed(i+3..i+8) !=
//                                            kNoHeader
//
// Every value is a lower bound that DetectCell also enforces, so flag(i) = 0
// implies DetectCell rejects i. The bounds behind HeaderNeed:
//   H one byte 6..81 (D = H - 1 in 5..80); 81.. is > 80 serial bytes;
//     80 is a padded H, taken as needing nothing.
//   t0 one byte 0..9, or 80 (padded, needs only H + 3); one byte above 9
//     or a longer form starting 81.. is >= 10.
//   t1 one byte: not 10 or 11, size(t1) as stored; t1 starting 81.. is
//     >= 128, size >= 58; t1 = 80 (padded) is taken as size 0.
#pragma once

#include <algorithm>
#include <cstdint>

namespace velkor::prefilter {

inline constexpr uint8_t kNoHeader = 0xFF;
// Content size of the serial types 0..15 (10 and 11 are reserved and rejected
// elsewhere; 12..15 follow (t - 12) / 2).
inline constexpr uint8_t kSmallTypeSize[16] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, 0, 0, 0, 0, 1, 1};
// Size lower bound of a serial type whose first byte is 81 or more.
inline constexpr uint8_t kLongTypeSize = 58;
// Positions after i that the rules read: HeaderNeed(i + 8) reads i + 10.
inline constexpr uint32_t kRuleReach = 11;

// The rules are written without branches (selects and bitwise &, |) so that
// the plain loops over them vectorise too.
inline uint8_t TypeSizeBound(uint8_t t) {
  const uint8_t counted = t >= 12 ? static_cast<uint8_t>((t - 12) >> 1) : 0;
  const uint8_t longForm = t == 0x80 ? 0 : kLongTypeSize;
  uint8_t size = t;
  size = t == 5 ? 6 : size;
  size = (t == 6) | (t == 7) ? 8 : size;
  size = t >= 8 ? counted : size;
  return t >= 0x80 ? longForm : size;
}

// b points at x; reads b[0..2].
inline uint8_t HeaderNeed(const uint8_t* b) {
  const uint8_t h = b[0];
  const uint8_t t0 = b[1];
  const uint8_t t1 = b[2];
  const auto sizes = static_cast<uint8_t>(TypeSizeBound(t0) + TypeSizeBound(t1));
  const auto typedNeed = static_cast<uint8_t>(h + std::max<uint8_t>(sizes, 3));
  const auto paddedNeed = static_cast<uint8_t>(h + 3);
  uint8_t need = t0 <= 9 ? typedNeed : kNoHeader;
  need = (t1 | 1) == 11 ? kNoHeader : need;
  need = t0 == 0x80 ? paddedNeed : need;
  need = static_cast<uint8_t>(h - 6) <= 75 ? need : kNoHeader;
  return h == 0x80 ? 0 : need;
}

// b and need point at x; reads b[0..3] and need[1..4].
inline uint8_t RowidNeed(const uint8_t* b, const uint8_t* need) {
  const uint8_t n1 = need[1], n2 = need[2], n3 = need[3], n4 = need[4];
  uint8_t r = b[3] < 0x80 ? n4 : kNoHeader;
  r = b[2] < 0x80 ? n3 : r;
  r = b[1] < 0x80 ? n2 : r;
  return b[0] < 0x80 ? n1 : r;
}

// b, rowidNeed and need point at i; reads b[0..1], rowidNeed[1..2] and
// need[3..8].
inline bool MayStartCell(const uint8_t* b, const uint8_t* rowidNeed, const uint8_t* need) {
  const uint8_t p = b[0];
  const uint8_t r1 = rowidNeed[1], r2 = rowidNeed[2];
  const bool one = (static_cast<uint8_t>(p - 11) <= 116) & (r1 <= p);
  const bool two = (static_cast<uint8_t>(p - 0x81) <= 0x4D) & (b[1] < 0x80) & (r2 != kNoHeader);
  uint8_t least = need[3];
  for (int k = 4; k <= 8; ++k) least = std::min(least, need[k]);
  return one | two | ((p == 0x80) & (least != kNoHeader));
}

}  // namespace velkor::prefilter

namespace velkor::prefilter {

// Marks the offsets [0, m) that the vector code reaches within the look-ahead
// and returns m, a multiple of 64; the caller marks the rest. Only in builds
// with Highway.
uint32_t MarkVectorised(const uint8_t* window, uint32_t length, uint64_t* marks);

}  // namespace velkor::prefilter
