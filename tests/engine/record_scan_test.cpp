// The record scan of images and folders: windows, slack, progress events,
// failures, the stop flag and the phone-book build.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/log_entries.h"
#include "engine/record_scan.h"
#include "engine/text_codec.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

namespace velkor {
namespace {

using test::Bytes;
using test::kMiB;
using Texts = std::vector<std::string>;

Bytes ContactCell(uint32_t key, uint32_t mime, const std::string& text) {
  std::vector<Column> cols = {Num(1), Num(1), Num(mime), Num(key), Num(1), Num(1), Num(0), Num(0)};
  cols.push_back(Txt(text));
  cols.insert(cols.end(), 11, Txt("-"));
  return CellOf(cols);
}

// Zeros with an iOS message from `number` at offset.
Bytes ImageWithSms(uint64_t size, uint64_t offset, const std::string& number) {
  Bytes image(size, 0);
  test::Place(image, offset, IosSmsCell(number, 1234567890, "x"));
  return image;
}

class RecordScanTest : public ::testing::Test {
 protected:
  RecordScanTest() {
    options.recordTypeMask = kTypeSms | kTypePhoneBook | kTypeCalls;
    input.platform = kPlatformIos;
    input.progress = &recorder;
    input.log = &recorder;
    input.stop = &stop;
    input.imagePath = "image.dd";
  }

  void Scan() { result = ScanRecords(input, options, stores); }
  void ScanMemory(Bytes image) {
    input.imageOpener = test::MemoryOpener(std::move(image));
    Scan();
  }
  Texts SmsNumbers() const {
    Texts out;
    for (const auto& r : stores.sms) out.push_back(ToUtf8(r.number));
    return out;
  }
  std::string OpenFailed(const std::filesystem::path& path) const {
    return "3 error 打開/創建設備" + path.string() + "失敗";
  }

  ScanInput input;
  RecordScanOptions options;
  RecordStores stores;
  ScanResult result;
  test::Recorder recorder;
  std::atomic<bool> stop{false};
};

// One progress step per whole window, none for a partial one; the count is
// shown after every window read. Each scan forgets what the last one found.
TEST_F(RecordScanTest, ImagesOfOneWindowOrLess) {
  const struct {
    uint64_t size;
    Texts events;
    Texts numbers;
  } cases[] = {
      {kMiB, {"range 1", "step"}, {"10086"}}, {1000, {"range 0"}, {"10086"}}, {0, {"range 0"}, {}}};
  for (const auto& c : cases) {
    recorder = test::Recorder();
    ScanMemory(c.size > 0 ? ImageWithSms(c.size, 100, "10086") : Bytes{});
    EXPECT_EQ(recorder.events, c.events) << c.size;
    EXPECT_EQ(SmsNumbers(), c.numbers) << c.size;
    EXPECT_EQ(result.imageSize, c.size);
    EXPECT_TRUE(recorder.logs.empty());
    EXPECT_EQ(recorder.texts, c.size == 0 ? Texts{} : Texts{"已经搜索到 1 条记录"});
  }
}

TEST_F(RecordScanTest, CellsAroundWindowBoundaries) {
  Bytes image(2 * kMiB + 500, 0);
  // Body crossing the end of window 0: found, its last column cut there.
  const Bytes crossing =
      CellOf({Num(7), Txt("111"), Num(1234567890), Txt("body"), Num(0), Num(1), Txt("x"), Num(0),
              Num(0), Num(0), Num(0), Txt("tail-that-crosses")});
  test::Place(image, kMiB - (crossing.size() - 10), crossing);
  // Header crossing the end of window 1: found in neither window.
  test::Place(image, 2 * kMiB - 5, IosSmsCell("222", 1234567890, "lost"));
  // A cell in the partial last window, read with zeros after it.
  test::Place(image, 2 * kMiB + 200, IosSmsCell("333", 1234567890, "last"));
  ScanMemory(image);
  EXPECT_EQ(SmsNumbers(), (Texts{"111", "333"}));
  EXPECT_EQ(recorder.events, (Texts{"range 2", "step", "step"}));
}

TEST_F(RecordScanTest, StopFinishesTheWindowAndBuildsThePhoneBook) {
  input.platform = kPlatformAndroid;
  Bytes image(5 * kMiB + 100, 0);
  test::Place(image, 4096, ContactCell(42, 6, "Alice"));
  test::Place(image, 8192, ContactCell(42, 5, "13800138000"));
  test::Place(image, 2 * kMiB, ContactCell(43, 6, "Never read"));
  recorder.onEvent = [this](const std::string&) { stop = true; };
  ScanMemory(image);
  EXPECT_EQ(recorder.events, (Texts{"range 5", "step"}));
  EXPECT_EQ(recorder.logTexts, std::vector<std::u16string>{ScanStoppedText(kMiB)});
  EXPECT_TRUE(result.stopped);
  ASSERT_EQ(stores.phoneBook.size(), 1u);
  EXPECT_EQ(ToUtf8(stores.phoneBook[0].name), "Alice");
  EXPECT_EQ(ToUtf8(stores.phoneBook[0].number), "13800138000");
}

// A backup folder: its files in byte order of their names, subfolders never
// entered, a file that does not open logged and skipped.
TEST_F(RecordScanTest, BackupFolderFilesOneByOne) {
  const test::TempFolder temp;
  const std::filesystem::path& dir = temp.path;
  std::filesystem::create_directories(dir / "sub");
  test::WriteBytes(dir / "b.db", ImageWithSms(5000, 0, "b"));
  test::WriteBytes(dir / "a.db", ImageWithSms(2 * kMiB, 0, "a"));
  test::WriteBytes(dir / "C.db", ImageWithSms(100, 0, "C"));
  test::WriteBytes(dir / "a0.db", ImageWithSms(100, 0, "a0"));
  test::WriteBytes(dir / "sub" / "c.db", ImageWithSms(5000, 0, "c"));
  input.platform = kPlatformItunes;
  input.imagePath = dir;
  input.imageOpener = [](const std::filesystem::path& path) -> std::unique_ptr<ImageSource> {
    return path.filename() == "a0.db" ? nullptr : OpenImageFile(path);
  };
  Scan();
  EXPECT_TRUE(result.opened);
  EXPECT_EQ(SmsNumbers(), (Texts{"C", "a", "b"}));
  EXPECT_EQ(recorder.events, (Texts{"range 0", "range 2", "step", "step", "range 0"}));
  EXPECT_EQ(recorder.logs, Texts{OpenFailed(dir / "a0.db")});
  EXPECT_EQ(result.imageSize, 100 + 2 * kMiB + 5000);
}

}  // namespace
}  // namespace velkor
