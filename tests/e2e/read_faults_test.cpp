// Reads that fail at a chosen offset, reads that come back short, and a real
// file cut short while it is read, for the record scan on one and two
// threads and for the saving of carved files. A failure is one log line
// naming the offset or the file; what earlier windows gave is kept exactly,
// and a short read loses nothing.
#include <gtest/gtest.h>

#include <atomic>

#include "carving/found_files.h"
#include "tests/e2e/e2e_support.h"
#include "tests/support/test_support.h"

namespace velkor::e2e {
namespace {

constexpr uint64_t kNone = UINT64_MAX;

// Databases in windows 0, 1, 2 and 3 of a 5 MiB + 200 image.
class ReadFaults : public ::testing::Test {
 protected:
  ReadFaults() {
    const uint64_t starts[] = {4096, kMiB / 2, kMiB + 8192, 2 * kMiB + 4096, 3 * kMiB + 100};
    for (size_t i = 0; i < databases.size(); ++i) image.PlaceDatabase(starts[i], databases[i]);
  }
  std::unique_ptr<Scan> ScanWith(uint32_t threads, std::filesystem::path path, ImageOpener opener) {
    auto scan = std::make_unique<Scan>();
    scan->input.imagePath = std::move(path);
    scan->input.log = &scan->log;
    scan->input.imageOpener = std::move(opener);
    scan->options.recordTypeMask = kTypeSms | kTypePhoneBook | kTypeCalls;
    scan->options.threads = threads;
    scan->Run();
    return scan;
  }
  // The lists as the scan of the cells before `end` gives them; the phone
  // book is built only when the whole image was read.
  void ExpectCellsBefore(const RecordStores& task, uint64_t end) const {
    std::vector<Occurrence> before;
    for (const Occurrence& o : OccurrencesInScanOrder(image, databases, kPlatformAndroid)) {
      if (o.offset < end) before.push_back(o);
    }
    ExpectedStores expected = StoresFrom(before);
    if (end != kNone) expected.phoneBook.clear();
    ExpectListsShow(task, expected, false);
  }
  void ExpectLogLine(const Scan& scan, const std::string& path, uint64_t offset) const {
    ASSERT_EQ(scan.log.entries.size(), offset == kNone ? 0u : 1u);
    if (offset == kNone) return;
    EXPECT_EQ(scan.log.entries[0].level, 3);
    EXPECT_EQ(Utf8(scan.log.entries[0].title), "error");
    EXPECT_EQ(Utf8(scan.log.entries[0].text),
              "讀取設備" + path + ",位置" + std::to_string(offset) + "失敗");
  }

  test::TempFolder folder;
  std::vector<FixtureDatabase> databases = BuildAndroidSet(folder.path / "db", 10);
  ImageBuilder image{5 * kMiB + 200, Filler::kZeros};
};

TEST_F(ReadFaults, RecordScanKeepsEarlierWindowsAndLogsTheFailureOnce) {
  const struct {
    uint64_t failFrom;
    uint64_t logged;  // offset in the log line, kNone: no line
    uint64_t kept;    // cells before this offset are in the lists
  } cases[] = {
      {0, 0, 0},
      {2 * kMiB, 2 * kMiB, 2 * kMiB},
      {5 * kMiB, 5 * kMiB, 5 * kMiB},  // the partial last window
      // The read of window 2 stops at the bad spot and keeps what came
      // before it; the next window's read finds nothing and is the one logged.
      {2 * kMiB + kMiB / 2, 3 * kMiB, 2 * kMiB + kMiB / 2},
      {kNone, kNone, kNone},
  };
  const ImageOpener memory = [this](const std::filesystem::path&) { return image.Source(); };
  for (const auto& c : cases) {
    for (uint32_t threads : {1u, 2u}) {
      for (size_t chunk : {size_t{0}, size_t{4096}}) {
        SCOPED_TRACE(std::to_string(c.failFrom) + ", threads " + std::to_string(threads) +
                     ", chunk " + std::to_string(chunk));
        const auto scan =
            ScanWith(threads, "/dev/phone 1", test::FaultyOpener(memory, {c.failFrom, kNone, chunk, {}}));
        EXPECT_EQ(scan->result.imageSize, image.Size());
        ExpectLogLine(*scan, "/dev/phone 1", c.logged);
        ExpectCellsBefore(scan->stores, c.kept);
      }
    }
  }
}

// The cut is made from the read hook, so that it lands between two reads;
// with two threads the windows before the cut are read whole either way.
TEST_F(ReadFaults, RecordScanOfAShrinkingFileKeepsTheWindowsBeforeTheCut) {
  const std::filesystem::path path = folder.path / "phone.img";
  for (uint32_t threads : {1u, 2u}) {
    SCOPED_TRACE(threads);
    image.WriteFile(path);
    std::atomic<bool> cut = false;
    const auto shrink = [&](uint64_t offset) {
      if (offset >= 2 * kMiB && !cut.exchange(true)) std::filesystem::resize_file(path, 2 * kMiB);
    };
    const auto scan = ScanWith(threads, path, test::FaultyOpener(OpenImageFile, {kNone, kNone, 0, shrink}));
    ExpectLogLine(*scan, path.string(), 2 * kMiB);
    ExpectCellsBefore(scan->stores, 2 * kMiB);
  }
}

// Three carved files; the middle one runs over a spot that cannot be read.
TEST_F(ReadFaults, SavingFailsOnlyTheFileOverAnUnreadableRange) {
  const std::vector<uint8_t> bytes = image.Bytes();
  const std::vector<FoundFile> rows = {{u"0.png", {0, 0x02, 4096}},
                                       {u"1.jpg", {1052672, 0x01, 2105344}},
                                       {u"2.gif", {3153920, 0x20, 40000}}};
  for (uint64_t failFrom : {2 * kMiB + 77, kNone}) {
    const std::filesystem::path out = folder.path / std::to_string(failFrom);
    std::filesystem::create_directories(out);
    test::Recorder log;
    ScanInput input;
    input.imagePath = "/images/phone.img";
    input.imageOpener = test::FaultyOpener(test::MemoryOpener(bytes), {failFrom, 512, 777, {}});
    input.log = &log;
    const std::vector<size_t> written = SaveCarvedFiles(input, rows, out);
    const bool fails = failFrom != kNone;
    EXPECT_EQ(written, (fails ? std::vector<size_t>{0, 2} : std::vector<size_t>{0, 1, 2}));
    const std::string line = "3 Save 保存" + (out / "1.jpg").string() + "失败";
    EXPECT_EQ(log.logs, (fails ? std::vector<std::string>{line} : std::vector<std::string>{}));
    for (size_t i : written) {
      const CarvedFile& file = rows[i].file;
      EXPECT_EQ(test::ReadBytes(out / Utf8(rows[i].name)),
                std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(file.offset),
                                     bytes.begin() +
                                         static_cast<std::ptrdiff_t>(file.offset + file.length)));
    }
    EXPECT_NE(std::filesystem::exists(out / "1.jpg"), fails) << "a partial file is left behind";
  }
}

}  // namespace
}  // namespace velkor::e2e
