// The deep scan's vector marks must pass every position the byte-by-byte
// test takes, and test the cases exactly as it does; a freed cell lost there
// would be lost for good.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/freeblock_marks.h"

namespace velkor {
namespace {

// Bytes near every bound of the tests: small types, header lengths, the
// page bound of the fields' high bytes, 0x81 and the varint edge.
std::vector<uint8_t> EdgeBytes(size_t size, uint32_t seed) {
  static const uint8_t kEdges[] = {0,    1,    5,    6,    9,    10,   12,   13,   14,   0x3E,
                                   0x3F, 0x40, 0x41, 0x7F, 0x80, 0x81, 0x82, 0xC0, 0xFE, 0xFF};
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(size);
  for (uint8_t& b : bytes) {
    b = random() % 4 == 0 ? static_cast<uint8_t>(random()) : kEdges[random() % std::size(kEdges)];
  }
  return bytes;
}

bool Marked(const std::vector<uint64_t>& marks, uint32_t i) {
  return ((marks[i / 64] >> (i % 64)) & 1u) != 0;
}

// Lengths around the vector width and the word, at every alignment of the
// start: each position is compared with the byte-by-byte tests, and no bit
// is left set at or past n.
TEST(FreeblockMarks, PassEveryPositionTheByteTestTakes) {
  const std::vector<uint8_t> bytes = EdgeBytes(1 << 16, 7);
  size_t taken = 0;
  for (const uint32_t n : {1u, 31u, 32u, 33u, 63u, 64u, 65u, 100u, 4096u}) {
    for (uint32_t start = 0; start + n + 72 <= bytes.size(); start += 4099 + n) {
      std::vector<uint64_t> marks((n + 63) / 64, ~uint64_t{0});
      const bool any = MarkFreedCellStarts(bytes.data() + start, n, marks.data());
      bool sawMark = false;
      for (uint32_t i = 0; i < (n + 63) / 64 * 64; ++i) {
        const uint8_t* b = bytes.data() + start + i;
        if (i >= n) {
          ASSERT_FALSE(Marked(marks, i)) << "n " << n << " bit " << i;
          continue;
        }
        const bool mayStart = MayStartFreedCell(b);
        taken += mayStart;
        sawMark = sawMark || Marked(marks, i);
        ASSERT_TRUE(!mayStart || Marked(marks, i)) << "start " << start << " + " << i;
        // The cases are tested exactly: a mark needs one.
        ASSERT_TRUE(!Marked(marks, i) || PossibleCases(b) != 0) << "start " << start << " + " << i;
      }
      EXPECT_EQ(any, sawMark);
    }
  }
  EXPECT_GT(taken, 100u);  // the bytes reach the cases the marks are for
}

}  // namespace
}  // namespace velkor
