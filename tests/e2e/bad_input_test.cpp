// Hostile and failing input: paths that do not open, sources that stop
// reading in the middle of a scan, files that shrink or vanish, and images of
// noise. None may crash; each failure is one log line.
#include <gtest/gtest.h>

#include <unistd.h>

#include "engine/log_entries.h"
#include "tests/e2e/e2e_support.h"

namespace velkor::e2e {
namespace {

// Serves the inner source until `reads` reads have been made, then nothing,
// as a device that fails or a file cut short would.
class FailingSource final : public ImageSource {
 public:
  FailingSource(std::unique_ptr<ImageSource> inner, int reads, std::function<void()> onRead = {})
      : inner_(std::move(inner)), reads_(reads), onRead_(std::move(onRead)) {}
  uint64_t Size() const override { return inner_->Size(); }
  size_t Read(uint64_t offset, void* buffer, size_t count) override {
    if (onRead_) onRead_();
    if (reads_ >= 0 && reads_-- == 0) return 0;
    return inner_->Read(offset, buffer, count);
  }

 private:
  std::unique_ptr<ImageSource> inner_;
  int reads_;  // reads left before failing; negative never fails
  std::function<void()> onRead_;
};

LogEntry Entry(std::u16string text) {
  return {kLevelError, std::u16string(kTitleError), text};
}

void ExpectLog(const Scan& scan, const std::vector<LogEntry>& expected) {
  ASSERT_EQ(scan.log.entries.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(scan.log.entries[i].level, expected[i].level);
    EXPECT_EQ(scan.log.entries[i].title, expected[i].title);
    EXPECT_EQ(Utf8(scan.log.entries[i].text), Utf8(expected[i].text));
  }
}

bool StoresEmpty(const RecordStores& stores) {
  return stores.sms.empty() && stores.phoneBook.empty() && stores.calls.empty() &&
         stores.contactEvents.empty() && stores.weChat.empty();
}

TEST(BadInput, PathsThatDoNotOpenLogOneLine) {
  const auto folder = FreshFolder("unopenable");
  struct Case {
    std::filesystem::path path;
    uint8_t platform;
  };
  const Case cases[] = {{folder / "missing.img", kPlatformAndroid},
                        {folder, kPlatformAndroid},
                        {folder, kPlatformIos}};
  for (const Case& c : cases) {
    auto scan = RunScan(c.path, c.platform);
    ExpectLog(*scan, {Entry(u"打開/創建設備" + PathText(c.path) + u"失敗")});
    EXPECT_TRUE(StoresEmpty(scan->stores));
    EXPECT_EQ(scan->result.imageSize, 0u);
  }
  std::filesystem::remove_all(folder);
}

class InterruptedScan : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshFolder("interrupted");
    databases_ = BuildAndroidSet(folder_ / "db", 10);
    image_.PlaceDatabase(4096, databases_[0]);            // contacts, window 0
    image_.PlaceDatabase(kMiB / 2, databases_[1]);        // messages, window 0
    image_.PlaceDatabase(3 * kMiB + 100, databases_[4]);  // chat, window 3
    path_ = folder_ / "phone.img";
    image_.WriteFile(path_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
  std::filesystem::path path_;
  ImageBuilder image_{5 * kMiB + 200, Filler::kZeros};
  std::vector<FixtureDatabase> databases_;
};

TEST_F(InterruptedScan, AFailedReadKeepsEarlierRecordsAndSkipsThePhoneBook) {
  auto scan = RunScan(path_, kPlatformAndroid, [](const std::filesystem::path& p) {
    return std::make_unique<FailingSource>(OpenImageFile(p), 2);
  });
  ExpectLog(*scan, {Entry(u"讀取設備" + PathText(path_) + u",位置2097152失敗")});
  EXPECT_EQ(scan->stores.sms.size(), 30u);
  EXPECT_TRUE(scan->stores.weChat.empty());
  EXPECT_TRUE(scan->stores.phoneBook.empty());
  ASSERT_EQ(scan->result.unreadable.size(), 1u);
  EXPECT_EQ(scan->result.unreadable[0].offset, 2 * kMiB);
}

TEST_F(InterruptedScan, AFileThatShrinksDuringTheScanEndsWithAReadFailure) {
  int reads = 0;
  const std::filesystem::path path = path_;
  auto scan = RunScan(path_, kPlatformAndroid, [&](const std::filesystem::path& p) {
    return std::make_unique<FailingSource>(OpenImageFile(p), -1, [&reads, path] {
      if (++reads == 2) std::filesystem::resize_file(path, kMiB + kMiB / 2);
    });
  });
  ExpectLog(*scan, {Entry(u"讀取設備" + PathText(path_) + u",位置2097152失敗")});
  EXPECT_EQ(scan->stores.sms.size(), 30u);
  EXPECT_TRUE(scan->stores.weChat.empty());
}

TEST_F(InterruptedScan, AFileThatVanishesAfterOpeningIsStillReadToTheEnd) {
  auto scan = RunScan(path_, kPlatformAndroid, [](const std::filesystem::path& p) {
    auto source = OpenImageFile(p);
    std::filesystem::remove(p);
    return source;
  });
  EXPECT_TRUE(scan->log.entries.empty());
  EXPECT_EQ(scan->stores.sms.size(), 30u);
  EXPECT_EQ(scan->stores.weChat.size(), 10u);
  EXPECT_FALSE(scan->stores.phoneBook.empty());
}

TEST(BadInput, NoiseImagesScanWithoutCrashing) {
  struct Case {
    const char* name;
    Filler filler;
    uint64_t size;
  };
  const Case cases[] = {{"ones", Filler::kOnes, 3 * kMiB + 5},
                        {"zeros", Filler::kZeros, 2 * kMiB},
                        {"random", Filler::kRandom, 8 * kMiB + 4095},
                        {"tiny", Filler::kRandom, 3},
                        {"empty", Filler::kZeros, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ImageBuilder image(c.size, c.filler, 99);
    auto scan = RunScan("noise.img", kPlatformAndroid,
                        [&](const std::filesystem::path&) { return image.Source(); });
    EXPECT_TRUE(scan->log.entries.empty());
    EXPECT_EQ(scan->result.imageSize, c.size);
    if (c.filler != Filler::kRandom) {
      EXPECT_TRUE(StoresEmpty(scan->stores));
    }
  }
}

TEST(BadInput, ADatabaseCutAtTheImageEndScansWithoutCrashing) {
  const auto folder = FreshFolder("cut");
  const FixtureDatabase db = BuildDatabase(AndroidMessages(40), folder);
  for (size_t keep : {db.files[0].bytes.size() / 3, db.files[0].bytes.size() - 1}) {
    ImageBuilder image(kMiB + keep, Filler::kZeros);
    image.Place(
        kMiB, "cut",
        {db.files[0].bytes.begin(), db.files[0].bytes.begin() + static_cast<std::ptrdiff_t>(keep)});
    auto scan = RunScan("cut.img", kPlatformAndroid,
                        [&](const std::filesystem::path&) { return image.Source(); });
    EXPECT_TRUE(scan->log.entries.empty());
    ExpectRowsFound(scan->stores, image, {db});
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velkor::e2e
