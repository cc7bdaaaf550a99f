// iOS images and iTunes backup folders: the address book's persons and
// multi-values merge into the phone book, messages keep their second times,
// and each platform takes only its own categories.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/e2e_support.h"

namespace velkor::e2e {
namespace {

// iOS and Android databases side by side in one image; each platform must
// take its own rows and leave the others.
class MixedImageScan : public ::testing::TestWithParam<uint8_t> {
 protected:
  void SetUp() override {
    folder_ = FreshFolder("mixed-" + std::to_string(GetParam()));
    databases_.push_back(BuildDatabase(IosAddressBook(), folder_));
    databases_.push_back(
        BuildDatabase(IosMessages(50, {JournalMode::kPersist, false, 3}), folder_));
    databases_.push_back(BuildDatabase(AndroidMessages(20), folder_));
    databases_.push_back(BuildDatabase(AndroidContacts(), folder_));
    uint64_t at = 3 * 4096;
    for (const FixtureDatabase& db : databases_) at = image_.PlaceDatabase(at, db, 4096) + 4096;
    scan_ = RunScan(folder_ / "phone.img", GetParam(),
                    [this](const std::filesystem::path&) { return image_.Source(); });
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
  ImageBuilder image_{2 * kMiB, Filler::kZeros};
  std::vector<FixtureDatabase> databases_;
  std::unique_ptr<Scan> scan_;
};

// Message times count seconds only on iOS, where messages carry no status.
TEST_P(MixedImageScan, ListsShowOnlyThePlatformsRows) {
  const bool ios = GetParam() == kPlatformIos;
  EXPECT_GT(ExpectRowsFound(scan_->stores, image_, databases_), 40u);
  ExpectListsShow(scan_->stores, StoresFrom(OccurrencesInScanOrder(image_, databases_, GetParam())),
                  ios);
  EXPECT_TRUE(scan_->stores.calls.empty());
  EXPECT_TRUE(scan_->stores.weChat.empty());
  for (size_t i = 0; ios && i < scan_->stores.sms.size(); ++i) {
    EXPECT_EQ(RecordRow(scan_->stores, kTabSms, i)[2], u"") << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Platforms, MixedImageScan,
                         ::testing::Values(kPlatformAndroid, kPlatformIos),
                         [](const auto& test) { return test.param ? "Ios" : "Android"; });

TEST(IosScan, AddressBookGivesOneEntryPerPerson) {
  const auto folder = FreshFolder("address-book");
  const std::vector<FixtureDatabase> dbs = {BuildDatabase(IosAddressBook(), folder)};
  ImageBuilder image(kMiB, Filler::kZeros);
  image.PlaceDatabase(1024, dbs[0]);
  auto scan = RunScan(folder / "x.img", kPlatformIos,
                      [&](const std::filesystem::path&) { return image.Source(); });
  // Last name then first name; the second person has two numbers.
  const std::vector<std::pair<std::u16string, std::vector<std::u16string>>> expected = {
      {u"王小明", {u"+1 408 555 0100"}},
      {u"LiLei", {u"+1 408 555 0110", u"+1 408 555 0111"}},
      {u"AppleseedJohn", {u"+1 408 555 0120"}},
      {u"孙丽", {u"+1 408 555 0130"}}};
  ASSERT_EQ(scan->stores.phoneBook.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Utf8(scan->stores.phoneBook[i].name), Utf8(expected[i].first));
    // Within a page SQLite puts later rows at lower offsets, so numbers
    // arrive in page order; compare them as a set.
    std::vector<std::u16string> numbers;
    const std::u16string& joined = scan->stores.phoneBook[i].number;
    for (size_t from = 0; from <= joined.size();) {
      const size_t comma = std::min(joined.find(u',', from), joined.size());
      numbers.push_back(joined.substr(from, comma - from));
      from = comma + 1;
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, expected[i].second) << Utf8(joined);
  }
  std::filesystem::remove_all(folder);
}

// An iTunes backup: the folder's files in name order, each with its own
// phone-book build; the subfolder is never entered.
TEST(ItunesScan, ScansEachFileOfTheFolderButNotItsSubfolder) {
  const auto folder = FreshFolder("itunes");
  std::vector<FixtureDatabase> dbs = {
      BuildDatabase(IosAddressBook(), folder / "build"),
      BuildDatabase(IosMessages(30, {JournalMode::kPersist, true, 4}), folder / "build"),
      BuildDatabase(AndroidCallLog(10), folder / "build")};
  DatabasePlan hidden = IosMessages(0);
  for (int i = 0; i < 10; ++i)
    hidden.tables[0].rows.emplace_back(i + 1, SampleMessage(14, 100 + i));
  const FixtureDatabase nested = BuildDatabase(hidden, folder / "build-nested");

  std::vector<FixtureFile> files;
  for (const FixtureDatabase& db : dbs) files.insert(files.end(), db.files.begin(), db.files.end());
  const auto backup = folder / "backup";
  WriteBackupFolder(backup, files, nested.files);
  auto scan = RunScan(backup, kPlatformItunes);
  EXPECT_TRUE(scan->log.entries.empty());

  // Expected stores: file by file in ascending byte order of the names.
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
  EXPECT_EQ(scan->stores.phoneBook.size(), 4u);
  ExpectListsShow(scan->stores, expected, true);
  for (const FixtureRow& row : nested.rows) {
    EXPECT_EQ(CountFound(scan->stores, row.expected), 0u) << "subfolder entered: " << Describe(row);
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velkor::e2e
