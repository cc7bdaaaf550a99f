// The records command run as a user runs it, on images and backup folders
// assembled from real SQLite databases: the five export files must be byte
// for byte the texts built from the rows the fixtures inserted, whatever the
// thread count; storage that fails is reported and the exit status tells.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/e2e_support.h"
#include "tests/support/test_support.h"

namespace velkor::e2e {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::RunVelkor;

struct ExportFile {
  int tab;
  const char* name;
};
const ExportFile kFiles[] = {{kTabSms, "信息.txt"},
                             {kTabPhoneBook, "电话薄.txt"},
                             {kTabCalls, "通话记录.txt"},
                             {kTabAllContacts, "其他记录.txt"},
                             {kTabWeChat, "微信.txt"}};

void ExpectExports(const fs::path& out, const ExpectedStores& stores, bool smsSeconds) {
  for (const ExportFile& file : kFiles) {
    const std::string expected = ExpectedExportBytes(ExpectedRows(stores, file.tab, smsSeconds));
    EXPECT_TRUE(ReadText(out / file.name) == expected) << file.name << " differs";
  }
}

// The backup's files one by one in name order, each its own small image.
ExpectedStores BackupStores(std::vector<FixtureFile> files,
                            const std::vector<FixtureDatabase>& dbs) {
  std::sort(files.begin(), files.end(),
            [](const FixtureFile& a, const FixtureFile& b) { return a.name < b.name; });
  ExpectedStores expected;
  for (const FixtureFile& file : files) {
    ImageBuilder one(file.bytes.size(), Filler::kZeros);
    one.Place(0, file.name, file.bytes);
    const ExpectedStores part = StoresFrom(OccurrencesInScanOrder(one, dbs, kPlatformItunes));
    expected.sms.insert(expected.sms.end(), part.sms.begin(), part.sms.end());
    expected.phoneBook.insert(expected.phoneBook.end(), part.phoneBook.begin(),
                              part.phoneBook.end());
  }
  return expected;
}

class RecordsCommand : public ::testing::Test {
 protected:
  test::TempFolder temp;
  // Chinese and spaces in every path the program meets.
  const fs::path folder = temp.path / "手机 备份";
  std::string output;
};

TEST_F(RecordsCommand, ExportsEqualTheFixturesOnEveryPlatformAndThreadCount) {
  const std::vector<FixtureDatabase> android =
      BuildAndroidSet(folder / "db", 25, {JournalMode::kPersist, false, 4});
  ImageBuilder androidImage(4 * kMiB, Filler::kZeros);
  const uint64_t starts[] = {kMiB + 4096, 8192, 2 * kMiB + 700, 3 * kMiB, 3 * kMiB + 512 * 1024};
  for (size_t i = 0; i < android.size(); ++i) androidImage.PlaceDatabase(starts[i], android[i]);
  androidImage.WriteFile(folder / "phone 1.img");

  const std::vector<FixtureDatabase> ios = {BuildDatabase(IosAddressBook(), folder / "db"),
                                            BuildDatabase(IosMessages(20), folder / "db")};
  ImageBuilder iosImage(kMiB + 3, Filler::kZeros);
  iosImage.PlaceDatabase(512, ios[0]);
  iosImage.PlaceDatabase(64 * 1024 + 3, ios[1]);
  iosImage.WriteFile(folder / "iphone.img");

  // A backup folder: files in name order, a subfolder never entered.
  const std::vector<FixtureDatabase> backup = {
      BuildDatabase(IosAddressBook(), folder / "b"),
      BuildDatabase(IosMessages(30, {JournalMode::kPersist, true, 4}), folder / "b"),
      BuildDatabase(AndroidCallLog(10), folder / "b")};
  std::vector<FixtureFile> files;
  for (const FixtureDatabase& db : backup)
    files.insert(files.end(), db.files.begin(), db.files.end());
  WriteBackupFolder(folder / "backup", files, BuildDatabase(IosMessages(10), folder / "n").files);

  const struct {
    const char* platform;
    fs::path input;
    ExpectedStores stores;
    bool smsSeconds;
  } cases[] = {
      {"android", folder / "phone 1.img",
       StoresFrom(OccurrencesInScanOrder(androidImage, android, kPlatformAndroid)), false},
      {"ios", folder / "iphone.img",
       StoresFrom(OccurrencesInScanOrder(iosImage, ios, kPlatformIos)), true},
      {"itunes", folder / "backup", BackupStores(files, backup), true},
  };
  ASSERT_EQ(cases[0].stores.phoneBook.size(), 10u);
  ASSERT_GE(cases[0].stores.sms.size(), 75u);  // journal copies of deleted rows too
  ASSERT_EQ(cases[2].stores.phoneBook.size(), 4u);
  for (const auto& c : cases) {
    for (const char* threads : {"1", "2", "3"}) {
      SCOPED_TRACE(std::string(c.platform) + ", threads " + threads);
      const fs::path out = folder / "导出 结果" / c.platform / threads;  // made by the command
      ASSERT_EQ(RunVelkor({"records", c.input, "--platform", c.platform, "--threads", threads,
                           "--out", out},
                          output),
                0)
          << output;
      ExpectExports(out, c.stores, c.smsSeconds);
    }
  }
}

// A disk that holds less than the largest export: exactly the files that do
// not fit are reported and missing, the others are whole.
TEST_F(RecordsCommand, ExportsThatCannotBeWrittenAreReportedAndExitWith1) {
  ImageBuilder image(4 * kMiB, Filler::kZeros);
  uint64_t at = 4096;
  for (const auto& db : BuildAndroidSet(folder / "db", 30)) at = image.PlaceDatabase(at, db, 4096);
  const fs::path path = folder / "phone.img";
  image.WriteFile(path);
  ASSERT_EQ(RunVelkor({"records", path, "--out", folder / "free"}, output), 0) << output;
  std::vector<std::pair<uint64_t, std::string>> sizes;
  for (const std::string& name : test::FolderNames(folder / "free")) {
    sizes.emplace_back(fs::file_size(folder / "free" / name), name);
  }
  ASSERT_EQ(sizes.size(), 5u);
  std::sort(sizes.begin(), sizes.end());
  ASSERT_LT(sizes[1].first, sizes[4].first);
  const uint64_t holds = sizes[1].first;
  EXPECT_EQ(RunVelkor({"records", path, "--out", folder / "full"}, output, holds), 1);
  for (const auto& [size, name] : sizes) {
    const fs::path file = folder / "full" / name;
    const bool reported = output.find("cannot write " + file.string()) != std::string::npos;
    EXPECT_EQ(reported, size > holds) << name << "\n" << output;
    if (size > holds) {
      EXPECT_FALSE(fs::exists(file)) << name;
    } else {
      EXPECT_EQ(ReadText(file), ReadText(folder / "free" / name)) << name;
    }
  }
}

TEST_F(RecordsCommand, ExitStatusTellsOutcomes) {
  fs::create_directories(folder);
  const std::string out = (folder / "out").string();
  const struct {
    uint64_t size;  // of the image
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {0, {"records", "IMAGE", "--out", out}, 0},
      {1, {"records", "IMAGE", "--out", out}, 0},
      {kMiB, {"records", "IMAGE", "--types", "0", "--out", out}, 0},
      {kMiB + 1, {"records", "IMAGE", "--platform", "ios", "--types", "0x41", "--out", out}, 0},
      {1, {"records", (folder / "missing.img").string(), "--out", out}, 1},
      {1, {"records", folder.string(), "--platform", "android", "--out", out}, 1},
  };
  for (const auto& c : cases) {
    ImageBuilder(c.size, Filler::kZeros).WriteFile(folder / "image 1.img");
    std::vector<std::string> args = c.args;
    std::replace(args.begin(), args.end(), std::string("IMAGE"), (folder / "image 1.img").string());
    EXPECT_EQ(RunVelkor(args, output), c.status) << c.size << " " << args[1] << "\n" << output;
    if (c.status != 0) continue;
    // A scan that finds nothing still writes the five files, each only a BOM.
    for (const ExportFile& file : kFiles) {
      EXPECT_EQ(ReadText(fs::path(out) / file.name), "\xFF\xFE") << file.name;
    }
    fs::remove_all(out);
  }
}

}  // namespace
}  // namespace velkor::e2e
