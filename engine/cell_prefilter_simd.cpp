// The prefilter rules of engine/cell_prefilter_rules.h, 16 to 64 offsets at a
// time, compiled once per instruction set Highway knows (SSE4, AVX2, AVX-512,
// NEON, ...) and chosen at run time by what the processor has.
#include <algorithm>
#include <bit>
#include <cstddef>

#include "engine/cell_prefilter.h"
#include "engine/cell_prefilter_rules.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/cell_prefilter_simd.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

static_assert(std::endian::native == std::endian::little,
              "mask bytes are stored straight into the words of marks");

HWY_BEFORE_NAMESPACE();
namespace velkor::prefilter::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<uint8_t>;
using V = hn::Vec<D>;
using M = hn::Mask<D>;
using DI = hn::RebindToSigned<D>;

constexpr size_t kBlock = 2048;
constexpr size_t kMaxLanes = 256;

// lo <= x <= hi, as one add and one signed compare: the add moves lo to -128.
HWY_INLINE M InRange(D d, V x, uint8_t lo, uint8_t hi) {
  const DI di;
  const V moved = hn::Add(x, hn::Set(d, static_cast<uint8_t>(128 - lo)));
  return hn::RebindMask(
      d, hn::Lt(hn::BitCast(di, moved), hn::Set(di, static_cast<int8_t>(hi - lo - 127))));
}

// x < 0x80: a varint's last byte.
HWY_INLINE M LastByte(D d, V x) {
  const DI di;
  return hn::RebindMask(d, hn::Gt(hn::BitCast(di, x), hn::Set(di, -1)));
}

// HeaderNeed of the positions b[0..N).
HWY_INLINE V HeaderNeeds(D d, const uint8_t* b, V sizeTable) {
  const V h = hn::LoadU(d, b);
  const V t0 = hn::LoadU(d, b + 1);
  const V t1 = hn::LoadU(d, b + 2);
  const V k80 = hn::Set(d, 0x80);
  const V none = hn::Set(d, kNoHeader);
  const V low4 = hn::Set(d, 15);
  const V s0 = hn::TableLookupBytes(sizeTable, hn::And(t0, low4));
  V s1 = hn::IfThenElse(InRange(d, t1, 0, 15), hn::TableLookupBytes(sizeTable, hn::And(t1, low4)),
                        hn::ShiftRight<1>(hn::SaturatedSub(t1, hn::Set(d, 12))));
  s1 = hn::IfThenElse(LastByte(d, t1), s1,
                      hn::IfThenElseZero(InRange(d, t1, 0x81, 0xFF), hn::Set(d, kLongTypeSize)));
  const auto t0Small = InRange(d, t0, 0, 9);
  const auto t1Reserved = hn::Eq(hn::Or(t1, hn::Set(d, 1)), hn::Set(d, 11));
  V need = hn::IfThenElse(hn::AndNot(t1Reserved, t0Small),
                          hn::Add(h, hn::Max(hn::Add(s0, s1), hn::Set(d, 3))), none);
  need = hn::IfThenElse(hn::Eq(t0, k80), hn::Add(h, hn::Set(d, 3)), need);
  need = hn::IfThenElse(InRange(d, h, 6, 81), need, none);
  return hn::IfThenElseZero(hn::Ne(h, k80), need);
}

// RowidNeed of the positions b[0..N); need is at b's position.
HWY_INLINE V RowidNeeds(D d, const uint8_t* b, const uint8_t* need) {
  V r = hn::IfThenElse(LastByte(d, hn::LoadU(d, b + 3)), hn::LoadU(d, need + 4),
                       hn::Set(d, kNoHeader));
  r = hn::IfThenElse(LastByte(d, hn::LoadU(d, b + 2)), hn::LoadU(d, need + 3), r);
  r = hn::IfThenElse(LastByte(d, hn::LoadU(d, b + 1)), hn::LoadU(d, need + 2), r);
  return hn::IfThenElse(LastByte(d, hn::LoadU(d, b)), hn::LoadU(d, need + 1), r);
}

// MayStartCell of the positions b[0..N).
HWY_INLINE hn::Mask<D> MayStartCells(D d, const uint8_t* b, const uint8_t* rowidNeed,
                                     const uint8_t* need) {
  const V p = hn::LoadU(d, b);
  const V k80 = hn::Set(d, 0x80);
  const V none = hn::Set(d, kNoHeader);
  const V afterOneByte = hn::LoadU(d, rowidNeed + 1);
  const auto one = hn::And(InRange(d, p, 11, 127), hn::Eq(hn::Min(afterOneByte, p), afterOneByte));
  const auto two = hn::And(hn::And(InRange(d, p, 0x81, 0xCE), LastByte(d, hn::LoadU(d, b + 1))),
                           hn::Ne(hn::LoadU(d, rowidNeed + 2), none));
  V least = hn::LoadU(d, need + 3);
  for (size_t k = 4; k <= 8; ++k) least = hn::Min(least, hn::LoadU(d, need + k));
  const auto padded = hn::And(hn::Eq(p, k80), hn::Ne(least, none));
  return hn::Or(hn::Or(one, two), padded);
}

// Blocks of up to kBlock offsets, each in three steps over rows that stay in
// the first-level cache: HeaderNeed over n + 2N positions, RowidNeed over
// n + N, then the marks of the n offsets. A block reads the window up to
// n + 2N + 1, so blocks stop where that would pass the look-ahead.
uint32_t MarkVectorisedOn(const uint8_t* window, uint32_t length, uint64_t* marks) {
  const D d;
  const size_t lanes = hn::Lanes(d);
  if (lanes < 8 || lanes > kMaxLanes) return 0;
  HWY_ALIGN uint8_t need[kBlock + 2 * kMaxLanes];
  HWY_ALIGN uint8_t rowidNeed[kBlock + kMaxLanes];
  HWY_ALIGN static constexpr uint8_t kTable[16] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, 0, 0, 0, 0, 1, 1};
  const V sizeTable = hn::LoadDup128(d, kTable);
  auto* markBytes = reinterpret_cast<uint8_t*>(marks);
  const size_t readable = size_t{length} + kPrefilterLookAhead;
  size_t start = 0;
  const size_t step = std::max<size_t>(lanes, 64);
  while (start + step + 2 * lanes + 2 <= readable && start + step <= length) {
    size_t n = std::min({kBlock, length - start, readable - start - 2 * lanes - 2});
    n -= n % step;
    const uint8_t* b = window + start;
    auto any = hn::FirstN(d, 0);
    for (size_t x = 0; x < n + 2 * lanes; x += lanes) {
      const V v = HeaderNeeds(d, b + x, sizeTable);
      any = hn::Or(any, hn::Ne(v, hn::Set(d, kNoHeader)));
      hn::Store(v, d, need + x);
    }
    if (hn::AllFalse(d, any)) {
      std::fill(markBytes + start / 8, markBytes + (start + n) / 8, uint8_t{0});
    } else {
      for (size_t x = 0; x < n + lanes; x += lanes) {
        hn::Store(RowidNeeds(d, b + x, need + x), d, rowidNeed + x);
      }
      for (size_t i = 0; i < n; i += lanes) {
        hn::StoreMaskBits(d, MayStartCells(d, b + i, rowidNeed + i, need + i),
                          markBytes + (start + i) / 8);
      }
    }
    start += n;
  }
  return static_cast<uint32_t>(start);
}

}  // namespace velkor::prefilter::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace velkor::prefilter {

HWY_EXPORT(MarkVectorisedOn);

uint32_t MarkVectorised(const uint8_t* window, uint32_t length, uint64_t* marks) {
  return HWY_DYNAMIC_DISPATCH(MarkVectorisedOn)(window, length, marks);
}

}  // namespace velkor::prefilter
#endif
