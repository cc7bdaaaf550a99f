// The fast paths must change nothing: the prefilter never rules out a cell
// the plain test accepts. Thread counts are compared by the command's exports.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/cell_prefilter.h"
#include "engine/record_decoder.h"
#include "engine/record_scan_parts.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

namespace velkor {
namespace {

using test::Bytes;
using test::kMiB;

// A varint of value v, sometimes padded with leading 0x80 bytes (still a
// valid 1- to 4-byte form), to reach the rarer branches of the test.
void AppendPaddedVarint(Bytes& out, uint64_t v, std::mt19937& random) {
  Bytes plain;
  AppendVarint(plain, v);
  const size_t padding = random() % 8 == 0 ? random() % (5 - plain.size()) : 0;
  out.insert(out.end(), padding, 0x80);
  out.insert(out.end(), plain.begin(), plain.end());
}

// A plausible cell of random serial types, its P one too large now and then.
Bytes RandomCell(std::mt19937& random) {
  Bytes types;
  const auto columns =
      static_cast<uint32_t>(random() % 8 == 0 ? 70 + random() % 14 : 3 + random() % 12);
  uint64_t body = 0;
  for (uint32_t c = 0; c < columns; ++c) {
    const uint64_t t = c > 0 && random() % 3 == 0 ? 13 + 2 * (random() % 20) : random() % 10;
    AppendPaddedVarint(types, t, random);
    body += ContentSize(t);
  }
  Bytes h;
  AppendPaddedVarint(h, types.size() + 1, random);
  const uint64_t headerLength = types.size() + h.size();
  Bytes cell;
  AppendPaddedVarint(cell, headerLength + body + (random() % 5 == 0 ? 1 : 0), random);
  AppendPaddedVarint(cell, random() % 3 == 0 ? random() % 2000000 : random() % 100, random);
  cell.push_back(static_cast<uint8_t>(headerLength));
  cell.insert(cell.end(), types.begin(), types.end());
  for (uint64_t b = 0; b < body; ++b) cell.push_back(static_cast<uint8_t>(random() % 12));
  return cell;
}

// Cells mixed with noise, runs of small values and bytes near the varint and
// bound edges.
Bytes CellRichBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);  // 32-bit results
  static const uint8_t kEdges[] = {0x80, 0x81, 0xCE, 0xCF, 5, 6, 81, 82, 9, 10, 11, 127};
  Bytes out;
  while (out.size() < size) {
    const auto kind = static_cast<uint32_t>(random() % 4);
    if (kind == 0) {
      const Bytes cell = RandomCell(random);
      out.insert(out.end(), cell.begin(), cell.end());
    }
    for (int i = 0; kind != 0 && i < 40; ++i) {
      out.push_back(kind == 1   ? static_cast<uint8_t>(random())
                    : kind == 2 ? static_cast<uint8_t>(random() % 16)
                                : kEdges[random() % sizeof kEdges]);
    }
  }
  out.resize(size);
  return out;
}

// The prefilter may flag too much but never misses an offset the cell test
// accepts: random bytes, cell-rich bytes, and cells at every bound.
TEST(CellPrefilter, NeverRulesOutAnAcceptedOffset) {
  Bytes boundaryCells;
  const auto add = [&](const Bytes& cell) {
    boundaryCells.insert(boundaryCells.end(), cell.begin(), cell.end());
  };
  for (const Bytes& cell : {kHelloCell, CellWithPayload(11), CellWithPayload(10000),
                            CellWithRowid(0), CellWithRowid(1048576)})
    add(cell);
  for (int columns = 5; columns <= 80; ++columns) add(CellOfIntegers(columns));
  for (uint64_t t = 0; t < 10; ++t) add(CellWithTypes({t, 1, 1, 1, 23}));

  for (uint32_t seed = 1; seed <= 6; ++seed) {
    Bytes bytes = CellRichBytes(kMiB, seed);
    if (seed % 2 == 0) {
      std::mt19937 random(seed);
      for (auto& b : bytes) b = static_cast<uint8_t>(random());
    }
    if (seed == 1) std::copy(boundaryCells.begin(), boundaryCells.end(), bytes.begin());
    bytes.resize(kMiB + kWindowSlack, 0);
    std::vector<uint8_t> flags(kMiB + 8);
    std::vector<uint8_t> marks(PrefilterChunks(kMiB));
    MarkPossibleCellStarts(bytes.data(), kMiB, flags.data(), marks.data());
    size_t accepted = 0;
    size_t flagged = 0;
    for (uint32_t pos = 0; pos < kMiB; ++pos) {
      CellCandidate c;
      const bool ok = DetectCell(bytes.data() + pos, static_cast<int32_t>(kMiB - pos), c);
      accepted += ok;
      flagged += flags[pos] != 0;
      ASSERT_FALSE(ok && flags[pos] == 0) << "seed " << seed << " offset " << pos;
      ASSERT_FALSE(ok && marks[pos / kPrefilterChunk] == 0) << "chunk of offset " << pos;
    }
    if (seed % 2) {
      EXPECT_GT(accepted, 1000u) << "the cell-rich bytes should hold many cells";
    }
    EXPECT_LT(flagged, kMiB / 5) << "the prefilter should rule out most offsets";
  }
}

// The walk resumes right after a found cell's header, so an older cell that
// begins at that cell's first body byte is still found.
TEST(CellWalk, FindsACellStartingAtAnotherCellsBody) {
  const Bytes& inner = kHelloCell;
  Bytes outer =
      CellOf({Nul(), Txt(std::string(inner.begin(), inner.end())), Num(1), Num(2), Num(3)});
  const auto length = static_cast<uint32_t>(outer.size());
  const uint32_t innerAt = length - static_cast<uint32_t>(inner.size()) - 12;
  outer.resize(length + kWindowSlack, 0);
  for (bool fast : {false, true}) {
    WindowScratch scratch;
    FindCells(outer.data(), length, fast, scratch);
    ASSERT_GE(scratch.candidateCount, 2u) << fast;
    EXPECT_EQ(scratch.candidates[0].offset, 0u) << fast;
    EXPECT_EQ(scratch.candidates[1].offset, innerAt) << fast;
  }
}

// Classifying from the serial types leaves the window as decoding every cell
// did: a row of no template whose text holds a later row still turns that
// row's zero bytes into spaces before the row is read.
TEST(CellWalk, ARowOfNoTemplateStillBlanksTheZerosOfARowInsideIt) {
  const Bytes inner = IosSmsCell("13800138000", 0x4D7C6D00, "see you at eight");
  Bytes outer =
      CellOf({Num(1), Num(2), Num(3), Txt(std::string(inner.begin(), inner.end())), Num(5)});
  const auto length = static_cast<uint32_t>(outer.size());
  outer.resize(length + kWindowSlack, 0);
  CellCandidate cell;
  SignatureBits signature;
  ASSERT_TRUE(DetectCell(outer.data(), static_cast<int32_t>(length), cell));
  ASSERT_TRUE(ColumnSignatureBits(static_cast<int32_t>(length), cell, signature));
  ASSERT_EQ(FittingTemplates(BuildClassifierMasks(SignatureTemplates()), signature), 0u);
  WindowScratch scratch;
  RecordBatch batch;
  CollectWindowRecords(outer.data(), length, kPlatformIos, true, scratch, batch);
  ASSERT_EQ(batch.smsRecords.size(), 1u);
  EXPECT_EQ(batch.smsRecords[0].content, u"see you at eight");
  EXPECT_EQ(batch.smsRecords[0].time, 0x4D7C6D20);  // its time's zero byte read as a space
}

}  // namespace
}  // namespace velkor
