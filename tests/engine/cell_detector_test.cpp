// Varint reading and the leaf-cell test, with their bounds side by side.
#include "engine/cell_detector.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "engine/scan_input.h"
#include "tests/support/cell_bytes.h"

namespace velkor {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int32_t kWhole = INT32_MIN;

// Runs DetectCell on bytes padded with the slack the window always has; the
// first `available` of them count as scanned.
bool Detect(Bytes bytes, int32_t available) {
  const int32_t n = available == kWhole ? static_cast<int32_t>(bytes.size()) : available;
  bytes.resize(bytes.size() + kWindowSlack, 0);
  CellCandidate candidate;
  return DetectCell(bytes.data(), n, candidate);
}

Bytes HelloWith(size_t at, uint8_t value) {
  Bytes cell = kHelloCell;
  cell[at] = value;
  return cell;
}

// Ends with the two-byte serial type 81 00 (a 58-byte blob): only H = 7 ends
// the header where the types end.
Bytes BlobCellWithHeader(uint8_t h) {
  const uint8_t lead[] = {static_cast<uint8_t>(h + 4 + 58), 0x01, h, 1, 1, 1, 1, 0x81, 0x00};
  Bytes cell(80, 0x41);
  std::copy(std::begin(lead), std::end(lead), cell.begin());
  return cell;
}

// Padded lead bytes before the serial types and body of kHelloCell.
Bytes AfterLead(Bytes lead) {
  lead.insert(lead.end(), kHelloCell.begin() + 3, kHelloCell.end());
  return lead;
}

// Each case differs from an accepted cell in one bound or rule only.
TEST(DetectCell, BoundsAndSerialTypeRules) {
  const struct {
    const char* rule;
    Bytes cell;
    bool accepted;
    int32_t available = kWhole;
  } cases[] = {
      {"P 10", CellWithPayload(10), false},
      {"P 11", CellWithPayload(11), true},
      {"P 10000", CellWithPayload(10000), true},
      {"P 10001", CellWithPayload(10001), false},
      {"P 16 above the 15 the columns take", HelloWith(0, 0x10), false},
      {"columns take 16, above P 15", HelloWith(7, 0x19), false},
      {"P not above |P|+|R|+H", CellWithTypes({0, 0, 0, 0, 13}), false},
      {"P just above", CellWithTypes({0, 0, 0, 0, 23}), true},
      {"R 0", CellWithRowid(0), true},
      {"R 1048576", CellWithRowid(1048576), true},
      {"R 1048577", CellWithRowid(1048577), false},
      {"4 serial bytes", CellOfIntegers(4), false},
      {"5 serial bytes", CellOfIntegers(5), true},
      {"80 serial bytes", CellOfIntegers(80), true},
      {"81 serial bytes", CellOfIntegers(81), false},
      {"types end at H", BlobCellWithHeader(7), true},
      {"types overrun H", BlobCellWithHeader(6), false},
      // P and R in 4 bytes each: with H in 2 bytes S = 10, with H in 4 S = 12.
      {"10 lead bytes", AfterLead({0x80, 0x80, 0x80, 0x10, 0x80, 0x80, 0x80, 0x01, 0x80, 0x07}),
       true},
      {"12 lead bytes",
       AfterLead({0x80, 0x80, 0x80, 0x12, 0x80, 0x80, 0x80, 0x01, 0x80, 0x80, 0x80, 0x09}), false},
      {"first type 9", CellWithTypes({9, 1, 1, 1, 23}), true},
      {"first type 10", CellWithTypes({10, 1, 1, 1, 23}), false},
      {"first type a blob", CellWithTypes({12, 1, 1, 1, 23}), false},
      {"reserved 10 later", CellWithTypes({1, 10, 1, 1, 23}), false},
      {"reserved 11 later", CellWithTypes({1, 11, 1, 1, 23}), false},
      {"empty blob later", CellWithTypes({1, 12, 1, 1, 23}), true},
      // The last serial type must start inside the scanned part; its body need not.
      {"header ends at the scan end", kHelloCell, true, 8},
      {"header ends past the scan end", kHelloCell, false, 7},
      {"nothing scanned", kHelloCell, false, 0},
      {"negative scan length", kHelloCell, false, -5}};
  for (const auto& c : cases) EXPECT_EQ(Detect(c.cell, c.available), c.accepted) << c.rule;
}

}  // namespace
}  // namespace velkor
