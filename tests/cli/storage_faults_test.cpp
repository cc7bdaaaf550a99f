// Scans and saves over storage that fails, in process: rows and files in
// readable bytes are found, each unreadable range is logged once, a write
// killed midway leaves no half file, and the exit status says the worst.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

#include "carving/found_files.h"
#include "carving/media_scan.h"
#include "cli/exit_status.h"
#include "engine/log_entries.h"
#include "engine/output_file.h"
#include "engine/record_scan.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;
const fs::path kImage = "/phone/disk.img";

ScanInput Input(const fs::path& path, ImageOpener opener, Recorder& log) {
  ScanInput input;
  input.imagePath = path;
  input.imageOpener = std::move(opener);
  input.log = &log;
  return input;
}

struct RecordScan {
  RecordStores stores;
  Recorder log;
  ScanResult result;
  RecordScan(const fs::path& path, ImageOpener opener, uint8_t platform, uint32_t threads) {
    ScanInput input = Input(path, std::move(opener), log);
    input.platform = platform;
    result = ScanRecords(input, {kTypeSms | kTypePhoneBook, threads}, stores);
  }
};

TEST(UnreadableBytes, RowsInReadableBytesAreFoundAndEachRangeIsLoggedOnce) {
  // 3 MiB and a partial window, a message row every 3001 bytes, so that rows
  // cross window and piece boundaries.
  Bytes image(3 * kMiB + 5000);
  std::vector<std::pair<ByteRange, std::u16string>> rows;
  for (uint64_t at = 100, i = 0; at + 200 < image.size(); at += 3001, ++i) {
    const std::string text = "m" + std::to_string(i);
    rows.emplace_back(Place(image, at, IosSmsCell("10086", 1600000000, text, i + 1)),
                      std::u16string(text.begin(), text.end()));
  }
  const uint64_t mid = kMiB + 16 * kReadPiece, piece = kReadPiece;
  const struct {
    const char* name;
    ReadFaults faults;
    ByteRange logged;  // the one joined range; length 0 when none
  } cases[] = {
      {"intact, short reads", {.chunk = 1000}, {}},
      {"inside a window, read stops there", {.bad = {{mid, piece}}}, {mid, piece}},
      {"inside a window, whole read fails",
       {.bad = {{mid, piece}}, .wholeRead = true},
       {mid, piece}},
      {"short reads into it", {.bad = {{mid, piece}}, .chunk = 1000}, {mid, piece}},
      {"first of the image", {.bad = {{0, piece}}, .wholeRead = true}, {0, piece}},
      {"last of a window",
       {.bad = {{2 * kMiB - piece, piece}}, .wholeRead = true},
       {2 * kMiB - piece, piece}},
      {"first of a window, the slack of the one before",
       {.bad = {{2 * kMiB, piece}}, .wholeRead = true},
       {2 * kMiB, piece}},
      {"across a window boundary, joined",
       {.bad = {{2 * kMiB - piece, 2 * piece}}, .wholeRead = true},
       {2 * kMiB - piece, 2 * piece}},
      {"in the partial window", {.bad = {{3 * kMiB, piece}}}, {3 * kMiB, piece}},
      {"a bad byte loses the rest of its piece",
       {.bad = {{mid + 100, 1}}},
       {mid + 100, piece - 100}},
  };
  for (const auto& c : cases) {
    std::vector<std::u16string> expected;
    for (const auto& [cell, text] : rows) {
      if (c.logged.length == 0 || !Touches({c.logged}, cell.offset, cell.End())) {
        expected.push_back(text);
      }
    }
    EXPECT_LT(expected.size(), rows.size() + (c.logged.length == 0));
    for (const uint32_t threads : {1u, 2u}) {
      SCOPED_TRACE(testing::Message() << c.name << ", threads " << threads);
      const RecordScan scan(kImage, FaultyOpener(MemoryOpener(image), c.faults), kPlatformIos,
                            threads);
      std::vector<std::u16string> found;
      for (const SmsRecord& sms : scan.stores.sms) found.push_back(sms.content);
      EXPECT_EQ(found, expected);
      EXPECT_FALSE(scan.result.stopped);
      if (c.logged.length == 0) {
        EXPECT_TRUE(scan.log.logTexts.empty());
        EXPECT_TRUE(scan.result.unreadable.empty());
        continue;
      }
      EXPECT_EQ(scan.log.logTexts,
                (std::vector<std::u16string>{
                    ReadFailedText(kImage.u16string(), int64_t(c.logged.offset / kMiB * kMiB)),
                    UnreadableRangeText(kImage.u16string(), c.logged.offset, c.logged.length)}));
      ASSERT_EQ(scan.result.unreadable.size(), 1u);
      EXPECT_EQ(scan.result.unreadable[0].offset, c.logged.offset);
      EXPECT_EQ(scan.result.unreadable[0].length, c.logged.length);
    }
  }
}

Bytes PersonCell(uint64_t rowid, const std::string& last, const std::string& first) {
  std::vector<Column> columns = {Num(3), Txt(last), Txt(first)};
  for (int i = 3; i < 10; ++i) columns.push_back(Txt("x"));
  columns.push_back(Num(4));
  for (int i = 11; i < 18; ++i) columns.push_back(Txt("y"));
  columns.insert(columns.end(), {Num(8), Num(9)});
  return CellOf(columns, rowid);
}

// A file with a failure still gets its phone book, and a person of one file
// never joins a person of the next under the same row key.
TEST(UnreadableBytes, EveryFileOfAFolderGetsItsOwnPhoneBook) {
  TempFolder listed;
  Bytes first(2 * kMiB + 100), second(kMiB);
  Place(first, 500, PersonCell(7, "ce", "Ali"));
  Place(first, kMiB + 500, PersonCell(8, "rol", "Ca"));
  Place(second, 900, PersonCell(7, "b", "Bo"));
  WriteBytes(listed.path / "a", first);
  WriteBytes(listed.path / "b", second);
  // The bad piece lies past the end of the shorter file.
  const ReadFaults faults{.bad = {{kMiB + 64 * kReadPiece, kReadPiece}}};
  for (const uint32_t threads : {1u, 2u}) {
    SCOPED_TRACE(threads);
    const RecordScan scan(listed.path, FaultyOpener(OpenImageFile, faults), kPlatformItunes,
                          threads);
    ASSERT_EQ(scan.stores.phoneBook.size(), 3u);
    EXPECT_EQ(scan.stores.phoneBook[0].name, u"Alice");
    EXPECT_EQ(scan.stores.phoneBook[1].name, u"Carol");
    EXPECT_EQ(scan.stores.phoneBook[2].name, u"Bob");
    ASSERT_EQ(scan.result.unreadable.size(), 1u);
    EXPECT_EQ(scan.result.unreadable[0].file, listed.path / "a");
  }
}

// Pictures over a bad piece: the signature in it is not known, the others
// keep their distances to the next hit, and a file cut by the bad range
// keeps its readable start and is reported incomplete.
TEST(UnreadablePictures, ScanGoesOnAndSavesKeepTheReadableStart) {
  const uint64_t bad = kMiB + 4096;
  Bytes image(3 * kMiB);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 1);
  for (const uint64_t at : {uint64_t{0}, bad, kMiB + 32768, 2 * kMiB}) {
    Place(image, at, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  }
  for (const ReadFaults& faults : {ReadFaults{.bad = {{bad, kReadPiece}}, .wholeRead = true},
                                   ReadFaults{.bad = {{bad, kReadPiece}}, .chunk = 5000}}) {
    SCOPED_TRACE(faults.wholeRead);
    Recorder log;
    const ScanInput input = Input(kImage, FaultyOpener(MemoryOpener(image), faults), log);
    CarvedFileStore found;
    const ScanResult result =
        ScanPictures(input, {kModePictures, 0, 3 * kMiB / 512, 100 * kMiB, 4096, 0x3F}, found);
    const std::vector<FoundFile> files = FoundFiles(found, kModePictures);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].file.length, kMiB + 32768);
    EXPECT_EQ(files[1].file.length, kMiB - 32768);
    EXPECT_EQ(files[2].file.length, 100 * kMiB);
    ASSERT_EQ(result.unreadable.size(), 1u);
    EXPECT_EQ(result.unreadable[0].offset, bad);
    EXPECT_EQ(log.logTexts, (std::vector<std::u16string>{
                                ReadFailedText(kImage.u16string(), int64_t(kMiB)),
                                UnreadableRangeText(kImage.u16string(), bad, kReadPiece)}));

    TempFolder out;
    log.logTexts.clear();
    EXPECT_EQ(SaveCarvedFiles(input, files, out.path), (std::vector<size_t>{1, 2}));
    EXPECT_EQ(ReadBytes(out.path / "0.png"), Bytes(image.begin(), image.begin() + bad));
    EXPECT_EQ(ReadBytes(out.path / "1.png"),
              Bytes(image.begin() + kMiB + 32768, image.begin() + 2 * kMiB));
    EXPECT_EQ(log.logTexts, (std::vector<std::u16string>{SaveIncompleteText(
                                PathText(out.path / "0.png"), bad, kReadPiece)}));
  }
}

TEST(StoppedSave, EndsBetweenFilesAndCountsTheRest) {
  Recorder log;
  std::atomic<bool> stop{false};
  log.onEvent = [&stop](const std::string& event) { stop = event.rfind("range", 0) != 0; };
  ScanInput input = Input(kImage, MemoryOpener(Bytes(3 * kMiB)), log);
  input.progress = &log;
  input.stop = &stop;
  const std::vector<FoundFile> files = {
      {u"0.png", {0, 0x02, 100}}, {u"1.png", {kMiB, 0x02, 100}}, {u"2.png", {2 * kMiB, 0x02, 100}}};
  TempFolder out;
  size_t attempted = 0;
  EXPECT_EQ(SaveCarvedFiles(input, files, out.path, &attempted), std::vector<size_t>{0});
  EXPECT_EQ(attempted, 1u);
  EXPECT_EQ(log.logTexts, std::vector<std::u16string>{SaveStoppedText(2)});
  EXPECT_FALSE(fs::exists(out.path / "1.png"));
}

// A writer killed midway leaves what was there before, or nothing, under
// the final name.
TEST(KilledWrite, LeavesThePreviousFileOrNone) {
  for (const bool previous : {false, true}) {
    SCOPED_TRACE(previous);
    TempFolder temp;
    const fs::path path = temp.path / "信息.txt";
    if (previous) WriteBytes(path, {1, 2, 3});
    const pid_t child = ::fork();
    if (child == 0) {
      WriteWholeFile(path, [](std::FILE* file) {
        const std::vector<char> half(100000, 'x');
        std::fwrite(half.data(), 1, half.size(), file);
        std::fflush(file);
        ::raise(SIGKILL);
        return true;
      });
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(fs::exists(path), previous);
    EXPECT_EQ(ReadBytes(path), (previous ? Bytes{1, 2, 3} : Bytes{}));
  }
}

TEST(ExitStatus, TheMostTellingOneWins) {
  using namespace cli;
  const struct {
    bool stopped, unreadable, listingCut;
    int expected;
  } scans[] = {
      {false, false, false, kExitComplete},
      {false, true, false, kExitUnreadable},
      {true, true, false, kExitStopped},
      {true, true, true, kExitFailed},
  };
  for (const auto& s : scans) {
    ScanResult result;
    result.stopped = s.stopped;
    result.listingCut = s.listingCut;
    if (s.unreadable) result.unreadable.push_back({0, 1, "x"});
    EXPECT_EQ(ScanExitStatus(result), s.expected);
    // 2 over 1 over what the scan ended with.
    EXPECT_EQ(WorseExitStatus(kExitFailed, ScanExitStatus(result)), kExitFailed);
    EXPECT_EQ(WorseExitStatus(ScanExitStatus(result), kExitMistake), kExitMistake);
  }
}

}  // namespace
}  // namespace velkor::test
