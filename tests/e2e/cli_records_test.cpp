// The velkor command line run as a separate process on fixture images: the
// five export files must be byte for byte the texts built from the rows the
// fixtures inserted, and the exit status must tell success, an image that
// does not open, and bad arguments apart.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>

#include "tests/e2e/e2e_support.h"

extern char** environ;

namespace velkor::e2e {
namespace {

// Runs velkor with args; stdout and stderr go to log. Returns the exit status.
int RunCli(const std::vector<std::string>& args, const std::filesystem::path& log) {
  std::vector<char*> argv = {const_cast<char*>(VELKOR_CLI_PATH)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, VELKOR_CLI_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ExportFile {
  int tab;
  const char* name;
};
const ExportFile kFiles[] = {{kTabSms, "信息.txt"},
                             {kTabPhoneBook, "电话薄.txt"},
                             {kTabCalls, "通话记录.txt"},
                             {kTabAllContacts, "其他记录.txt"},
                             {kTabWeChat, "微信.txt"}};

void ExpectExports(const std::filesystem::path& out, const ExpectedStores& stores,
                   bool smsSeconds) {
  for (const ExportFile& file : kFiles) {
    const std::string actual = ReadText(out / file.name);
    const std::string expected = ExpectedExportBytes(ExpectedRows(stores, file.tab, smsSeconds));
    EXPECT_EQ(actual.size(), expected.size()) << file.name;
    EXPECT_TRUE(actual == expected) << file.name << " differs";
  }
}

// The test's own calendar, checked on dates known by heart.
TEST(CivilTimeText, KnownDates) {
  struct Case {
    uint32_t seconds;
    const char16_t* text;
  };
  const Case cases[] = {{0, u"1970-1-1 0:0:0"},
                        {951782400, u"2000-2-29 0:0:0"},
                        {1000000000, u"2001-9-9 1:46:40"},
                        {1234567890, u"2009-2-13 23:31:30"},
                        {1330934649, u"2012-3-5 8:4:9"},
                        {4294967295u, u"2106-2-7 6:28:15"}};
  for (const Case& c : cases) EXPECT_EQ(CivilTimeText(c.seconds), c.text) << c.seconds;
}

class CliRecords : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = FreshFolder("cli"); }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(CliRecords, AndroidImageExportsEveryRowAsTheListsShowIt) {
  const std::vector<FixtureDatabase> dbs = BuildAndroidSet(folder_ / "db", 25);
  ImageBuilder image(4 * kMiB, Filler::kZeros);
  const uint64_t starts[] = {kMiB + 4096, 8192, 2 * kMiB + 700, 3 * kMiB, 3 * kMiB + 512 * 1024};
  for (size_t i = 0; i < dbs.size(); ++i) image.PlaceDatabase(starts[i], dbs[i]);
  const auto path = folder_ / "phone.img";
  image.WriteFile(path);
  const auto out = folder_ / "out" / "new";  // created by the command
  ASSERT_EQ(RunCli({"records", path.string(), "--out", out.string()}, folder_ / "log"), 0)
      << ReadText(folder_ / "log");
  const ExpectedStores stores = StoresFrom(OccurrencesInScanOrder(image, dbs, kPlatformAndroid));
  ASSERT_EQ(stores.sms.size(), 75u);
  ASSERT_EQ(stores.phoneBook.size(), 10u);
  ExpectExports(out, stores, false);
}

TEST_F(CliRecords, IosImageCountsMessageTimesInSeconds) {
  const std::vector<FixtureDatabase> dbs = {BuildDatabase(IosAddressBook(), folder_),
                                            BuildDatabase(IosMessages(20), folder_)};
  ImageBuilder image(kMiB + 3, Filler::kZeros);
  image.PlaceDatabase(512, dbs[0]);
  image.PlaceDatabase(64 * 1024 + 3, dbs[1]);
  const auto path = folder_ / "iphone.img";
  image.WriteFile(path);
  const auto out = folder_ / "out";
  ASSERT_EQ(RunCli({"records", path.string(), "--platform", "ios", "--out", out.string()},
                   folder_ / "log"),
            0);
  ExpectExports(out, StoresFrom(OccurrencesInScanOrder(image, dbs, kPlatformIos)), true);
}

TEST_F(CliRecords, ItunesFolderCountsMessageTimesInSeconds) {
  const FixtureDatabase db = BuildDatabase(IosMessages(15), folder_ / "db");
  WriteBackupFolder(folder_ / "backup", db.files, {});
  const auto out = folder_ / "out";
  ASSERT_EQ(RunCli({"records", (folder_ / "backup").string(), "--platform", "itunes", "--out",
                    out.string()},
                   folder_ / "log"),
            0);
  ImageBuilder one(db.files[0].bytes.size(), Filler::kZeros);
  one.Place(0, db.name, db.files[0].bytes);
  ExpectExports(out, StoresFrom(OccurrencesInScanOrder(one, {db}, kPlatformItunes)), true);
}

TEST_F(CliRecords, ExitStatusTellsOutcomes) {
  const auto image = folder_ / "zeros.img";
  ImageBuilder(1000, Filler::kZeros).WriteFile(image);
  const std::string out = (folder_ / "out").string();
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {{"records", image.string(), "--out", out}, 0},
      {{"records", image.string(), "--types", "0", "--out", out}, 0},
      {{"records", image.string(), "--platform", "ios", "--types", "0x41", "--out", out}, 0},
      {{"records", (folder_ / "missing.img").string(), "--out", out}, 1},
      {{"records", folder_.string(), "--platform", "android", "--out", out}, 1},
      {{"records", image.string()}, 2},
      {{"records", "--out", out}, 2},
      {{"records", image.string(), "--platform", "symbian", "--out", out}, 2},
      {{"records", image.string(), "--types", "lots", "--out", out}, 2},
      {{"records", image.string(), "--out", out, "--bogus"}, 2},
      {{"records"}, 2},
      {{}, 2},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    EXPECT_EQ(RunCli(c.args, folder_ / "log"), c.status) << line;
  }
  // A scan that finds nothing still writes the five files, each only a BOM.
  for (const ExportFile& file : kFiles) {
    EXPECT_EQ(ReadText(folder_ / "out" / file.name), "\xFF\xFE") << file.name;
  }
}

}  // namespace
}  // namespace velkor::e2e
