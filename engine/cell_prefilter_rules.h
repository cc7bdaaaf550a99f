// The rules of the cell prefilter, in two steps that are each a necessary
// condition of DetectCell, so an offset they rule out is one it rejects.
//
// Step 1, bit masks over 53 offsets at a time. Every byte falls into a few
// classes (ByteClasses, one bit per byte and class; the vector code sets a
// class for 16 to 64 bytes with a few instructions), and the varint forms a
// cell can start with are shifts and ands of those masks:
//
//   header at x   H one byte 6..81 (D = H - 1 in 5..80), then the first
//                 serial type; or H padded, 80 then a last byte, then the
//                 first type; or 80 80 (a longer padded H). The first type
//                 (< 10) starts 00..09 or 80.
//   rowid at x    R of 1 to 3 bytes, then a header; a 4-byte R is at most
//                 2^20 only as 80 xx xx yy, so its first byte is 80.
//   cell at i     P one byte 11..127, then a rowid and a header whose first
//                 five bytes are below 83 (see PossibleStarts); or P two bytes
//                 81..CE xx (128..10000), then a rowid; or P padded (80 ...)
//                 with a header 3 to 8 bytes on.
//
// Step 2, at each offset step 1 leaves that the walk arrives at: the varints
// P, R and H are read as they are, and the payload must hold the header,
// P > |P| + |R| + H, and H plus a lower bound of the header's column sizes
// (kHeaderByteSize). Step 2 alone bounds a padded H's second byte (07..52):
// 80 is rare enough that a class for it costs more than the offsets it would
// rule out. It is not run over the whole window: in a dense table nearly half
// the offsets step 1 leaves lie in the headers of cells found before them,
// which the walk steps over.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace velkor::prefilter {

// One bit per byte of 64 bytes, byte k at bit k.
struct ByteClasses {
  uint64_t last = 0;        // < 80: a varint's last byte
  uint64_t pad = 0;         // 80: a padded varint's leading byte
  uint64_t payloadOne = 0;  // 0B..7F
  uint64_t payloadTwo = 0;  // 81..CE
  uint64_t headerOne = 0;   // 06..51
  uint64_t firstType = 0;   // 00..09 or 80
  uint64_t smallSize = 0;   // 00..82: a header byte of a payload below 128
};

// The class bounds, shared by the plain and the vector classification.
struct ByteRange {
  uint8_t lo, hi;
};
inline constexpr ByteRange kLast{0, 0x7F};
inline constexpr ByteRange kPayloadOne{11, 127};
inline constexpr ByteRange kPayloadTwo{0x81, 0xCE};
inline constexpr ByteRange kHeaderOne{6, 81};
inline constexpr ByteRange kSmallType{0, 9};
inline constexpr ByteRange kSmallSize{0, 0x82};

// One compare, as the vector code does it: b - lo wraps when b < lo.
constexpr bool In(ByteRange r, uint8_t b) {
  return static_cast<uint8_t>(b - r.lo) <= static_cast<uint8_t>(r.hi - r.lo);
}

// Step 1 decides 53 offsets from the classes of the 64 bytes from the
// first: no rule reads more than 11 bytes on (a one-byte P, a rowid of
// four, a padded H and the four header bytes after its first type), so
// every shift stays within the word and blocks overlap by 11 bytes instead
// of carrying bits across.
inline constexpr uint32_t kBlockOffsets = 53;

// Bit k set where a cell may start at byte k of the block, k < 53.
inline uint64_t PossibleStarts(const ByteClasses& c) {
  const uint64_t plainHeader = c.headerOne & c.firstType >> 1;
  const uint64_t paddedHeader = c.pad & ((c.last >> 1 & c.firstType >> 2) | c.pad >> 1);
  const uint64_t header = plainHeader | paddedHeader;
  // Every form needs a header; most blocks of zeros, text or media have none.
  if (header == 0) return 0;
  // With P one byte, every header byte's kHeaderByteSize is at most
  // 127 - 6, which 83 and above exceed; the first type and the next four
  // (D >= 5) are 2 to 5 bytes after a one-byte H, 3 to 6 after a padded one.
  const uint64_t small2 = c.smallSize & c.smallSize >> 1;
  const uint64_t small4 = small2 & small2 >> 2;
  const uint64_t smallHeader = (plainHeader & small4 >> 2) | (paddedHeader & small4 >> 3);
  // A varint of L bytes and then h starts where L - 1 bytes continue and
  // the next one is last. Built up by L: after step L, bit i is set where
  // such a varint of at most L bytes starts at i; a four-byte one must open
  // with 80, and an 80 before a shorter one is a longer one already counted,
  // so the last step needs no exact count.
  const uint64_t more = ~c.last;
  const auto rowids = [&](uint64_t h) {
    const uint64_t one = c.last & h >> 1;
    const uint64_t upToThree = one | (more & (one | (more & one >> 1)) >> 1);
    return upToThree | (c.pad & upToThree >> 1);
  };
  const uint64_t rowid = rowids(header);
  // A header 3 to 8 bytes on: six shifts of header or-ed in three steps.
  const uint64_t two = header | header >> 1;
  const uint64_t six = two | two >> 2 | two >> 4;
  const uint64_t starts = (c.payloadOne & rowids(smallHeader) >> 1) |
                          (c.payloadTwo & c.last >> 1 & rowid >> 2) | (c.pad & six >> 3);
  return starts & ((uint64_t{1} << kBlockOffsets) - 1);
}

// A lower bound of the content size of the serial type a header byte
// belongs to, counted so that the bounds of a type's bytes add up to no more
// than its size. A byte below 80 is a one-byte type (its size exactly) or a
// longer type's last byte; a byte 80 + v opens or continues a longer type,
// counted as 64v - 14. For a two-byte type (80 + v) yy of size
// (128v + yy - 12) / 2 that leaves room for yy's own bound (at most 8 when
// yy < 12, else (yy - 12) / 2); a type of three or four bytes opening with
// v >= 1 has size >= 8192v - 6, more than all its bytes' bounds; one opening
// with 80 counts 0 for it.
inline constexpr std::array<uint16_t, 256> kHeaderByteSize = [] {
  std::array<uint16_t, 256> size{};
  constexpr uint8_t kSmall[12] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, 0, 0};
  for (int b = 0; b < 256; ++b) {
    const int v = b & 0x7F;
    size[b] = static_cast<uint16_t>(b < 12     ? kSmall[b]
                                    : b < 0x80 ? (b - 12) / 2
                                               : std::max(0, 64 * v - 14));
  }
  return size;
}();

// A varint of 1 to 4 bytes read without branches: its value and length, or
// length 0 when the first four bytes all continue.
struct QuickVarint {
  uint32_t value;
  uint32_t length;
};

inline QuickVarint ReadQuickVarint(const uint8_t* b) {
  const uint32_t c0 = b[0] >> 7, c1 = c0 & (b[1] >> 7), c2 = c1 & (b[2] >> 7),
                 c3 = c2 & (b[3] >> 7);
  const uint32_t length = (1 + c0 + c1 + c2) & (c3 - 1);
  uint32_t value = b[0] & 0x7Fu;
  value = c0 ? (value << 7) | (b[1] & 0x7Fu) : value;
  value = c1 ? (value << 7) | (b[2] & 0x7Fu) : value;
  value = c2 ? (value << 7) | (b[3] & 0x7Fu) : value;
  return {value, length};
}

// Step 2 at b, an offset step 1 leaves. Reads up to 100 bytes on: the lead
// (at most 12 bytes) and the header's bytes in whole steps of eight. Without
// branches up to the first eight header bytes, which rule out most random
// offsets, so that a mispredicted outcome costs one branch.
inline bool PayloadHoldsHeader(const uint8_t* b) {
  const QuickVarint p = ReadQuickVarint(b);
  const QuickVarint r = ReadQuickVarint(b + p.length);
  const QuickVarint h = ReadQuickVarint(b + p.length + r.length);
  const bool lead = (p.length != 0) & (r.length != 0) & (h.length != 0) &
                    (p.value > p.length + r.length + h.value) & (h.value >= h.length + 5) &
                    (h.value <= h.length + 80);
  const uint32_t serialBytes = std::min<uint32_t>(h.value - h.length, 80);
  const uint8_t* types = b + p.length + r.length + h.length;
  uint32_t total = h.value;
  for (uint32_t k = 0; k < 8; ++k)
    total += kHeaderByteSize[types[k]] & (k < serialBytes ? 0xFFFFu : 0u);
  for (uint32_t k = 8; k < serialBytes && total <= p.value; k += 8) {
    for (uint32_t j = k; j < k + 8; ++j) {
      total += kHeaderByteSize[types[j]] & (j < serialBytes ? 0xFFFFu : 0u);
    }
  }
  return lead & (total <= p.value);
}

// Marks offsets [0, length) of window in marks by step 1 (see
// MarkPossibleCellStarts), with classify(bytes) giving the ByteClasses of
// bytes[0, 64). Inline, so that the vector code compiles it for each of its
// instruction sets. Reads up to 127 bytes past length (the block of the last
// offset).
template <class Classify>
void MarkBlocks(const uint8_t* window, uint32_t length, uint64_t* marks, Classify classify) {
  uint64_t pending = 0;  // marks of the offsets from 64 * word on
  uint32_t word = 0;
  uint32_t filled = 0;  // bits of pending set so far
  for (uint32_t start = 0; start < length; start += kBlockOffsets) {
    uint64_t possible = PossibleStarts(classify(window + start));
    if (length - start < kBlockOffsets) possible &= (uint64_t{1} << (length - start)) - 1;
    pending |= possible << filled;
    filled += kBlockOffsets;
    if (filled >= 64) {
      marks[word++] = pending;
      filled -= 64;
      pending = filled != 0 ? possible >> (kBlockOffsets - filled) : 0;
    }
  }
  if (word * 64 < length) marks[word] = pending;
}

}  // namespace velkor::prefilter

namespace velkor::prefilter {

// Marks with the widest vector instructions the processor has; false on a
// target without a fitting vector width. Only in builds with Highway.
bool MarkVectorised(const uint8_t* window, uint32_t length, uint64_t* marks);

}  // namespace velkor::prefilter
