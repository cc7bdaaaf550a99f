// The record scan of images and folders: windows, slack, progress events,
// failures, the stop flag and the phone-book build.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/log_entries.h"
#include "engine/record_scan.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

namespace velkor {

using test::Recorder;
namespace {

constexpr uint64_t kMiB = 1u << 20;

void Put(std::vector<uint8_t>& image, uint64_t offset, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

std::vector<uint8_t> ContactCell(uint32_t key, uint32_t mime, const std::string& text) {
  std::vector<Column> cols = {Num(1), Num(1), Num(mime), Num(key), Num(1), Num(1), Num(0), Num(0)};
  cols.push_back(Txt(text));
  for (int i = 0; i < 11; ++i) cols.push_back(Txt("-"));
  return CellOf(cols);
}

class RecordScanTest : public ::testing::Test {
 protected:
  RecordScanTest() {
    options.recordTypeMask = kTypeSms | kTypePhoneBook | kTypeCalls;
    input.progress = &recorder;
    input.log = &recorder;
    input.stop = &stop;
    input.imagePath = "image.dd";
  }

  void Scan() { result = ScanRecords(input, options, stores); }
  void ScanMemory(std::vector<uint8_t> image) {
    input.imageOpener = test::MemoryOpener(std::move(image));
    Scan();
  }

  std::vector<std::string> SmsNumbers() const {
    std::vector<std::string> out;
    for (const auto& r : stores.sms) out.push_back(ToUtf8(r.number));
    return out;
  }

  ScanInput input;
  RecordScanOptions options;
  RecordStores stores;
  ScanResult result;
  Recorder recorder;
  std::atomic<bool> stop{false};
};

// One progress step per whole window, none for a partial one; the count
// is shown after every window read.
TEST_F(RecordScanTest, ImagesOfOneWindowOrLess) {
  input.platform = kPlatformIos;
  const struct {
    uint64_t size;
    std::vector<std::string> events;
    std::vector<std::string> numbers;
  } cases[] = {
      {kMiB, {"range 1", "step"}, {"10086"}},
      {1000, {"range 0"}, {"10086"}},
      {0, {"range 0"}, {}},
  };
  for (const auto& c : cases) {
    recorder = Recorder();
    std::vector<uint8_t> image(c.size, 0);
    if (c.size > 0) Put(image, 100, IosSmsCell("10086", 1234567890, "hello"));
    ScanMemory(image);
    EXPECT_EQ(recorder.events, c.events) << c.size;
    EXPECT_EQ(SmsNumbers(), c.numbers) << c.size;
    EXPECT_EQ(result.imageSize, c.size);
    EXPECT_TRUE(recorder.logs.empty());
    EXPECT_EQ(recorder.texts, c.size == 0 ? std::vector<std::string>{}
                                          : std::vector<std::string>{"已经搜索到 1 条记录"});
  }
}

TEST_F(RecordScanTest, CellsAroundWindowBoundaries) {
  input.platform = kPlatformIos;
  std::vector<uint8_t> image(2 * kMiB + 500, 0);
  // Body crossing the end of window 0: found, its last column cut there.
  std::vector<uint8_t> crossing =
      CellOf({Num(7), Txt("111"), Num(1234567890), Txt("body"), Num(0), Num(1), Txt("x"), Num(0),
              Num(0), Num(0), Num(0), Txt("tail-that-crosses")});
  Put(image, kMiB - (crossing.size() - 10), crossing);
  // Header crossing the end of window 1: found in neither window.
  std::vector<uint8_t> split = IosSmsCell("222", 1234567890, "lost");
  Put(image, 2 * kMiB - 5, split);
  // A cell in the partial last window, read with zeros after it.
  Put(image, 2 * kMiB + 200, IosSmsCell("333", 1234567890, "last"));
  ScanMemory(image);
  EXPECT_EQ(SmsNumbers(), (std::vector<std::string>{"111", "333"}));
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"range 2", "step", "step"}));
}

TEST_F(RecordScanTest, StopFinishesTheWindowAndBuildsThePhoneBook) {
  std::vector<uint8_t> image(5 * kMiB + 100, 0);
  Put(image, 4096, ContactCell(42, 6, "Alice"));
  Put(image, 8192, ContactCell(42, 5, "13800138000"));
  Put(image, 2 * kMiB, ContactCell(43, 6, "Never read"));
  recorder.onEvent = [this](const std::string&) { stop = true; };
  ScanMemory(image);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"range 5", "step"}));
  EXPECT_EQ(recorder.logTexts, std::vector<std::u16string>{ScanStoppedText(kMiB)});
  EXPECT_TRUE(result.stopped);
  ASSERT_EQ(stores.phoneBook.size(), 1u);
  EXPECT_EQ(ToUtf8(stores.phoneBook[0].name), "Alice");
  EXPECT_EQ(ToUtf8(stores.phoneBook[0].number), "13800138000");
}

TEST_F(RecordScanTest, SecondScanForgetsTheFirst) {
  input.platform = kPlatformIos;
  std::vector<uint8_t> first(4096, 0);
  Put(first, 0, IosSmsCell("first", 1234567890, "a"));
  ScanMemory(first);
  std::vector<uint8_t> second(4096, 0);
  Put(second, 7, IosSmsCell("second", 1234567890, "b"));
  ScanMemory(second);
  EXPECT_EQ(SmsNumbers(), (std::vector<std::string>{"second"}));
}

TEST_F(RecordScanTest, EmptyMaskMeasuresOnly) {
  input.platform = kPlatformIos;
  stores.sms.push_back({u"old", u"", 0, 5000});
  options.recordTypeMask = 0;
  std::vector<uint8_t> image(3000, 0);
  Put(image, 0, IosSmsCell("1", 1234567890, "a"));
  ScanMemory(image);
  EXPECT_TRUE(stores.sms.empty());
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_TRUE(result.opened);
  EXPECT_EQ(result.imageSize, 3000u);
}

TEST_F(RecordScanTest, UnopenablePaths) {
  input.imagePath = "/nonexistent/图像 1.img";
  Scan();
  EXPECT_FALSE(result.opened);
  const std::string folder = ::testing::TempDir();
  input.imagePath = folder;  // a folder on the android platform
  Scan();
  EXPECT_FALSE(result.opened);
  EXPECT_EQ(recorder.logs,
            (std::vector<std::string>{"3 error 打開/創建設備/nonexistent/图像 1.img失敗",
                                      "3 error 打開/創建設備" + folder + "失敗"}));
  EXPECT_TRUE(recorder.events.empty());
}

class FolderScanTest : public RecordScanTest {
 protected:
  FolderScanTest() {
    std::filesystem::create_directories(dir / "sub");
    input.platform = kPlatformItunes;
    input.imagePath = dir;
  }
  void Write(const std::filesystem::path& path, const std::vector<uint8_t>& cell, size_t size) {
    std::vector<uint8_t> bytes(size, 0);
    Put(bytes, 0, cell);
    test::WriteBytes(path, bytes);
  }

  test::TempFolder temp;
  const std::filesystem::path dir = temp.path;
};

TEST_F(FolderScanTest, FilesInNameOrderWithoutSubfolders) {
  Write(dir / "b.db", IosSmsCell("b", 1234567890, "x"), 5000);
  Write(dir / "a.db", IosSmsCell("a", 1234567890, "x"), 2 * kMiB);
  Write(dir / "C.db", IosSmsCell("C", 1234567890, "x"), 100);
  Write(dir / "sub" / "c.db", IosSmsCell("c", 1234567890, "x"), 5000);
  Scan();
  EXPECT_EQ(SmsNumbers(), (std::vector<std::string>{"C", "a", "b"}));
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"range 0", "range 2", "step", "step", "range 0"}));
  EXPECT_EQ(result.imageSize, 100 + 2 * kMiB + 5000);
}

TEST_F(FolderScanTest, StopEndsTheWholeFolder) {
  Write(dir / "a.db", IosSmsCell("a", 1234567890, "x"), 2 * kMiB);
  Write(dir / "b.db", IosSmsCell("b", 1234567890, "x"), 2 * kMiB);
  recorder.onEvent = [this](const std::string&) { stop = true; };
  Scan();
  EXPECT_EQ(SmsNumbers(), (std::vector<std::string>{"a"}));
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"range 2", "step"}));
}

TEST_F(FolderScanTest, UnopenableFileIsReportedAndSkipped) {
  Write(dir / "a.db", IosSmsCell("a", 1234567890, "x"), 100);
  Write(dir / "b.db", IosSmsCell("b", 1234567890, "x"), 100);
  Write(dir / "c.db", IosSmsCell("c", 1234567890, "x"), 100);
  input.imageOpener = [](const std::filesystem::path& path) -> std::unique_ptr<ImageSource> {
    if (path.filename() == "b.db") return nullptr;
    return OpenImageFile(path);
  };
  Scan();
  EXPECT_EQ(SmsNumbers(), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(recorder.logs,
            (std::vector<std::string>{"3 error 打開/創建設備" + (dir / "b.db").string() + "失敗"}));
}

// A listed folder counts as opened whatever its files do; one that cannot be
// listed is logged once.
TEST_F(FolderScanTest, OpenedMeansTheFolderWasListed) {
  Scan();
  EXPECT_TRUE(result.opened);
  input.imagePath = dir / "missing";
  Scan();
  EXPECT_FALSE(result.opened);
  EXPECT_EQ(recorder.logs, (std::vector<std::string>{"3 error 打開/創建設備" +
                                                     (dir / "missing").string() + "失敗"}));
}

}  // namespace
}  // namespace velkor
