// The prefilter with the byte classes of engine/cell_prefilter_rules.h set
// 16 to 64 bytes per vector, compiled once per instruction set Highway knows (SSE4, AVX2,
// AVX-512, NEON, ...) and chosen at run time by what the processor has.
#include <bit>
#include <cstddef>

#include "engine/cell_prefilter_rules.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/cell_prefilter_simd.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

static_assert(std::endian::native == std::endian::little,
              "mask bytes are stored straight into the words of the classes");

HWY_BEFORE_NAMESPACE();
namespace velkor::prefilter::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// At most 64 lanes, so that a block is a whole number of vectors.
using D = hn::CappedTag<uint8_t, 64>;
using V = hn::Vec<D>;
using M = hn::Mask<D>;

using DI = hn::Repartition<int8_t, D>;

// r.lo <= x <= r.hi as one signed compare: adding 80 - r.lo moves r.lo to
// -128, and the bytes of the range are then exactly those below
// -128 + (r.hi - r.lo) + 1. The ranges that start at 0 share the addition.
HWY_INLINE M InRange(D d, V x, ByteRange r) {
  const DI di;
  const auto moved = hn::BitCast(di, hn::Add(x, hn::Set(d, static_cast<uint8_t>(0x80 - r.lo))));
  return hn::RebindMask(d, hn::Lt(moved, hn::Set(di, static_cast<int8_t>(r.hi - r.lo - 127))));
}

HWY_INLINE void Store(D d, M m, uint64_t& word, size_t lane) {
  hn::StoreMaskBits(d, m, reinterpret_cast<uint8_t*>(&word) + lane / 8);
}

// The classes of 64 bytes, a vector of up to 64 lanes at a time.
struct Classify {
  D d;
  ByteClasses operator()(const uint8_t* bytes) const {
    const V pad = hn::Set(d, 0x80);
    ByteClasses c;
    // Without a header's first byte (06..51 or 80) no offset can start a
    // cell, and empty classes say so: zeros and most text and media.
    for (size_t lane = 0; lane < 64; lane += hn::Lanes(d)) {
      const V v = hn::LoadU(d, bytes + lane);
      Store(d, InRange(d, v, kHeaderOne), c.headerOne, lane);
      Store(d, hn::Eq(v, pad), c.pad, lane);
    }
    if ((c.headerOne | c.pad) == 0) return c;
    for (size_t lane = 0; lane < 64; lane += hn::Lanes(d)) {
      const V v = hn::LoadU(d, bytes + lane);
      Store(d, InRange(d, v, kLast), c.last, lane);
      Store(d, InRange(d, v, kPayloadOne), c.payloadOne, lane);
      Store(d, InRange(d, v, kPayloadTwo), c.payloadTwo, lane);
      Store(d, hn::Or(InRange(d, v, kSmallType), hn::Eq(v, pad)), c.firstType, lane);
      Store(d, InRange(d, v, kSmallSize), c.smallSize, lane);
    }
    return c;
  }
};

// Flattened: MarkBlocks, compiled for the baseline, inlines the classes
// only once it is itself inlined here, in this instruction set's code.
__attribute__((flatten)) bool MarkOn(const uint8_t* window, uint32_t length, uint64_t* marks) {
  const D d;
  const size_t lanes = hn::Lanes(d);
  if (lanes % 8 != 0 || 64 % lanes != 0) return false;
  MarkBlocks(window, length, marks, Classify{d});
  return true;
}

}  // namespace velkor::prefilter::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace velkor::prefilter {

HWY_EXPORT(MarkOn);

bool MarkVectorised(const uint8_t* window, uint32_t length, uint64_t* marks) {
  return HWY_DYNAMIC_DISPATCH(MarkOn)(window, length, marks);
}

}  // namespace velkor::prefilter
#endif
