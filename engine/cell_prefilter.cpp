#include "engine/cell_prefilter.h"

#include <bit>
#include <cstring>

#include "engine/cell_prefilter_rules.h"

// A build without Highway (the MinGW cross build) still has SSE2 on x86-64:
// its byte compares and movemask set a class for 16 bytes in a few
// instructions, where the plain loop takes dozens.
#if !defined(VELKOR_HIGHWAY) && defined(__SSE2__)
#define VELKOR_SSE2_CLASSES 1
#include <emmintrin.h>
#endif

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
        (In(prefilter::kSmallType, v) | (v == 0x80)) << 5 | In(prefilter::kSmallSize, v) << 6);
  }
  ByteClasses c;
  c.last = PackClass(classBytes, 0);
  c.pad = PackClass(classBytes, 1);
  c.payloadOne = PackClass(classBytes, 2);
  c.payloadTwo = PackClass(classBytes, 3);
  c.headerOne = PackClass(classBytes, 4);
  c.firstType = PackClass(classBytes, 5);
  c.smallSize = PackClass(classBytes, 6);
  return c;
}

#ifdef VELKOR_SSE2_CLASSES
ByteClasses ClassifySse2(const uint8_t* b) {
  ByteClasses c;
  const auto in = [](__m128i v, prefilter::ByteRange r) {
    const __m128i moved = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>(r.lo)));
    const __m128i most = _mm_set1_epi8(static_cast<char>(r.hi - r.lo));
    return _mm_cmpeq_epi8(_mm_min_epu8(moved, most), moved);
  };
  const auto add = [](uint64_t& word, __m128i m, int quarter) {
    word |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(m))} << (16 * quarter);
  };
  for (int q = 0; q < 4; ++q) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * q));
    const __m128i pad = _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(0x80)));
    add(c.last, in(v, prefilter::kLast), q);
    add(c.pad, pad, q);
    add(c.payloadOne, in(v, prefilter::kPayloadOne), q);
    add(c.payloadTwo, in(v, prefilter::kPayloadTwo), q);
    add(c.headerOne, in(v, prefilter::kHeaderOne), q);
    add(c.firstType, _mm_or_si128(in(v, prefilter::kSmallType), pad), q);
    add(c.smallSize, in(v, prefilter::kSmallSize), q);
  }
  return c;
}
#endif

}  // namespace

void MarkPossibleCellStarts(const uint8_t* window, uint32_t length, uint64_t* marks) {
#ifdef VELKOR_HIGHWAY
  if (prefilter::MarkVectorised(window, length, marks)) return;
#endif
#ifdef VELKOR_SSE2_CLASSES
  prefilter::MarkBlocks(window, length, marks, ClassifySse2);
#else
  MarkPossibleCellStartsPlain(window, length, marks);
#endif
}

void MarkPossibleCellStartsPlain(const uint8_t* window, uint32_t length, uint64_t* marks) {
  prefilter::MarkBlocks(window, length, marks, ClassifyPlain);
}

}  // namespace velkor
