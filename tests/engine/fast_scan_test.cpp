// The fast paths must change nothing: the prefilter never rules out a cell
// the plain test accepts. Thread counts are compared by the command's exports.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/cell_prefilter.h"
#include "engine/cell_prefilter_rules.h"
#include "engine/record_decoder.h"
#include "engine/record_scan_parts.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

#ifdef VELKOR_HIGHWAY
#include "hwy/targets.h"
#endif

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

// The instruction sets the vector prefilter was built for and this processor
// runs; none in a build without Highway.
std::vector<int64_t> VectorTargets() {
#ifdef VELKOR_HIGHWAY
  return hwy::SupportedAndGeneratedTargets();
#else
  return {};
#endif
}

void UseVectorTarget([[maybe_unused]] int64_t target) {
#ifdef VELKOR_HIGHWAY
  hwy::SetSupportedTargetsForTest(target);
#endif
}

// Every vector variant, and the default of a build without Highway, marks
// exactly what the plain classification does,
// and none marks past the end.
void ExpectVariantsAgree(const uint8_t* window, uint32_t length, const std::string& label) {
  std::vector<uint64_t> plain(PrefilterWords(length), ~uint64_t{0});
  MarkPossibleCellStartsPlain(window, length, plain.data());
  EXPECT_EQ(plain.back() >> (length % 64), 0u) << label << ": marks past the end";
  std::vector<int64_t> targets = VectorTargets();
  targets.push_back(0);  // a build without Highway: its own classification
  for (int64_t target : targets) {
    UseVectorTarget(target);
    std::vector<uint64_t> vector(plain.size(), ~uint64_t{0});
    MarkPossibleCellStarts(window, length, vector.data());
    for (size_t w = 0; w < plain.size(); ++w) {
      ASSERT_EQ(vector[w], plain[w]) << label << " offsets from " << w * 64 << " target " << target;
    }
  }
  UseVectorTarget(0);
}

// Neither step of the plain prefilter rules out an offset the cell test
// accepts, and the other variants agree with it: random bytes,
// cell-rich bytes, and cells at every bound, at window starts and lengths
// that are not multiples of the vector width.
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
  // The header bound: a type's size fills P exactly, with P in one and in
  // two bytes, the type in one to three bytes (its last byte below 12, too).
  for (uint64_t t : {0, 5, 9, 12, 13, 15, 127, 128, 134, 139, 140, 8204, 16383, 16384}) {
    add(CellWithTypes({7, t, 0, 0, 0}));
    add(CellWithTypes({5, t, 0, 0, 0, 300}));
  }

  for (uint32_t seed = 1; seed <= 6; ++seed) {
    Bytes bytes = CellRichBytes(kMiB, seed);
    if (seed % 2 == 0) {
      std::mt19937 random(seed);
      for (auto& b : bytes) b = static_cast<uint8_t>(random());
    }
    if (seed == 1) std::copy(boundaryCells.begin(), boundaryCells.end(), bytes.begin());
    const uint32_t length = kMiB - 67 * seed;
    bytes.resize(kMiB + kWindowSlack, 0);
    const uint8_t* window = bytes.data() + seed % 3;
    std::vector<uint64_t> plain(PrefilterWords(length), ~uint64_t{0});
    MarkPossibleCellStartsPlain(window, length, plain.data());
    size_t accepted = 0;
    size_t marked = 0;
    for (uint32_t pos = 0; pos < length; ++pos) {
      CellCandidate c;
      const bool ok = DetectCell(window + pos, static_cast<int32_t>(length - pos), c);
      const bool mark = (plain[pos / 64] >> (pos % 64)) & 1;
      accepted += ok;
      marked += mark && prefilter::PayloadHoldsHeader(window + pos);
      ASSERT_FALSE(ok && !mark) << "seed " << seed << " offset " << pos;
      ASSERT_FALSE(ok && !prefilter::PayloadHoldsHeader(window + pos))
          << "seed " << seed << " offset " << pos;
    }
    if (seed % 2) {
      EXPECT_GT(accepted, 1000u) << "the cell-rich bytes should hold many cells";
    }
    EXPECT_LT(marked, length / 5) << "the prefilter should rule out most offsets";
    ExpectVariantsAgree(window, length, "seed " + std::to_string(seed));
  }
}

// Zeros with one cell: the variants skip blocks without a possible header
// and decide a few dozen offsets per block, so the cell is placed just
// before, on and after block and word edges, and the cell that reaches
// farthest (P one byte, a padded four-byte rowid, a padded H, then five
// one-byte types) at every offset of a block.
TEST(CellPrefilter, FindsALoneCellNearBlockEdges) {
  constexpr uint32_t kLength = 131072 - 3;
  const Bytes farReaching = {0x10, 0x80, 0x80, 0x80, 0x05, 0x80, 0x07, 1, 1,
                             1,    1,    1,    1,    2,    3,    4,    5};
  const auto check = [&](const Bytes& cell, uint32_t at) {
    Bytes bytes(kLength + kWindowSlack, 0);
    std::copy(cell.begin(), cell.end(), bytes.begin() + at);
    const std::string label =
        "cell of " + std::to_string(cell.size()) + " at " + std::to_string(at);
    std::vector<uint64_t> plain(PrefilterWords(kLength));
    MarkPossibleCellStartsPlain(bytes.data(), kLength, plain.data());
    ASSERT_TRUE((plain[at / 64] >> (at % 64)) & 1) << label;
    ExpectVariantsAgree(bytes.data(), kLength, label);
  };
  for (uint32_t edge : {2048u, 4096u, 16384u, 65536u, 53u * 1000}) {
    for (uint32_t before : {0u, 1u, 5u, 9u, 16u, 31u, 47u, 64u}) check(kHelloCell, edge - before);
  }
  for (uint32_t at = 64 * 1000; at < 64 * 1001; ++at) check(farReaching, at);
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
  ColumnMap located;
  ASSERT_TRUE(LocateColumns(outer.data(), static_cast<int32_t>(length), cell, located, signature));
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
