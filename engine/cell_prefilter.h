// A cheap necessary condition for a leaf cell start, tested for a whole
// window at once so that the full cell test runs only where it can succeed.
#pragma once

#include <cstdint>

namespace velkor {

// Bytes the prefilter reads past the end of the marked range.
inline constexpr uint32_t kPrefilterLookAhead = 16;
// The prefilter works in chunks of this many offsets and says for each chunk
// whether it flagged anything, so that a walk can step over empty chunks.
inline constexpr uint32_t kPrefilterChunk = 16384;
inline constexpr uint32_t PrefilterChunks(uint32_t length) {
  return (length + kPrefilterChunk - 1) / kPrefilterChunk;
}

// Sets flags[i] to 1 for every i < length where a cell may start and to 0
// where DetectCell is certain to reject; DetectCell still decides for the
// flagged positions. window must have kPrefilterLookAhead readable bytes
// after length (the scan slack); flags must hold length + 8 bytes, and the 8
// after length are set to 0 so that a word-wise search for the next flag
// stops there. chunkMarks[c] (PrefilterChunks(length) entries) is 0 when
// chunk c has no flag set.
void MarkPossibleCellStarts(const uint8_t* window, uint32_t length, uint8_t* flags,
                            uint8_t* chunkMarks);

}  // namespace velkor
