// The fast paths must change nothing: the prefiltered cell test finds the
// same cells as the plain one, and a scan on several threads gives the same
// stores, progress events and log lines as a scan on one.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <vector>

#include "engine/cell_prefilter.h"
#include "engine/record_rows.h"
#include "engine/record_scan.h"
#include "engine/record_scan_parts.h"
#include "engine/text_codec.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

namespace velkor {

using test::Recorder;
namespace {

constexpr uint32_t kMiB = 1u << 20;

// A varint of value v, sometimes padded with leading 0x80 bytes (still a
// valid 1- to 4-byte form), to reach the rarer branches of the test.
void AppendPaddedVarint(std::vector<uint8_t>& out, uint64_t v, std::mt19937& random) {
  std::vector<uint8_t> plain;
  AppendVarint(plain, v);
  size_t padding = random() % 8 == 0 ? random() % (5 - plain.size()) : 0;
  out.insert(out.end(), padding, 0x80);
  out.insert(out.end(), plain.begin(), plain.end());
}

// Bytes that are mostly plausible cells, some broken on purpose, mixed with
// noise and runs of small values.
std::vector<uint8_t> CellRichBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);  // 32-bit results
  std::vector<uint8_t> out;
  while (out.size() < size) {
    switch (random() % 4) {
      case 0: {
        std::vector<uint8_t> types;
        const int columns = random() % 8 == 0 ? 70 + static_cast<int>(random() % 14)
                                              : 3 + static_cast<int>(random() % 12);
        uint64_t body = 0;
        for (int c = 0; c < columns; ++c) {
          const uint64_t t = c == 0
                                 ? random() % 10
                                 : (random() % 3 == 0 ? 13 + 2 * (random() % 20) : random() % 10);
          AppendPaddedVarint(types, t, random);
          body += ContentSize(t);
        }
        std::vector<uint8_t> h;
        AppendPaddedVarint(h, types.size() + 1, random);
        const uint64_t headerLength = types.size() + h.size();
        std::vector<uint8_t> cell;
        AppendPaddedVarint(cell, headerLength + body + (random() % 5 == 0 ? 1 : 0), random);
        AppendPaddedVarint(cell, random() % 3 == 0 ? random() % 2000000 : random() % 100, random);
        cell.push_back(static_cast<uint8_t>(headerLength));
        cell.insert(cell.end(), types.begin(), types.end());
        for (uint64_t b = 0; b < body; ++b) cell.push_back(static_cast<uint8_t>(random() % 12));
        out.insert(out.end(), cell.begin(), cell.end());
        break;
      }
      case 1:
        for (int i = 0; i < 40; ++i) out.push_back(static_cast<uint8_t>(random()));
        break;
      case 2:
        for (int i = 0; i < 40; ++i) out.push_back(static_cast<uint8_t>(random() % 16));
        break;
      default:
        for (int i = 0; i < 20; ++i) {
          const uint8_t choices[] = {0x80, 0x81, 0xCE, 0xCF, 5, 6, 81, 82, 9, 10, 11, 127};
          out.push_back(choices[random() % sizeof choices]);
        }
    }
  }
  out.resize(size);
  return out;
}

TEST(CellPrefilter, NeverRulesOutAnAcceptedOffset) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    std::vector<uint8_t> bytes = seed % 2 ? CellRichBytes(kMiB, seed) : std::vector<uint8_t>(kMiB);
    if (seed % 2 == 0) {
      std::mt19937 random(seed);  // 32-bit results
      for (auto& b : bytes) b = static_cast<uint8_t>(random());
    }
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

TEST(CellPrefilter, KeepsTheBoundaryCells) {
  std::vector<std::vector<uint8_t>> cells = {kHelloCell, CellWithPayload(11),
                                             CellWithPayload(10000), CellWithRowid(0),
                                             CellWithRowid(1048576)};
  for (int columns = 5; columns <= 80; ++columns) cells.push_back(CellOfIntegers(columns));
  for (uint64_t t = 0; t < 10; ++t) cells.push_back(CellWithTypes({t, 1, 1, 1, 23}));
  for (const auto& cell : cells) {
    std::vector<uint8_t> bytes = cell;
    bytes.resize(cell.size() + kWindowSlack, 0);
    const uint32_t length = static_cast<uint32_t>(cell.size());
    std::vector<uint8_t> flags(length + 8);
    std::vector<uint8_t> marks(PrefilterChunks(length));
    MarkPossibleCellStarts(bytes.data(), length, flags.data(), marks.data());
    CellCandidate c;
    ASSERT_TRUE(DetectCell(bytes.data(), static_cast<int32_t>(length), c));
    EXPECT_EQ(flags[0], 1) << ::testing::PrintToString(cell);
  }
}

TEST(CellPrefilter, SameCellsAsThePlainWalk) {
  WindowScratch a;
  WindowScratch b;
  for (uint32_t seed = 11; seed <= 14; ++seed) {
    std::vector<uint8_t> bytes = CellRichBytes(kMiB + kWindowSlack, seed);
    for (uint32_t length : {kMiB, 1000u, 17u, 1u, 0u}) {
      FindCells(bytes.data(), length, true, a);
      FindCells(bytes.data(), length, false, b);
      ASSERT_EQ(a.candidateCount, b.candidateCount) << seed << "/" << length;
      for (size_t i = 0; i < a.candidateCount; ++i) {
        ASSERT_EQ(a.candidates[i].offset, b.candidates[i].offset);
        ASSERT_EQ(a.candidates[i].serialTypes.size(), b.candidates[i].serialTypes.size());
      }
    }
  }
}

// The walk resumes right after a found cell's header, so an older cell that
// begins at that cell's first body byte is still found.
TEST(CellWalk, FindsACellStartingAtAnotherCellsBody) {
  const std::vector<uint8_t> inner = kHelloCell;
  std::vector<uint8_t> outer =
      CellOf({Nul(), Txt(std::string(inner.begin(), inner.end())), Num(1), Num(2), Num(3)});
  const uint32_t length = static_cast<uint32_t>(outer.size());
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

struct ScanCase {
  uint8_t platform;
  uint64_t failFrom;   // UINT64_MAX: no failure
  int stopAfterSteps;  // -1: no stop
};

// Everything the scan leaves behind as comparable text: its progress events,
// log lines and texts, every list row and the result.
std::vector<std::string> ScanWith(const std::vector<uint8_t>& image, const ScanCase& c,
                                  uint32_t threads, bool fast) {
  ScanInput input;
  input.platform = c.platform;
  input.imagePath = "mem";
  test::ReadFaults faults;
  if (c.failFrom != UINT64_MAX) faults.bad = {{c.failFrom, UINT64_MAX - c.failFrom}};
  input.imageOpener = test::FaultyOpener(test::MemoryOpener(image), faults);
  Recorder recorder;
  std::atomic<bool> stop{false};
  input.progress = &recorder;
  input.log = &recorder;
  input.stop = &stop;
  int steps = 0;
  recorder.onEvent = [&](const std::string& event) {
    if (event == "step" && ++steps == c.stopAfterSteps) stop = true;
  };
  RecordStores stores;
  const ScanResult result = ScanRecords(input, {1, threads, fast}, stores);
  std::vector<std::string> out = recorder.events;
  out.insert(out.end(), recorder.logs.begin(), recorder.logs.end());
  out.insert(out.end(), recorder.texts.begin(), recorder.texts.end());
  for (int tab : {kTabSms, kTabPhoneBook, kTabCalls, kTabAllContacts, kTabWeChat}) {
    for (size_t i = 0; i < RecordRowCount(stores, tab); ++i) {
      std::string row = std::to_string(tab);
      for (const auto& cell : RecordRow(stores, tab, i)) row += "|" + ToUtf8(cell);
      out.push_back(row);
    }
  }
  out.push_back("stopped " + std::to_string(result.stopped));
  for (const UnreadableRange& range : result.unreadable) {
    out.push_back("unreadable " + std::to_string(range.offset) + "+" +
                  std::to_string(range.length));
  }
  return out;
}

// Windows of planted rows of several kinds among noise, with a partial
// window at the end.
std::vector<uint8_t> PlantedImage(uint32_t seed) {
  std::vector<uint8_t> image = CellRichBytes(6 * kMiB + 12345, seed);
  std::mt19937 random(seed);  // 32-bit results
  auto next = [&random](uint32_t bound) { return static_cast<uint32_t>(random() % bound); };
  for (uint64_t at = 100; at + 200 < image.size(); at += 4000 + random() % 30000) {
    std::vector<uint8_t> cell;
    switch (random() % 3) {
      case 0:
        cell = IosSmsCell(std::to_string(next(100000)), 1300000000 + next(1000),
                          "msg " + std::to_string(at));
        break;
      case 1: {
        std::vector<Column> cols = {Num(1),        Num(1), Num(5 + next(2)),
                                    Num(next(50)), Num(1), Num(1),
                                    Num(0),        Num(0), Txt("N" + std::to_string(at))};
        for (int i = 0; i < 11; ++i) cols.push_back(Txt("-"));
        cell = CellOf(cols);
        break;
      }
      default:
        cell = CellOf(
            {Num(next(50)), Num(1), Num(1), Num(1), Num(1), Txt(std::to_string(next(1000)))});
    }
    std::copy(cell.begin(), cell.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
  }
  return image;
}

TEST(ParallelScan, SameResultsForEveryThreadCountAndCellTest) {
  const std::vector<uint8_t> image = PlantedImage(5);
  const ScanCase cases[] = {
      {kPlatformAndroid, UINT64_MAX, -1}, {kPlatformIos, UINT64_MAX, -1},
      {kPlatformIos, 3 * kMiB, -1},       {kPlatformAndroid, 6 * kMiB, -1},
      {kPlatformIos, UINT64_MAX, 2},      {kPlatformAndroid, UINT64_MAX, 6},
  };
  for (const ScanCase& c : cases) {
    const std::vector<std::string> reference = ScanWith(image, c, 1, false);
    EXPECT_GT(reference.size(), 10u);
    for (uint32_t threads : {1u, 2u, 3u, 8u}) {
      EXPECT_EQ(ScanWith(image, c, threads, true), reference)
          << "threads " << threads << " platform " << int(c.platform) << " fail " << c.failFrom
          << " stop " << c.stopAfterSteps;
    }
  }
}

}  // namespace
}  // namespace velkor
