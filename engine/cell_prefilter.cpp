#include "engine/cell_prefilter.h"

#include <algorithm>

#include "engine/cell_prefilter_rules.h"

namespace velkor {
namespace {

using prefilter::HeaderNeed;
using prefilter::MayStartCell;
using prefilter::RowidNeed;

constexpr uint32_t kBlock = 4096;

// Marks the offsets [from, to), from a multiple of 64. Each block computes
// its HeaderNeed and RowidNeed rows first, as far as the block's last offset
// reads them (RowidNeed up to n + 1, HeaderNeed up to n + 7), then a byte per
// offset, then packs those into words.
void MarkRange(const uint8_t* window, uint32_t from, uint32_t to, uint64_t* marks) {
  uint8_t need[kBlock + 8];
  uint8_t rowidNeed[kBlock + 2];
  uint8_t may[kBlock];
  for (uint32_t start = from; start < to; start += kBlock) {
    const uint32_t n = std::min(kBlock, to - start);
    const uint8_t* b = window + start;
    for (uint32_t x = 0; x < n + 8; ++x) need[x] = HeaderNeed(b + x);
    for (uint32_t x = 0; x < n + 2; ++x) rowidNeed[x] = RowidNeed(b + x, need + x);
    for (uint32_t i = 0; i < n; ++i) may[i] = MayStartCell(b + i, rowidNeed + i, need + i);
    for (uint32_t w = 0; w * 64 < n; ++w) {
      uint64_t word = 0;
      for (uint32_t k = 0; k < 64 && w * 64 + k < n; ++k) word |= uint64_t{may[w * 64 + k]} << k;
      marks[(start + w * 64) / 64] = word;
    }
  }
}

void ClearPastEnd(uint32_t length, uint64_t* marks) {
  if (length % 64 != 0) marks[length / 64] &= (uint64_t{1} << (length % 64)) - 1;
}

}  // namespace

void MarkPossibleCellStartsPlain(const uint8_t* window, uint32_t length, uint64_t* marks) {
  MarkRange(window, 0, length, marks);
  ClearPastEnd(length, marks);
}

void MarkPossibleCellStarts(const uint8_t* window, uint32_t length, uint64_t* marks) {
#ifdef VELKOR_HIGHWAY
  const uint32_t done = prefilter::MarkVectorised(window, length, marks);
#else
  const uint32_t done = 0;
#endif
  MarkRange(window, done, length, marks);
  ClearPastEnd(length, marks);
}

}  // namespace velkor
