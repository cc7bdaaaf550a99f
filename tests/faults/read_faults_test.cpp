// Reads that fail at a chosen offset, reads that come back short, and a real
// file cut short while it is read, for the record scan (one and two threads),
// the picture scan and the saving of carved files. A failure is one log line
// naming the offset or the file, what earlier windows gave is kept exactly,
// and a short read loses nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "carving/found_files.h"
#include "carving/scan_params.h"
#include "engine/log_entries.h"
#include "engine/text_format.h"
#include "tests/carving/carving_test_support.h"
#include "tests/carving/media_writers.h"
#include "tests/e2e/e2e_support.h"
#include "tests/faults/fault_support.h"

namespace velkor::faults {
namespace {

using namespace velkor::e2e;
constexpr uint64_t kNone = UINT64_MAX;

class LogLines final : public LogSink {
 public:
  void Append(const LogEntry& entry) override {
    lines.push_back(std::to_string(entry.level) + " " + Utf8(entry.title) + " " + Utf8(entry.text));
  }
  std::vector<std::string> lines;
};

// Databases in windows 0, 1, 2 and 3 of a 5 MiB + 200 image; window 2's ends
// well before the middle of that window.
struct RecordImage {
  RecordImage() {
    image.PlaceDatabase(4096, databases[0]);
    image.PlaceDatabase(kMiB / 2, databases[1]);
    image.PlaceDatabase(kMiB + 8192, databases[2]);
    image.PlaceDatabase(2 * kMiB + 4096, databases[3]);
    image.PlaceDatabase(3 * kMiB + 100, databases[4]);
  }
  ~RecordImage() { std::filesystem::remove_all(folder); }

  std::unique_ptr<Scan> ScanWith(uint32_t threads, const ReadFaults& faults) const {
    return ScanWith(
        threads, "/dev/phone 1",
        FaultyOpener([this](const std::filesystem::path&) { return image.Source(); }, faults));
  }
  static std::unique_ptr<Scan> ScanWith(uint32_t threads, std::filesystem::path path,
                                        ImageOpener opener) {
    auto scan = std::make_unique<Scan>();
    scan->input.imagePath = std::move(path);
    scan->input.log = &scan->log;
    scan->input.imageOpener = std::move(opener);
    scan->options.recordTypeMask = kTypeSms | kTypePhoneBook | kTypeCalls;
    scan->options.threads = threads;
    scan->Run();
    return scan;
  }

  // The rows of every list, as the scan of the cells before `end` gives them.
  void ExpectRowsOfCellsBefore(const RecordStores& task, uint64_t end, bool phoneBook) const {
    std::vector<Occurrence> before;
    for (const Occurrence& o : OccurrencesInScanOrder(image, databases, kPlatformAndroid)) {
      if (o.offset < end) before.push_back(o);
    }
    ExpectedStores expected = StoresFrom(before);
    if (!phoneBook) expected.phoneBook.clear();
    for (int tab : {kTabSms, kTabPhoneBook, kTabCalls, kTabAllContacts, kTabWeChat}) {
      const std::vector<RowTexts> rows = ExpectedRows(expected, tab, false);
      ASSERT_EQ(RecordRowCount(task, tab), rows.size()) << "tab " << tab;
      for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(RecordRow(task, tab, i), rows[i]) << "tab " << tab << " row " << i;
      }
    }
  }

  std::filesystem::path folder = FreshFolder("read-faults");
  std::vector<FixtureDatabase> databases = BuildAndroidSet(folder / "db", 10);
  ImageBuilder image{5 * kMiB + 200, Filler::kZeros};
};

TEST(RecordScanReadFaults, EarlierWindowsAreKeptAndTheFailureIsLoggedOnce) {
  const RecordImage image;
  const struct {
    const char* name;
    uint64_t failFrom;
    uint64_t loggedOffset;  // kNone: no line
    uint64_t keptBefore;    // cells before this offset are in the stores
  } cases[] = {
      {"first window", 0, 0, 0},
      {"third window", 2 * kMiB, 2 * kMiB, 2 * kMiB},
      {"partial last window", 5 * kMiB, 5 * kMiB, 5 * kMiB},
      // The read of window 2 stops at the bad spot and keeps what came
      // before it; the next window's read finds nothing and is the one logged.
      {"inside the third window", 2 * kMiB + kMiB / 2, 3 * kMiB, 2 * kMiB + kMiB / 2},
      {"no failure", kNone, kNone, kNone},
  };
  for (const auto& c : cases) {
    for (uint32_t threads : {1u, 2u}) {
      for (size_t chunk : {size_t{0}, size_t{4096}, size_t{1}}) {
        if (chunk == 1 && c.failFrom != kNone) continue;  // one byte per read is slow
        SCOPED_TRACE(std::string(c.name) + ", threads " + std::to_string(threads) + ", chunk " +
                     std::to_string(chunk));
        const auto scan = image.ScanWith(threads, {c.failFrom, UINT64_MAX, chunk, {}});
        EXPECT_EQ(scan->result.imageSize, image.image.Size());
        if (c.loggedOffset == kNone) {
          EXPECT_TRUE(scan->log.entries.empty());
        } else {
          ASSERT_EQ(scan->log.entries.size(), 1u);
          const LogEntry& line = scan->log.entries[0];
          EXPECT_EQ(line.level, 3);
          EXPECT_EQ(Utf8(line.title), "error");
          EXPECT_EQ(Utf8(line.text),
                    "讀取設備/dev/phone 1,位置" + std::to_string(c.loggedOffset) + "失敗");
        }
        // The phone book is built only when the whole file was read.
        image.ExpectRowsOfCellsBefore(scan->stores, c.keptBefore, c.loggedOffset == kNone);
      }
    }
  }
}

// Pictures at the start of windows 0, 1, 3 and 5 of a 6 MiB image.
struct PictureImage {
  PictureImage() : bytes(6 * kMiB, 0x80) {
    const uint64_t at[] = {0, kMiB + 4096, 3 * kMiB + 8192, 5 * kMiB + 3 * 4096};
    const test::Bytes files[] = {test::MakePng(4, 4), test::MakeJfif(), test::MakeGif("89a"),
                                 test::MakeBmp(2, 2, 24)};
    for (size_t i = 0; i < 4; ++i) {
      std::copy(files[i].begin(), files[i].end(), bytes.begin() + static_cast<ptrdiff_t>(at[i]));
      offsets.push_back(at[i]);
    }
  }
  ImageOpener Opener() const {
    return [this](const std::filesystem::path&) -> std::unique_ptr<ImageSource> {
      return std::make_unique<MemoryImageSource>(bytes);
    };
  }
  std::vector<uint8_t> bytes;
  std::vector<uint64_t> offsets;
};

TEST(PictureScanReadFaults, FilesOfEarlierWindowsAreKeptWithoutTheLengthRule) {
  const PictureImage image;
  const uint64_t maxSize = 104857600;
  const struct {
    uint64_t failFrom;
    size_t chunk;
    size_t found;
    bool lengthRule;
    std::string line;
  } cases[] = {
      {3 * kMiB, 0, 2, false, "3 error 讀取設備/images/phone 1.img,位置3145728失敗"},
      {0, 0, 0, false, "3 error 讀取設備/images/phone 1.img,位置0失敗"},
      {kNone, 4096, 4, true, ""},
      {kNone, 1000, 4, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failFrom);
    LogLines log;
    ScanInput input;
    input.imagePath = "/images/phone 1.img";
    input.log = &log;
    input.imageOpener = FaultyOpener(image.Opener(), {c.failFrom, UINT64_MAX, c.chunk, {}});
    CarvedFileStore found;
    ScanPictures(input, {kModePictures, 0, 6 * kMiB / 512, maxSize, 4096, 0x3F}, found);
    EXPECT_EQ(log.lines,
              c.line.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.line});
    ASSERT_EQ(found.size(), c.found);
    size_t i = 0;
    for (const auto& [offset, file] : found) {
      EXPECT_EQ(offset, image.offsets[i]);
      const bool last = i + 1 == c.found;
      EXPECT_EQ(file.length,
                c.lengthRule && !last ? image.offsets[i + 1] - image.offsets[i] : maxSize);
      ++i;
    }
  }
}

// Three carved files; the middle one runs over a spot that cannot be read.
TEST(SaveReadFaults, AnUnreadableRangeFailsItsFileOnlyAndShortReadsLoseNothing) {
  const PictureImage image;
  const auto folder = FreshFolder("save-read-faults");
  const std::vector<FoundFile> rows = {
      {u"0.png", {0, 0x02, 4096}},
      {u"1.jpg", {1052672, 0x01, 2105344}},  // 1 MiB + 4 KiB, 2 MiB + 8 KiB long
      {u"2.gif", {3153920, 0x20, 40000}},
  };
  const struct {
    uint64_t failFrom;
    size_t chunk;
    std::vector<size_t> written;
  } cases[] = {
      {2 * kMiB + 77, 0, {0, 2}},  // one bad sector inside file 1
      {kNone, 777, {0, 1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failFrom);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    LogLines log;
    ScanInput input;
    input.imagePath = "/images/phone.img";
    input.imageOpener = FaultyOpener(image.Opener(), {c.failFrom, 512, c.chunk, {}});
    input.log = &log;
    const auto written = SaveCarvedFiles(input, rows, folder);
    EXPECT_EQ(written, c.written);
    std::vector<std::string> expectedLines;
    for (size_t i = 0; i < rows.size(); ++i) {
      const std::filesystem::path path = folder / Utf8(rows[i].name);
      if (std::find(written.begin(), written.end(), i) == written.end()) {
        EXPECT_FALSE(std::filesystem::exists(path)) << "a partial file is left behind";
        expectedLines.push_back("3 Save 保存" + path.string() + "失败");
        continue;
      }
      const uint64_t offset = rows[i].file.offset;
      const uint64_t length = rows[i].file.length;
      EXPECT_EQ(ReadBytes(path), std::vector<uint8_t>(image.bytes.begin() + offset,
                                                      image.bytes.begin() + offset + length));
    }
    EXPECT_EQ(log.lines, expectedLines);
  }
  std::filesystem::remove_all(folder);
}

// The cut is made from the read hook, so that it lands between two reads;
// with two threads the windows before the cut are read whole either way.
TEST(ShrinkingFile, RecordScanKeepsTheWindowsBeforeTheCut) {
  const RecordImage image;
  const std::filesystem::path path = image.folder / "phone.img";
  for (uint32_t threads : {1u, 2u}) {
    SCOPED_TRACE(threads);
    image.image.WriteFile(path);
    std::atomic<bool> cut = false;
    ReadFaults faults;
    faults.beforeRead = [&](uint64_t offset) {
      if (offset >= 2 * kMiB && !cut.exchange(true)) std::filesystem::resize_file(path, 2 * kMiB);
    };
    const auto scan = RecordImage::ScanWith(threads, path, FaultyOpener(OpenImageFile, faults));
    ASSERT_EQ(scan->log.entries.size(), 1u);
    EXPECT_EQ(Utf8(scan->log.entries[0].text), "讀取設備" + path.string() + ",位置2097152失敗");
    image.ExpectRowsOfCellsBefore(scan->stores, 2 * kMiB, false);
  }
}

TEST(ShrinkingFile, PictureScanAndSaveReportTheCut) {
  const PictureImage image;
  const auto folder = FreshFolder("shrinking");
  const std::filesystem::path path = folder / "phone.img";
  WriteBytes(path, image.bytes);
  LogLines log;
  ScanInput input;
  input.imagePath = path;
  input.log = &log;
  ReadFaults faults;
  faults.beforeRead = [&](uint64_t offset) {
    if (offset == 3 * kMiB) std::filesystem::resize_file(path, 3 * kMiB);
  };
  input.imageOpener = FaultyOpener(OpenImageFile, faults);
  CarvedFileStore found;
  const ScanResult result =
      ScanPictures(input, {kModePictures, 0, 6 * kMiB / 512, 104857600, 4096, 0x3F}, found);
  EXPECT_EQ(log.lines,
            std::vector<std::string>{"3 error 讀取設備" + path.string() + ",位置3145728失敗"});
  EXPECT_EQ(found.size(), 2u);
  ASSERT_EQ(result.unreadable.size(), 1u);
  EXPECT_EQ(result.unreadable[0].offset, 3 * kMiB);

  // Cut to 2 MiB between the first and the second file: the third lies past
  // the cut and is reported, not saved empty.
  WriteBytes(path, image.bytes);
  const std::filesystem::path out = folder / "out";
  std::filesystem::create_directories(out);
  test::RecordingProgress progress;
  progress.onPos = [&](uint32_t row) {
    if (row == 1) std::filesystem::resize_file(path, 2 * kMiB);
  };
  log.lines.clear();
  const std::vector<FoundFile> files = {{u"0.png", {0, 0x02, 4096}},
                                        {u"1.jpg", {1052672, 0x01, 8192}},
                                        {u"2.gif", {3153920, 0x20, 4096}}};
  input.imageOpener = OpenImageFile;
  input.progress = &progress;
  EXPECT_EQ(SaveCarvedFiles(input, files, out), (std::vector<size_t>{0, 1}));
  EXPECT_EQ(log.lines, std::vector<std::string>{"3 Save 保存" + (out / "2.gif").string() + "失败"});
  EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"0.png", "1.jpg"}));
  EXPECT_EQ(ReadBytes(out / "1.jpg"), std::vector<uint8_t>(image.bytes.begin() + 1052672,
                                                           image.bytes.begin() + 1052672 + 8192));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velkor::faults
