// Record scans of images with unreadable bytes: every row whose cell lies
// wholly in readable bytes is found, each unreadable range is logged once,
// every file gets its own phone book, whatever the thread count.
#include <gtest/gtest.h>

#include "engine/log_entries.h"
#include "engine/record_scan.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

const std::filesystem::path kImage = "/phone/disk.img";

// 3 MiB and a partial window, a message row every 3001 bytes (so rows cross
// window and piece boundaries).
struct MessageImage {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(3 * kMiB + 5000);
  std::vector<std::pair<ByteRange, std::u16string>> rows;
  MessageImage() {
    for (uint64_t at = 100, i = 0; at + 200 < bytes.size(); at += 3001, ++i) {
      const std::string text = "m" + std::to_string(i);
      rows.emplace_back(Place(bytes, at, IosSmsCell("10086", 1600000000, text, i + 1)),
                        std::u16string(text.begin(), text.end()));
    }
  }
  std::vector<std::u16string> RowsOutside(const std::vector<ByteRange>& bad) const {
    std::vector<std::u16string> texts;
    for (const auto& [cell, text] : rows) {
      if (!Touches(bad, cell.offset, cell.End())) texts.push_back(text);
    }
    return texts;
  }
};

std::vector<std::u16string> Contents(const RecordStores& stores) {
  std::vector<std::u16string> texts;
  for (const SmsRecord& sms : stores.sms) texts.push_back(sms.content);
  return texts;
}

struct Scan {
  ScanResult result;
  RecordStores stores;
  Recorder log;
};

void RunScan(const MemoryImages& images, const std::filesystem::path& path, uint8_t platform,
             uint32_t threads, Scan& scan) {
  ScanInput input;
  input.imagePath = path;
  input.platform = platform;
  input.imageOpener = images.Opener();
  input.log = &scan.log;
  RecordScanOptions options;
  options.recordTypeMask = kTypeSms | kTypePhoneBook;
  options.threads = threads;
  scan.result = ScanRecords(input, options, scan.stores);
}

TEST(UnreadableBytes, RowsInReadableBytesAreFoundAndEachRangeIsLoggedOnce) {
  const MessageImage image;
  const uint64_t mid = kMiB + 16 * kReadPiece;
  const struct {
    const char* name;
    ReadFaults faults;
    ByteRange logged;  // the one joined range; length 0 when none
  } cases[] = {
      {"intact, short reads", {.chunk = 1000}, {}},
      {"piece inside a window, read stops there", {.bad = {{mid, kReadPiece}}}, {mid, kReadPiece}},
      {"piece inside a window, whole read fails",
       {.bad = {{mid, kReadPiece}}, .wholeRead = true},
       {mid, kReadPiece}},
      {"short reads into the bad piece",
       {.bad = {{mid, kReadPiece}}, .chunk = 1000},
       {mid, kReadPiece}},
      {"first piece of the image", {.bad = {{0, kReadPiece}}, .wholeRead = true}, {0, kReadPiece}},
      {"last piece of a window",
       {.bad = {{2 * kMiB - kReadPiece, kReadPiece}}, .wholeRead = true},
       {2 * kMiB - kReadPiece, kReadPiece}},
      {"first piece of a window (the slack of the one before)",
       {.bad = {{2 * kMiB, kReadPiece}}, .wholeRead = true},
       {2 * kMiB, kReadPiece}},
      {"across a window boundary, joined",
       {.bad = {{2 * kMiB - kReadPiece, 2 * kReadPiece}}, .wholeRead = true},
       {2 * kMiB - kReadPiece, 2 * kReadPiece}},
      {"in the partial window", {.bad = {{3 * kMiB, kReadPiece}}}, {3 * kMiB, kReadPiece}},
      {"a bad byte in mid-piece loses the rest of its piece",
       {.bad = {{mid + 100, 1}}},
       {mid + 100, kReadPiece - 100}},
  };
  for (const auto& c : cases) {
    MemoryImages images;
    images.bytes[kImage] = image.bytes;
    images.faults[kImage] = c.faults;
    const std::vector<std::u16string> expected = image.RowsOutside(
        c.logged.length == 0 ? std::vector<ByteRange>{} : std::vector<ByteRange>{c.logged});
    for (const uint32_t threads : {1u, 2u}) {
      SCOPED_TRACE(testing::Message() << c.name << ", threads " << threads);
      Scan scan;
      RunScan(images, kImage, kPlatformIos, threads, scan);
      EXPECT_LT(expected.size(), image.rows.size() + (c.logged.length == 0));
      EXPECT_EQ(Contents(scan.stores), expected);
      if (c.logged.length == 0) {
        EXPECT_TRUE(scan.log.logTexts.empty());
        EXPECT_TRUE(scan.result.unreadable.empty());
        continue;
      }
      const uint64_t window = c.logged.offset / kMiB * kMiB;
      EXPECT_EQ(scan.log.logTexts,
                (std::vector<std::u16string>{
                    ReadFailedText(kImage.u16string(), static_cast<int64_t>(window)),
                    UnreadableRangeText(kImage.u16string(), c.logged.offset, c.logged.length)}));
      ASSERT_EQ(scan.result.unreadable.size(), 1u);
      EXPECT_EQ(scan.result.unreadable[0].offset, c.logged.offset);
      EXPECT_EQ(scan.result.unreadable[0].length, c.logged.length);
      EXPECT_FALSE(scan.result.stopped);
    }
  }
}

std::vector<uint8_t> PersonCell(uint64_t rowid, const std::string& last, const std::string& first) {
  std::vector<Column> columns = {Num(3), Txt(last), Txt(first)};
  for (int i = 3; i < 10; ++i) columns.push_back(Txt("x"));
  columns.push_back(Num(4));
  for (int i = 11; i < 18; ++i) columns.push_back(Txt("y"));
  columns.push_back(Num(8));
  columns.push_back(Num(9));
  return CellOf(columns, rowid);
}

// A file with a failure still gets its phone book, and a person of one file
// never joins a person of the next under the same row key.
TEST(UnreadableBytes, EveryFileOfAFolderGetsItsOwnPhoneBook) {
  TempFolder listed;
  MemoryImages images;
  std::vector<uint8_t>& first = images.bytes[listed.path / "a"];
  first.resize(2 * kMiB + 100);
  Place(first, 500, PersonCell(7, "ce", "Ali"));
  Place(first, kMiB + 500, PersonCell(8, "rol", "Ca"));
  std::vector<uint8_t>& second = images.bytes[listed.path / "b"];
  second.resize(kMiB);
  Place(second, 900, PersonCell(7, "b", "Bo"));
  images.faults[listed.path / "a"] = {.bad = {{kMiB + 64 * kReadPiece, kReadPiece}}};
  WriteBytes(listed.path / "a", {});
  WriteBytes(listed.path / "b", {});
  for (const uint32_t threads : {1u, 2u}) {
    SCOPED_TRACE(threads);
    Scan scan;
    RunScan(images, listed.path, kPlatformItunes, threads, scan);
    ASSERT_EQ(scan.stores.phoneBook.size(), 3u);
    EXPECT_EQ(scan.stores.phoneBook[0].name, u"Alice");
    EXPECT_EQ(scan.stores.phoneBook[1].name, u"Carol");
    EXPECT_EQ(scan.stores.phoneBook[2].name, u"Bob");
    ASSERT_EQ(scan.result.unreadable.size(), 1u);
    EXPECT_EQ(scan.result.unreadable[0].file, listed.path / "a");
  }
}

}  // namespace
}  // namespace velkor::test
