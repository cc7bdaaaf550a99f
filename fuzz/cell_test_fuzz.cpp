// The leaf-cell test at every offset of the input, with both steps of the
// prefilter that the fast walk trusts to skip offsets: neither may rule out
// a position the full test accepts.
#include <vector>

#include "engine/cell_detector.h"
#include "engine/cell_prefilter.h"
#include "engine/cell_prefilter_rules.h"
#include "engine/scan_input.h"
#include "fuzz/fuzz_support.h"

using namespace velkor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kWindowSize) return 0;
  const auto length = static_cast<uint32_t>(size);
  // Each reader gets exactly the slack it claims to need (zeros, as after a
  // last window), so that any read beyond it is an out-of-bounds read.
  std::vector<uint8_t> prefilterWindow(data, data + size);
  prefilterWindow.resize(size + kPrefilterLookAhead, 0);
  std::vector<uint64_t> marks(PrefilterWords(length), ~uint64_t{0});
  MarkPossibleCellStarts(prefilterWindow.data(), length, marks.data());
  if (length % 64 != 0) FUZZ_CHECK(marks.back() >> (length % 64) == 0);

  std::vector<uint8_t> window(data, data + size);
  window.resize(size + 3, 0);
  CellCandidate cell;
  for (uint32_t pos = 0; pos < length; ++pos) {
    const auto available = static_cast<int32_t>(length - pos);
    if (!DetectCell(window.data() + pos, available, cell)) continue;
    FUZZ_CHECK((marks[pos / 64] >> (pos % 64)) & 1);
    FUZZ_CHECK(prefilter::PayloadHoldsHeader(prefilterWindow.data() + pos));
    // Its lead, column count and serial types are within the limits, and its
    // header and payload lengths are what its types add up to.
    const int32_t lead = cell.payloadLength.length + cell.rowid.length + cell.headerLength.length;
    FUZZ_CHECK(lead <= kMaxLeadBytes && lead < available && cell.rowid.value <= kMaxRowid);
    FUZZ_CHECK(cell.payloadLength.value >= kMinPayload && cell.payloadLength.value <= kMaxPayload);
    const auto count = static_cast<int32_t>(cell.serialTypes.size());
    FUZZ_CHECK(count >= kMinColumns && count <= kMaxColumns && cell.serialTypes[0].value < 10);
    uint64_t headerBytes = static_cast<uint64_t>(cell.headerLength.length);
    uint64_t total = cell.headerLength.value;
    for (const Varint& type : cell.serialTypes) {
      FUZZ_CHECK(type.value != 10 && type.value != 11);
      headerBytes += static_cast<uint64_t>(type.length);
      total += SerialTypeContentSize(type.value);
    }
    FUZZ_CHECK(headerBytes == cell.headerLength.value && total == cell.payloadLength.value);
  }
  return 0;
}
