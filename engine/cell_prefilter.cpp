#include "engine/cell_prefilter.h"

#include <algorithm>
#include <cstring>

#include "engine/vector_clones.h"

namespace velkor {
namespace {

constexpr uint32_t kChunk = kPrefilterChunk;

// Which first bytes the varints of an acceptable cell can have:
//
//   P (payload, 11..10000)  one byte 11..127, or two bytes starting 81..CE
//                           (value <= 10000), or a padded form starting 80
//   R (rowid, <= 2^20)      any 1 to 4 bytes; its length follows from the
//                           continuation bits, so H's position is known
//   H (header, D in 5..80)  one byte 6..81, or a padded form starting 80
//   first serial type < 10  one byte 0..9, or a padded form starting 80
//
// plausibleHeader[x]: a record header can start at x (H and the first
// serial type fit). afterRowid[x]: a rowid varint starting at x is followed
// by a plausible header. Each array is filled by a plain loop over bytes
// that the compiler turns into vector code; target_clones picks AVX2 at run
// time where the processor has it.
VELKOR_AVX2_CLONES bool MarkChunk(
    const uint8_t* __restrict__ b, size_t n, uint8_t* __restrict__ plausibleHeader,
    uint8_t* __restrict__ afterRowid, uint8_t* __restrict__ flags) {
  uint8_t anyHeader = 0;
  for (size_t x = 0; x < n + 9; ++x) {
    const uint8_t h = b[x];
    const uint8_t t = b[x + 1];
    const uint8_t oneByteH = static_cast<uint8_t>(h - 6) <= 75;
    const uint8_t firstType = (t <= 9) | (t == 0x80);
    plausibleHeader[x] = static_cast<uint8_t>((oneByteH & firstType) | (h == 0x80));
    anyHeader |= plausibleHeader[x];
  }
  // Every cell start needs a plausible header within 8 bytes after it; a
  // chunk without one (zeros, text, most media) has no candidate at all.
  if (anyHeader == 0) {
    std::memset(flags, 0, n);
    return false;
  }
  for (size_t x = 0; x < n + 2; ++x) {
    const uint8_t c0 = b[x] >> 7;
    const uint8_t c1 = b[x + 1] >> 7;
    const uint8_t c2 = b[x + 2] >> 7;
    afterRowid[x] = static_cast<uint8_t>(
        ((c0 ^ 1) & plausibleHeader[x + 1]) | (c0 & (c1 ^ 1) & plausibleHeader[x + 2]) |
        (c0 & c1 & (c2 ^ 1) & plausibleHeader[x + 3]) | (c0 & c1 & c2 & plausibleHeader[x + 4]));
  }
  for (size_t i = 0; i < n; ++i) {
    const uint8_t p = b[i];
    const uint8_t oneByteP = (static_cast<uint8_t>(p - 11) <= 116) & afterRowid[i + 1];
    const uint8_t twoByteP =
        (static_cast<uint8_t>(p - 0x81) <= 0x4D) & (b[i + 1] < 0x80) & afterRowid[i + 2];
    const uint8_t padded =
        (p == 0x80) & (plausibleHeader[i + 2] | plausibleHeader[i + 3] | plausibleHeader[i + 4] |
                       plausibleHeader[i + 5] | plausibleHeader[i + 6] | plausibleHeader[i + 7] |
                       plausibleHeader[i + 8]);
    flags[i] = static_cast<uint8_t>(oneByteP | twoByteP | padded);
  }
  return true;
}

}  // namespace

void MarkPossibleCellStarts(const uint8_t* window, uint32_t length, uint8_t* flags,
                            uint8_t* chunkMarks) {
  uint8_t plausibleHeader[kChunk + kPrefilterLookAhead];
  uint8_t afterRowid[kChunk + kPrefilterLookAhead];
  for (uint32_t start = 0; start < length; start += kChunk) {
    const uint32_t n = std::min(kChunk, length - start);
    chunkMarks[start / kChunk] =
        MarkChunk(window + start, n, plausibleHeader, afterRowid, flags + start);
  }
  std::memset(flags + length, 0, 8);
}

}  // namespace velkor
