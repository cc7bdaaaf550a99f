// velkor records run as a user runs it, on images and backup folders made of
// real SQLite databases: the five exports must be byte for byte the texts of
// the rows the fixtures inserted, whatever the platform and thread count.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "engine/record_rows.h"
#include "tests/carving/media_headers.h"
#include "tests/fixtures/fixture_sets.h"
#include "tests/fixtures/image_builder.h"
#include "tests/support/test_support.h"

namespace velkor::fixtures {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::RunVelkor;

// The rows of each export in scan order, without their numbers.
using TabRows = std::map<int, std::vector<RowTexts>>;

const std::pair<int, const char*> kExports[] = {{kTabSms, "信息.txt"},
                                                {kTabPhoneBook, "电话薄.txt"},
                                                {kTabCalls, "通话记录.txt"},
                                                {kTabAllContacts, "其他记录.txt"},
                                                {kTabWeChat, "微信.txt"}};

std::u16string Ascii(const std::string& text) {
  return {text.begin(), text.end()};
}

std::u16string TimeText(int64_t time, bool seconds) {
  return Ascii(test::CivilTimeText(static_cast<uint32_t>(seconds ? time : time / 1000)));
}

std::u16string Choice(uint8_t value, std::initializer_list<const char16_t*> texts) {
  return value == 0 || value > texts.size() ? u"" : texts.begin()[value - 1];
}

bool Extracted(uint8_t platform, RecordCategory category) {
  const bool ios = category >= 12 && category <= 14;
  return platform == kPlatformAndroid ? !ios && category >= 1 && category <= 16 : ios;
}

// What a scan of the image must find, from the fixtures alone: every copy of
// an extracted row that lies inside one window, in image order, and the phone
// book its contact parts merge into by key.
TabRows ExpectedRows(const ImageBuilder& image, const std::vector<FixtureDatabase>& dbs,
                     uint8_t platform) {
  std::multimap<uint64_t, const FixtureRow*> found;
  for (const FixtureDatabase& db : dbs) {
    for (const FixtureRow& row : db.rows) {
      if (!Extracted(platform, row.category)) continue;
      for (uint64_t at : image.Occurrences(row.cell)) {
        if (WithinOneWindow(at, row.cell.size())) found.emplace(at, &row);
      }
    }
  }
  TabRows tabs;
  std::map<int64_t, std::pair<std::u16string, std::u16string>> book;  // name, number by key
  for (const auto& [at, row] : found) {
    const ExpectedRecord& e = row->expected;
    if (const auto* sms = std::get_if<SmsRecord>(&e)) {
      tabs[kTabSms].push_back({sms->number, Choice(sms->status, {u"接受", u"发送"}),
                               TimeText(sms->time, platform != kPlatformAndroid), sms->content});
    } else if (const auto* call = std::get_if<CallRecord>(&e)) {
      tabs[kTabCalls].push_back({call->name, call->number, call->location,
                                 TimeText(call->time, false),
                                 Choice(call->callType, {u"来电", u"已拨", u"未接"}),
                                 Ascii(std::to_string(call->count))});
    } else if (const auto* ev = std::get_if<ContactEvent>(&e)) {
      tabs[kTabAllContacts].push_back({ev->name, ev->number, ev->location,
                                       TimeText(ev->time, false),
                                       Choice(ev->direction, {u"接受", u"发出"}),
                                       Ascii(std::to_string(ev->count)), ev->content});
    } else if (const auto* chat = std::get_if<WeChatRecord>(&e)) {
      tabs[kTabWeChat].push_back({chat->contact, TimeText(chat->time, false), chat->content});
    } else if (const auto* p = std::get_if<ExpectedPart>(&e); p && !p->part.text.empty()) {
      // A text already contained in the joined texts is not repeated.
      auto& [name, number] = book[p->key];
      std::u16string& joined = p->part.mark == 0 ? name : number;
      if (joined.find(p->part.text) == std::u16string::npos) {
        joined += (joined.empty() ? u"" : u",") + p->part.text;
      }
    }
  }
  for (const auto& [key, entry] : book) tabs[kTabPhoneBook].push_back({entry.first, entry.second});
  return tabs;
}

// UTF-16LE after a BOM; every cell and the end of every row is a CR LF, and
// each row starts with its number from 1.
std::string ExportBytes(const std::vector<RowTexts>& rows) {
  std::u16string text;
  for (size_t i = 0; i < rows.size(); ++i) {
    text += Ascii(std::to_string(i + 1)) + u"\r\n";
    for (const std::u16string& cell : rows[i]) text += cell + u"\r\n";
    text += u"\r\n";
  }
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) bytes += {char(unit & 0xFF), char(unit >> 8)};
  return bytes;
}

void ExpectExports(const fs::path& out, TabRows expected) {
  for (const auto& [tab, name] : kExports) {
    EXPECT_TRUE(ReadText(out / name) == ExportBytes(expected[tab])) << name << " differs";
  }
}

class RecordsCommand : public ::testing::Test {
 protected:
  test::TempFolder temp;
  // Chinese, a space and a byte that is not UTF-8 in every path the program meets.
  const fs::path folder = temp.path / "手机 备份\xff";
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

  // A backup folder: each file scanned alone in name order, a subfolder never entered.
  const std::vector<FixtureDatabase> backup = {
      BuildDatabase(IosAddressBook(), folder / "b"),
      BuildDatabase(IosMessages(30, {JournalMode::kPersist, true, 4}), folder / "b"),
      BuildDatabase(AndroidCallLog(10), folder / "b")};
  std::vector<FixtureFile> files;
  for (const FixtureDatabase& db : backup)
    files.insert(files.end(), db.files.begin(), db.files.end());
  WriteBackupFolder(folder / "backup", files, BuildDatabase(IosMessages(10), folder / "n").files);
  std::sort(files.begin(), files.end(), [](auto& a, auto& b) { return a.name < b.name; });
  TabRows backupRows;
  for (const FixtureFile& file : files) {
    ImageBuilder one(file.bytes.size(), Filler::kZeros);
    one.Place(0, file.name, file.bytes);
    for (auto& [tab, rows] : ExpectedRows(one, backup, kPlatformItunes)) {
      backupRows[tab].insert(backupRows[tab].end(), rows.begin(), rows.end());
    }
  }

  const struct {
    const char* platform;
    fs::path input;
    TabRows rows;
  } cases[] = {
      {"android", folder / "phone 1.img", ExpectedRows(androidImage, android, kPlatformAndroid)},
      {"ios", folder / "iphone.img", ExpectedRows(iosImage, ios, kPlatformIos)},
      {"itunes", folder / "backup", backupRows},
  };
  ASSERT_EQ(cases[0].rows.at(kTabPhoneBook).size(), 10u);
  ASSERT_GE(cases[0].rows.at(kTabSms).size(), 75u);  // journal copies of deleted rows too
  ASSERT_EQ(cases[2].rows.at(kTabPhoneBook).size(), 4u);
  for (const auto& c : cases) {
    for (const char* threads : {"1", "2", "3"}) {
      SCOPED_TRACE(std::string(c.platform) + ", threads " + threads);
      const fs::path out = folder / "导出 结果" / c.platform / threads;  // made by the command
      ASSERT_EQ(RunVelkor({"records", c.input, "--platform", c.platform, "--threads", threads,
                           "--out", out},
                          output),
                0)
          << output;
      ExpectExports(out, c.rows);
    }
  }

  // Again into the same folder, on a disk that holds less than the largest
  // export: exactly the files that do not fit are reported, and each keeps
  // its previous bytes; no half file is left behind under any name.
  TabRows rows = cases[0].rows;
  std::vector<uint64_t> sizes;
  for (const auto& [tab, name] : kExports) sizes.push_back(ExportBytes(rows[tab]).size());
  std::sort(sizes.begin(), sizes.end());
  ASSERT_LT(sizes[1], sizes[4]);
  const fs::path out = folder / "导出 结果" / "android" / "1";
  EXPECT_EQ(RunVelkor({"records", cases[0].input, "--out", out}, output, sizes[1]), 1);
  for (const auto& [tab, name] : kExports) {
    const std::string expected = ExportBytes(rows[tab]);
    const bool reported = output.find("cannot write " + (out / name).string()) != std::string::npos;
    EXPECT_EQ(reported, expected.size() > sizes[1]) << name;
    EXPECT_TRUE(ReadText(out / name) == expected) << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 5);
}

// Runs that find nothing still write the five files, each only a BOM; a
// mistake or an output folder that cannot be written is one line.
TEST_F(RecordsCommand, ExitStatusTellsOutcomes) {
  const fs::path backup = folder / "backup";
  fs::create_directories(backup);
  // A FIFO cannot be scanned, so its name is logged, its controls shown as codes.
  ASSERT_EQ(::mkfifo((backup / "a\x1b[2J\x7f\xc2\x85\xe2\x80\xae.db").c_str(), 0600), 0);
  const std::string image = (folder / "image 1.img").string(), out = (folder / "out").string();
  const std::string tooMany = std::to_string(4 * std::max(1l, ::sysconf(_SC_NPROCESSORS_ONLN)) + 1);
  const struct {
    uint64_t size;  // of the image
    std::vector<std::string> args;
    int status;
    std::string said;
    int termAfterMs = 0;
  } cases[] = {
      {0, {"records", image, "--out", out}, 0, "短信箱 0\n"},
      {1, {"records", image, "--out", out}, 0, "电话薄 0\n"},
      {kMiB, {"records", image, "--types", "0", "--out", out}, 0, "通话记录 0\n"},
      {kMiB + 1, {"records", image, "--platform", "ios", "--types", "0x41", "--out", out}, 0, ""},
      {1,
       {"records", backup, "--platform", "itunes", "--out", out},
       0,
       "a\\x1B[2J\\x7F\\x85\\u{202E}.db"},
      {1, {"records", image + "x", "--out", out}, 1, ""},
      {1, {"records", folder, "--platform", "android", "--out", out}, 1, ""},
      {1, {"records", image, "--out", image + "/o"}, 1, "cannot write into"},
      {1, {"records", image, "--threads", tooMany, "--out", out}, 2, "more than 4 per core"},
      // Sparse: 64 GiB of holes take seconds to scan and no disk space.
      {64 * kGiB, {"records", image, "--threads", "1", "--out", out}, 3, "扫描已停止于偏移 ", 300},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1] + " " + std::to_string(c.size) + ": " + c.said);
    ImageBuilder(c.size, Filler::kZeros).WriteFile(image);
    EXPECT_EQ(RunVelkor(c.args, output, 0, c.termAfterMs), c.status) << output;
    EXPECT_NE(output.find(c.said), std::string::npos) << output;
    EXPECT_EQ(output.find("\x1b[2J"), std::string::npos);
    const auto lines = std::count(output.begin(), output.end(), '\n');
    EXPECT_TRUE(c.status % 3 == 0 || c.said.empty() || lines == 1) << lines;
    for (const auto& [tab, name] : kExports) {  // a complete or stopped scan of nothing
      EXPECT_TRUE(c.status % 3 != 0 || ReadText(fs::path(out) / name) == "\xFF\xFE") << name;
    }
    fs::remove_all(out);
  }
}

// An image larger than 4 GiB, written as a sparse file, with databases and
// pictures on both sides of the 4 GiB mark and of the 32-bit offset wrap
// inside a window: both commands find them where they lie.
TEST_F(RecordsCommand, BigImageAroundAndBeyondFourGiB) {
  const std::vector<FixtureDatabase> dbs = BuildAndroidSet(folder / "db", 12);
  const uint64_t four = 4 * kGiB;
  ImageBuilder image(four + 8 * kMiB + 333, Filler::kZeros);
  const uint64_t starts[] = {four - 3 * kMiB + 4096, four + 4096, four + kMiB + 4097,
                             four + 3 * kMiB + 17, four + 5 * kMiB + 512};
  for (size_t i = 0; i < dbs.size(); ++i) image.PlaceDatabase(starts[i], dbs[i]);
  const uint64_t png = four - 4096, jpg = four + 7 * kMiB, gif = four + 8 * kMiB - 512;
  image.Place(png, "png", test::HeaderBytes("png"));
  image.Place(jpg, "jpg", test::HeaderBytes("jfif"));
  image.Place(gif, "gif", test::HeaderBytes("gif89a"));
  const fs::path path = folder / "big.img";
  image.WriteFile(path);

  ASSERT_EQ(RunVelkor({"records", path, "--out", folder / "records"}, output), 0) << output;
  const TabRows rows = ExpectedRows(image, dbs, kPlatformAndroid);
  ASSERT_GT(rows.at(kTabSms).size(), 30u);
  ExpectExports(folder / "records", rows);

  // Starting one window before the mark, to the image's end.
  const fs::path out = folder / "found";
  ASSERT_EQ(RunVelkor({"pictures", path, "--start", std::to_string((four - kMiB) / 512), "--block",
                       "512", "--formats", "all", "--out", out},
                      output),
            0)
      << output;
  EXPECT_EQ(test::TabbedLines(output),
            "0.png\t" + std::to_string(png) + "\t" + std::to_string(jpg - png) + "\n1.jpg\t" +
                std::to_string(jpg) + "\t" + std::to_string(gif - jpg) + "\n2.gif\t" +
                std::to_string(gif) + "\t" + std::to_string(image.Size() - gif) + "\n");
  std::vector<uint8_t> expected(image.Size() - gif);
  image.ReadRange(gif, expected.data(), expected.size());
  EXPECT_EQ(test::ReadBytes(out / "2.gif"), expected);
}

}  // namespace
}  // namespace velkor::fixtures
