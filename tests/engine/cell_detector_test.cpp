// Varint reading and the leaf-cell test, with their bounds side by side.
#include "engine/cell_detector.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "engine/scan_input.h"
#include "tests/support/cell_bytes.h"

namespace velkor {
namespace {

// Runs DetectCell on bytes padded with the slack the window always has.
bool Detect(std::vector<uint8_t> bytes, CellCandidate* out = nullptr,
            int32_t available = INT32_MIN) {
  const int32_t n = available == INT32_MIN ? static_cast<int32_t>(bytes.size()) : available;
  bytes.resize(bytes.size() + kWindowSlack, 0);
  CellCandidate candidate;
  const bool accepted = DetectCell(bytes.data(), n, candidate);
  if (out != nullptr) *out = candidate;
  return accepted;
}

TEST(ReadVarint, WorkedExamples) {
  struct Case {
    std::vector<uint8_t> bytes;
    bool ok;
    uint64_t value;
    int32_t length;
  } cases[] = {
      {{0x7F, 0, 0, 0}, true, 127, 1},
      {{0x81, 0x00, 0, 0}, true, 128, 2},
      {{0xFF, 0xFF, 0xFF, 0x7F}, true, 268435455, 4},
      {{0x80, 0x80, 0x80, 0x80, 0x01}, false, 0, 0},
      {{0xFF, 0xFF, 0xFF, 0xFF, 0x00}, false, 0, 0},
      {{0x00, 0xFF, 0xFF, 0xFF}, true, 0, 1},
      {{0x81, 0x80, 0x00, 0xFF}, true, 16384, 3},
  };
  for (const Case& c : cases) {
    Varint v;
    EXPECT_EQ(ReadVarint(c.bytes.data(), v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v.value, c.value);
      EXPECT_EQ(v.length, c.length);
    }
  }
}

TEST(ReadVarint, EveryFirstByteAlone) {
  // A byte below 0x80 ends the varint at once with its own value; a byte with
  // the high bit set needs a continuation.
  for (int b = 0; b < 256; ++b) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(b), 0x05, 0, 0};
    Varint v;
    ASSERT_TRUE(ReadVarint(bytes, v));
    if (b < 0x80) {
      EXPECT_EQ(v.length, 1);
      EXPECT_EQ(v.value, static_cast<uint64_t>(b));
    } else {
      EXPECT_EQ(v.length, 2);
      EXPECT_EQ(v.value, static_cast<uint64_t>((b & 0x7F) << 7 | 0x05));
    }
  }
}

TEST(DetectCell, SeventeenByteCell) {
  CellCandidate c;
  ASSERT_TRUE(Detect(kHelloCell, &c));
  EXPECT_EQ(c.payloadLength.value, 15u);
  EXPECT_EQ(c.rowid.value, 1u);
  EXPECT_EQ(c.headerLength.value, 6u);
  ASSERT_EQ(c.serialTypes.size(), 5u);
  const uint64_t expected[] = {1, 1, 1, 1, 23};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(c.serialTypes[i].value, expected[i]);

  std::vector<uint8_t> tooLong = kHelloCell;
  tooLong[7] = 0x19;  // a 6-byte text: total 16 > P
  EXPECT_FALSE(Detect(tooLong));
  std::vector<uint8_t> tooShort = kHelloCell;
  tooShort[0] = 0x10;  // P = 16 > total 15
  EXPECT_FALSE(Detect(tooShort));
}

// Each case differs from an accepted cell in one bound or rule only.
TEST(DetectCell, BoundsAndSerialTypeRules) {
  const struct {
    const char* rule;
    std::vector<uint8_t> cell;
    bool accepted;
  } cases[] = {
      {"P 10", CellWithPayload(10), false},
      {"P 11", CellWithPayload(11), true},
      {"P 10000", CellWithPayload(10000), true},
      {"P 10001", CellWithPayload(10001), false},
      {"R 0", CellWithRowid(0), true},
      {"R 1048576", CellWithRowid(1048576), true},
      {"R 1048577", CellWithRowid(1048577), false},
      {"R 268435455", CellWithRowid(268435455), false},
      {"4 serial bytes", CellOfIntegers(4), false},
      {"5 serial bytes", CellOfIntegers(5), true},
      {"80 serial bytes", CellOfIntegers(80), true},
      {"81 serial bytes", CellOfIntegers(81), false},
      {"first type 9", CellWithTypes({9, 1, 1, 1, 23}), true},
      {"first type 10", CellWithTypes({10, 1, 1, 1, 23}), false},
      {"first type a blob", CellWithTypes({12, 1, 1, 1, 23}), false},
      {"first type a text", CellWithTypes({13, 1, 1, 1, 23}), false},
      {"reserved 10 later", CellWithTypes({1, 10, 1, 1, 23}), false},
      {"reserved 11 later", CellWithTypes({1, 11, 1, 1, 23}), false},
      {"empty blob later", CellWithTypes({1, 12, 1, 1, 23}), true},
      {"P not above |P|+|R|+H", CellWithTypes({0, 0, 0, 0, 13}), false},
      {"P just above", CellWithTypes({0, 0, 0, 0, 23}), true},
  };
  for (const auto& c : cases) EXPECT_EQ(Detect(c.cell), c.accepted) << c.rule;
}

// The serial types must end exactly where H says the header ends: here the
// last type is the two-byte varint 81 00 (a 58-byte blob).
TEST(DetectCell, SerialTypesEndWithTheHeader) {
  for (const uint8_t h : {uint8_t{6}, uint8_t{7}}) {
    std::vector<uint8_t> cell = {static_cast<uint8_t>(h + 4 + 58), 0x01, h, 1, 1, 1, 1, 0x81, 0x00};
    cell.resize(80, 0x41);
    EXPECT_EQ(Detect(cell), h == 7) << "H = " << int{h};
  }
}

TEST(DetectCell, LeadBytesAtMostTen) {
  // Padded varints with the same values: P and R in 4 bytes each. With H in
  // 2 bytes S = 10 and the cell stands; with H in 4 bytes S = 12.
  const std::vector<uint8_t> serialAndBody = {1, 1, 1, 1, 23, 1, 2, 3, 4, 'h', 'e', 'l', 'l', 'o'};
  std::vector<uint8_t> ten = {0x80, 0x80, 0x80, 0x10, 0x80, 0x80, 0x80, 0x01, 0x80, 0x07};
  ten.insert(ten.end(), serialAndBody.begin(), serialAndBody.end());
  EXPECT_TRUE(Detect(ten));
  std::vector<uint8_t> twelve = {0x80, 0x80, 0x80, 0x12, 0x80, 0x80,
                                 0x80, 0x01, 0x80, 0x80, 0x80, 0x09};
  twelve.insert(twelve.end(), serialAndBody.begin(), serialAndBody.end());
  EXPECT_FALSE(Detect(twelve));
}

TEST(DetectCell, AvailableBounds) {
  // The last serial type must start inside the scanned part; its body need
  // not.
  const int32_t headerEnd = 8;  // 3 lead bytes + 5 serial types
  EXPECT_TRUE(Detect(kHelloCell, nullptr, headerEnd));
  EXPECT_FALSE(Detect(kHelloCell, nullptr, headerEnd - 1));
  EXPECT_FALSE(Detect(kHelloCell, nullptr, 0));
  EXPECT_FALSE(Detect(kHelloCell, nullptr, -5));
}

}  // namespace
}  // namespace velkor
