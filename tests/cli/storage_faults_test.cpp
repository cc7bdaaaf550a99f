// Scans and saves over storage that fails, in process: rows and files in
// readable bytes are found, each unreadable range is logged once, and a
// picture the bad bytes cut is saved up to them and reported incomplete.
#include <gtest/gtest.h>

#include <atomic>

#include "carving/found_files.h"
#include "carving/media_scan.h"
#include "engine/log_entries.h"
#include "engine/record_scan.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

// An iOS address-book person row: its rowid is the key its parts merge on.
Bytes PersonCell(uint64_t rowid, const std::string& last, const std::string& first) {
  std::vector<Column> columns = {Num(3), Txt(last), Txt(first)};
  columns.insert(columns.end(), 7, Txt("x"));
  columns.push_back(Num(4));
  columns.insert(columns.end(), 7, Txt("y"));
  columns.insert(columns.end(), {Num(8), Num(9)});
  return CellOf(columns, rowid);
}

// A backup folder of two files; the first has 3 MiB and a partial window, a
// message row every 3001 bytes (so rows cross window and piece boundaries)
// and two people; the second, read without faults, a person under the first
// one's key, who must not join them: every file gets its own phone book.
TEST(UnreadableBytes, RowsInReadableBytesAreFoundAndEachRangeIsLoggedOnce) {
  const TempFolder folder;
  const fs::path a = folder.path / "a";
  Bytes image(3 * kMiB + 5000), other(8192);
  std::vector<std::pair<ByteRange, std::u16string>> rows, people;
  for (uint64_t at = 100, i = 0; at + 200 < image.size(); at += 3001, ++i) {
    const std::string text = "m" + std::to_string(i);
    rows.emplace_back(Place(image, at, IosSmsCell("10086", 1600000000, text, i + 1)),
                      std::u16string(text.begin(), text.end()));
  }
  people.emplace_back(Place(image, 500, PersonCell(7, "ce", "Ali")), u"Alice");
  people.emplace_back(Place(image, kMiB + 500, PersonCell(8, "rol", "Ca")), u"Carol");
  Place(other, 900, PersonCell(7, "b", "Bo"));
  WriteBytes(a, image);
  WriteBytes(folder.path / "b", other);
  const uint64_t mid = kMiB + 16 * kReadPiece, piece = kReadPiece;
  const struct {
    const char* name;
    ByteRange bad;  // none when its length is 0
    bool wholeRead = false;
    size_t chunk = 0;
  } cases[] = {
      {"intact, short reads", {}, false, 1000},
      {"inside a window, read stops there", {mid, piece}},
      {"inside a window, whole read fails", {mid, piece}, true},
      {"short reads into it", {mid, piece}, false, 1000},
      {"first of the image", {0, piece}, true},
      {"last of a window", {2 * kMiB - piece, piece}, true},
      {"first of a window, the slack of the one before", {2 * kMiB, piece}, true},
      {"across a window boundary, joined", {2 * kMiB - piece, 2 * piece}, true},
      {"in the partial window", {3 * kMiB, piece}},
      {"a person's piece", {kMiB, piece}},
      {"a bad byte loses the rest of its piece", {mid + 100, 1}},
  };
  for (const auto& c : cases) {
    ReadFaults faults{.wholeRead = c.wholeRead, .chunk = c.chunk};
    if (c.bad.length != 0) faults.bad = {c.bad};
    const ImageOpener faulty = FaultyOpener(OpenImageFile, faults);
    // What cannot be read runs to the end of the bad bytes' last piece.
    const uint64_t end = (c.bad.End() + piece - 1) / piece * piece;
    const ByteRange logged = {c.bad.offset, c.bad.length ? end - c.bad.offset : 0};
    std::vector<std::u16string> expected[2];  // messages, then names
    for (const auto& [cells, texts] : {std::pair{&rows, &expected[0]}, {&people, &expected[1]}}) {
      for (const auto& [cell, text] : *cells) {
        if (logged.length == 0 || !Touches({logged}, cell.offset, cell.End())) {
          texts->push_back(text);
        }
      }
    }
    expected[1].push_back(u"Bob");
    EXPECT_LT(expected[0].size(), rows.size() + (logged.length == 0));
    for (const uint32_t threads : {1u, 2u}) {
      SCOPED_TRACE(testing::Message() << c.name << ", threads " << threads);
      Recorder log;
      const ScanInput input = {
          .imagePath = folder.path,
          .platform = kPlatformItunes,
          .imageOpener = [&](const fs::path& p) { return p == a ? faulty(p) : OpenImageFile(p); },
          .log = &log};
      RecordStores stores;
      const ScanResult result = ScanRecords(input, {kTypeSms, threads}, stores);
      std::vector<std::u16string> found[2];
      for (const SmsRecord& sms : stores.sms) found[0].push_back(sms.content);
      for (const PhoneBookEntry& person : stores.phoneBook) found[1].push_back(person.name);
      EXPECT_EQ(found[0], expected[0]);
      EXPECT_EQ(found[1], expected[1]);
      EXPECT_FALSE(result.stopped);
      if (logged.length == 0) {
        EXPECT_TRUE(log.logTexts.empty());
        EXPECT_TRUE(result.unreadable.empty());
        continue;
      }
      EXPECT_EQ(log.logTexts, (std::vector<std::u16string>{
                                  ReadFailedText(PathText(a), int64_t(logged.offset / kMiB * kMiB)),
                                  UnreadableRangeText(PathText(a), logged.offset, logged.length)}));
      ASSERT_EQ(result.unreadable.size(), 1u);
      EXPECT_EQ(result.unreadable[0].file, a);
      EXPECT_EQ(result.unreadable[0].offset, logged.offset);
      EXPECT_EQ(result.unreadable[0].length, logged.length);
    }
  }
}

// Pictures over a bad piece: the signature in it is not known, the others
// keep their distances to the next hit, and a file cut by the bad range
// keeps its readable start and is reported incomplete. A stop that comes
// with the first file's progress ends the save there and counts the rest.
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
    ScanInput input = {.imagePath = "/p.img",
                       .imageOpener = FaultyOpener(MemoryOpener(image), faults),
                       .log = &log};
    CarvedFileStore found;
    const ScanResult result =
        ScanPictures(input, {kModePictures, 0, 3 * kMiB / 512, 100 * kMiB, 4096, 0x3F}, found);
    const std::vector<FoundFile> files = FoundFiles(found, kModePictures);
    std::vector<uint64_t> lengths;
    for (const FoundFile& file : files) lengths.push_back(file.file.length);
    EXPECT_EQ(lengths, (std::vector<uint64_t>{kMiB + 32768, kMiB - 32768, kMiB}));
    ASSERT_EQ(result.unreadable.size(), 1u);
    EXPECT_EQ(log.logTexts,
              (std::vector<std::u16string>{ReadFailedText(u"/p.img", int64_t(kMiB)),
                                           UnreadableRangeText(u"/p.img", bad, kReadPiece)}));
    TempFolder out;
    log.logTexts.clear();
    EXPECT_EQ(SaveCarvedFiles(input, files, out.path), (std::vector<size_t>{1, 2}));
    EXPECT_EQ(ReadBytes(out.path / "0.png"), Bytes(image.begin(), image.begin() + bad));
    EXPECT_EQ(ReadBytes(out.path / "1.png"),
              Bytes(image.begin() + kMiB + 32768, image.begin() + 2 * kMiB));
    const std::u16string cut = SaveIncompleteText(PathText(out.path / "0.png"), bad, kReadPiece);
    EXPECT_EQ(log.logTexts, std::vector<std::u16string>{cut});

    std::atomic<bool> stop{false};
    log.onEvent = [&stop](const std::string& event) { stop = event.rfind("range", 0) != 0; };
    input.progress = &log;
    input.stop = &stop;
    log.logTexts.clear();
    size_t attempted = 0;
    EXPECT_EQ(SaveCarvedFiles(input, files, out.path, &attempted), std::vector<size_t>{});
    EXPECT_EQ(attempted, 1u);
    EXPECT_EQ(log.logTexts, (std::vector<std::u16string>{cut, SaveStoppedText(2)}));
  }
}

}  // namespace
}  // namespace velkor::test
