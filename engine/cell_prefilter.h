// A cheap necessary condition for a leaf cell start, tested for a whole
// window at once so that the full cell test runs only where it can succeed.
// The rules are in engine/cell_prefilter_rules.h.
#pragma once

#include <cstdint>

namespace velkor {

// Bytes the prefilter reads past the end of the marked range: the block of
// 64 after the last one, or the header bytes of a marked offset near the
// end.
inline constexpr uint32_t kPrefilterLookAhead = 128;
// Offsets are marked one bit each, offset i at bit i % 64 of word i / 64.
inline constexpr uint32_t PrefilterWords(uint32_t length) {
  return (length + 63) / 64;
}

// Sets the bit of every offset i < length where a cell may start and clears
// it where DetectCell is certain to reject (step 1 of the rules); at a
// marked offset, prefilter::PayloadHoldsHeader (step 2) and then DetectCell
// decide. window must have kPrefilterLookAhead readable bytes after
// length (the scan slack); marks holds PrefilterWords(length) words, and its
// bits from length on are cleared. Sorts the bytes into classes with the
// widest vector instructions the processor has when the build has Highway,
// with a plain loop otherwise.
void MarkPossibleCellStarts(const uint8_t* window, uint32_t length, uint64_t* marks);

// The same with the plain classification only: the reference the vector
// code must match bit for bit.
void MarkPossibleCellStartsPlain(const uint8_t* window, uint32_t length, uint64_t* marks);

}  // namespace velkor
