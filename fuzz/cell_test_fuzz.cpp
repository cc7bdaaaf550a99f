// The varint reader and the leaf-cell test at every offset of the input, with
// the prefilter that the fast walk trusts to skip offsets: it must never rule
// out a position the full test accepts.
#include <cstdint>
#include <vector>

#include "engine/cell_detector.h"
#include "engine/cell_prefilter.h"
#include "engine/scan_input.h"
#include "engine/varint.h"
#include "fuzz/fuzz_support.h"

namespace velkor::fuzz {
namespace {

void CheckVarint(const uint8_t* bytes) {
  Varint varint;
  const bool ok = ReadVarint(bytes, varint);
  int32_t end = 0;
  while (end < 4 && (bytes[end] & 0x80) != 0) ++end;
  FUZZ_CHECK(ok == (end < 4));
  if (!ok) return;
  FUZZ_CHECK(varint.length == end + 1);
  FUZZ_CHECK(varint.value < (uint64_t{1} << (7 * varint.length)));
}

void CheckAcceptedCell(const CellCandidate& cell, int32_t available) {
  const int32_t lead = cell.payloadLength.length + cell.rowid.length + cell.headerLength.length;
  FUZZ_CHECK(lead <= kMaxLeadBytes && lead < available);
  FUZZ_CHECK(cell.payloadLength.value >= kMinPayload && cell.payloadLength.value <= kMaxPayload);
  FUZZ_CHECK(cell.rowid.value <= kMaxRowid);
  const auto count = static_cast<int32_t>(cell.serialTypes.size());
  FUZZ_CHECK(count >= kMinColumns && count <= kMaxColumns);
  FUZZ_CHECK(cell.serialTypes.front().value < 10);
  uint64_t headerBytes = 0;
  uint64_t total = cell.headerLength.value;
  for (const Varint& type : cell.serialTypes) {
    FUZZ_CHECK(type.value != 10 && type.value != 11);
    headerBytes += static_cast<uint64_t>(type.length);
    total += SerialTypeContentSize(type.value);
  }
  FUZZ_CHECK(headerBytes + static_cast<uint64_t>(cell.headerLength.length) ==
             cell.headerLength.value);
  FUZZ_CHECK(total == cell.payloadLength.value);
}

}  // namespace

int FuzzOne(const uint8_t* data, size_t size) {
  if (size > kWindowSize) return 0;
  const auto length = static_cast<uint32_t>(size);
  // Each reader gets exactly the slack it claims to need (zeros, as after a
  // last window), so that any read beyond it is an out-of-bounds read.
  std::vector<uint8_t> prefilterWindow(data, data + size);
  prefilterWindow.resize(size + kPrefilterLookAhead, 0);
  std::vector<uint8_t> flags(size + 8, 0xAA);
  std::vector<uint8_t> chunkMarks(PrefilterChunks(length), 0xAA);
  MarkPossibleCellStarts(prefilterWindow.data(), length, flags.data(), chunkMarks.data());
  for (size_t k = size; k < size + 8; ++k) FUZZ_CHECK(flags[k] == 0);

  std::vector<uint8_t> window(data, data + size);
  window.resize(size + 3, 0);

  CellCandidate candidate;
  for (uint32_t pos = 0; pos < length; ++pos) {
    CheckVarint(window.data() + pos);
    candidate.serialTypes.clear();
    const auto available = static_cast<int32_t>(length - pos);
    if (DetectCell(window.data() + pos, available, candidate)) {
      CheckAcceptedCell(candidate, available);
      FUZZ_CHECK(flags[pos] == 1);
    }
  }
  return 0;
}

}  // namespace velkor::fuzz
