// Images at the edges of the window arithmetic (0 bytes, 1 byte, exactly one
// window, one window and a byte), a backup folder of thousands of small
// files, and paths with Chinese characters and spaces, all as real files.
#include <gtest/gtest.h>

#include "carving/media_signatures.h"
#include "carving/scan_params.h"
#include "tests/carving/carving_test_support.h"
#include "tests/e2e/e2e_support.h"
#include "tests/faults/fault_support.h"

namespace velkor::faults {
namespace {

namespace fs = std::filesystem;
using namespace velkor::e2e;

TEST(OddImages, WindowEdgeSizes) {
  const fs::path folder = FreshFolder("edge-sizes");
  const FixtureDatabase messages = BuildDatabase(AndroidMessages(20), folder / "db");
  const std::vector<uint8_t>& dbFile = messages.files[0].bytes;
  const struct {
    uint64_t size;
    uint32_t fullWindows;
    bool holdsData;  // a PNG at 0 and the database ending at the first window's end
  } cases[] = {{0, 0, false}, {1, 0, false}, {kMiB, 1, true}, {kMiB + 1, 1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    ImageBuilder image(c.size, Filler::kRandom, 7);
    if (c.holdsData) {
      image.Place(0, "png", test::MakePng(4, 4));
      image.PlaceDatabase(kMiB - dbFile.size(), messages);
    }
    const fs::path path = folder / "image.dd";
    image.WriteFile(path);

    test::RecordingLog log;
    test::RecordingProgress progress;
    ScanInput input;
    input.progress = &progress;
    input.log = &log;
    input.imagePath = path;
    RecordStores records;
    const ScanResult result = ScanRecords(input, {kTypeSms}, records);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(result.imageSize, c.size);
    // One step per full window; the partial one is walked without a step.
    std::vector<test::ProgressEvent> steps = {{'R', c.fullWindows}};
    if (c.fullWindows == 1) steps.push_back({'S', 0});
    EXPECT_EQ(progress.events, steps);
    if (c.holdsData) {
      EXPECT_GT(ExpectRowsFound(records, image, {messages}), 40u);
    } else {
      EXPECT_TRUE(records.sms.empty());
    }

    // The picture scan with the dialog's defaults: only whole sectors count.
    const auto params =
        ConfirmScanParams(kModePictures, c.size, DefaultScanFields(c.size), kAllMediaFormats);
    ASSERT_EQ(params.has_value(), c.size >= 512);
    if (!params) continue;
    progress.events.clear();
    CarvedFileStore found;
    EXPECT_EQ(ScanPictures(input, *params, found).imageSize, c.size);
    EXPECT_EQ(progress.events.front(), (test::ProgressEvent{'R', c.fullWindows}));
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.begin()->second.kind, 0x02u);
  }
  fs::remove_all(folder);
}

// Thousands of backup files, each one page of a message database or noise:
// every file is opened, measured and scanned on its own, in name order.
TEST(OddImages, BackupFolderOfThousandsOfSmallFiles) {
  const fs::path folder = FreshFolder("many-files");
  const FixtureDatabase db = BuildDatabase(IosMessages(60), folder / "db");
  const std::vector<uint8_t>& file = db.files[0].bytes;
  std::vector<std::vector<uint8_t>> pages;
  for (size_t at = 0; at < file.size(); at += 4096) {
    pages.emplace_back(file.begin() + static_cast<ptrdiff_t>(at),
                       file.begin() + static_cast<ptrdiff_t>(std::min(file.size(), at + 4096)));
  }
  const fs::path backup = folder / "备份 folder";
  fs::create_directories(backup / "sub");
  constexpr int kFiles = 3000;
  std::vector<std::u16string> expectedContents;
  uint64_t totalSize = 0;
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "%05d", i);
    const std::vector<uint8_t>& page =
        i % 3 == 2 ? std::vector<uint8_t>(777, 0xC5) : pages[static_cast<size_t>(i) % pages.size()];
    WriteBytes(backup / name, page);
    totalSize += page.size();
    std::vector<std::pair<size_t, std::u16string>> inPage;
    for (const FixtureRow& row : db.rows) {
      const size_t at = fixtures::FindBytes(page, row.cell);
      if (at != std::string::npos)
        inPage.emplace_back(at, std::get<SmsRecord>(row.expected).content);
    }
    std::sort(inPage.begin(), inPage.end());
    for (auto& [at, content] : inPage) expectedContents.push_back(content);
  }
  WriteBytes(backup / "sub" / "00000", pages[1]);  // never entered

  auto scan = std::make_unique<Scan>();
  test::RecordingProgress progress;
  scan->input.progress = &progress;
  scan->input.imagePath = backup;
  scan->input.platform = kPlatformItunes;
  scan->input.log = &scan->log;
  scan->options.recordTypeMask = kTypeSms;
  scan->Run();

  EXPECT_TRUE(scan->log.entries.empty());
  EXPECT_EQ(std::count(progress.events.begin(), progress.events.end(), test::ProgressEvent{'R', 0}),
            kFiles);
  EXPECT_EQ(scan->result.imageSize, totalSize);
  ASSERT_GT(expectedContents.size(), 1000u);
  ASSERT_EQ(scan->stores.sms.size(), expectedContents.size());
  for (size_t i = 0; i < expectedContents.size(); ++i) {
    ASSERT_EQ(scan->stores.sms[i].content, expectedContents[i]) << "record " << i;
  }
  fs::remove_all(folder);
}

// Paths are bytes to the program; Chinese names with spaces reach the log,
// the exports and the saved files unchanged.
TEST(OddImages, ChinesePathsWithSpaces) {
  const fs::path folder = FreshFolder("paths") / "手机 镜像 (2024)";
  fs::create_directories(folder);
  ImageBuilder image(2 * kMiB, Filler::kZeros);
  image.Place(0, "png", test::MakePng(4, 4));
  image.PlaceDatabase(8192, BuildDatabase(AndroidMessages(10), folder / "数据 库"));
  const fs::path imagePath = folder / "图像 文件.img";
  image.WriteFile(imagePath);
  const fs::path out = folder / "导出 结果";

  std::string output;
  EXPECT_EQ(RunVelkor({"records", imagePath, "--out", out}, output), 0) << output;
  EXPECT_GT(fs::file_size(out / "信息.txt"), 1000u);
  EXPECT_EQ(RunVelkor({"pictures", imagePath, "--formats", "png", "--out", out / "图片 1"}, output),
            0)
      << output;
  EXPECT_EQ(FolderNames(out / "图片 1"), std::vector<std::string>{"0.png"});

  const fs::path missing = folder / "不 存在.img";
  EXPECT_EQ(RunVelkor({"records", missing, "--out", out}, output), 1);
  EXPECT_NE(output.find("[error] 打開/創建設備" + missing.string() + "失敗"), std::string::npos)
      << output;
  fs::remove_all(folder.parent_path());
}

}  // namespace
}  // namespace velkor::faults
