#include "engine/cell_prefilter.h"

#include <bit>
#include <cstring>

#include "engine/cell_prefilter_rules.h"

namespace velkor {
namespace {

using prefilter::ByteClasses;
using prefilter::In;

static_assert(std::endian::native == std::endian::little,
              "eight class bytes are read as one word, the first in its low byte");

// The mask of one class bit over 64 class bytes. In the product, byte k of
// eight times 0x80 >> j lands at bit 8(k + j) + 7 - j; the terms with
// k + j = 7 fill the top byte, byte k's bit at bit 56 + k, and no two terms
// share a bit, so nothing carries into it.
uint64_t PackClass(const uint8_t* classBytes, int bit) {
  uint64_t word = 0;
  for (int j = 0; j < 8; ++j) {
    uint64_t eight;
    std::memcpy(&eight, classBytes + 8 * j, 8);
    const uint64_t ones = (eight >> bit) & 0x0101010101010101;
    word |= ((ones * 0x0102040810204080) >> 56) << (8 * j);
  }
  return word;
}

// One byte of class bits per byte (bit j for the j-th class of
// ByteClasses), then a mask per class.
ByteClasses ClassifyPlain(const uint8_t* b) {
  uint8_t classBytes[64];
  for (int x = 0; x < 64; ++x) {
    const uint8_t v = b[x];
    classBytes[x] = static_cast<uint8_t>(
        In(prefilter::kLast, v) | (v == 0x80) << 1 | In(prefilter::kPayloadOne, v) << 2 |
        In(prefilter::kPayloadTwo, v) << 3 | In(prefilter::kHeaderOne, v) << 4 |
        In(prefilter::kHeaderPadded, v) << 5 | (In(prefilter::kSmallType, v) | (v == 0x80)) << 6 |
        In(prefilter::kSmallSize, v) << 7);
  }
  ByteClasses c;
  uint64_t* fields[] = {&c.last,      &c.pad,          &c.payloadOne, &c.payloadTwo,
                        &c.headerOne, &c.headerPadded, &c.firstType,  &c.smallSize};
  for (int bit = 0; bit < 8; ++bit) *fields[bit] = PackClass(classBytes, bit);
  return c;
}

}  // namespace

void MarkPossibleCellStarts(const uint8_t* window, uint32_t length, uint64_t* marks) {
#ifdef VELKOR_HIGHWAY
  if (prefilter::MarkVectorised(window, length, marks)) return;
#endif
  MarkPossibleCellStartsPlain(window, length, marks);
}

void MarkPossibleCellStartsPlain(const uint8_t* window, uint32_t length, uint64_t* marks) {
  prefilter::MarkBlocks(window, length, marks, ClassifyPlain);
}

}  // namespace velkor
