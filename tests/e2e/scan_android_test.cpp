// Record scans of Android images assembled from real databases: every row
// whose cell survives whole is found in the right store with the right
// fields, erased rows are not, and where nothing but the databases can yield
// a record the stores are exactly the rows in the order of their cells.
#include <gtest/gtest.h>

#include <array>

#include "tests/e2e/e2e_support.h"

namespace velkor::e2e {
namespace {

constexpr uint64_t kImageBytes = 6 * kMiB;

struct AndroidCase {
  const char* name;
  Filler filler;
  Deletion deletion;
  std::array<uint64_t, 5> starts;  // contacts, messages, calls, merged log, chat
  bool realFile;                   // scan the written file rather than the builder
  bool exact;                      // no filler or cut cell can add a record
};

const AndroidCase kCases[] = {
    {"AlignedOnZeros",
     Filler::kZeros,
     {},
     {4096, kMiB, 2 * kMiB + 12288, 3 * kMiB, 4 * kMiB + 8192},
     true,
     true},
    {"OddOffsetsOnRandomBytesWithPersistentJournal",
     Filler::kRandom,
     {JournalMode::kPersist, false, 3},
     {777, kMiB + 513, 2 * kMiB + 1001, 3 * kMiB + 4093, 5 * kMiB + 99},
     false,
     false},
    {"OnesWithWalAndSecureDelete",
     Filler::kOnes,
     {JournalMode::kWal, true, 4},
     {512, kMiB + 4096, 2 * kMiB + 511, 3 * kMiB + 1536, 4 * kMiB + 1},
     true,
     true},
    {"RollbackJournalSecureDelete",
     Filler::kZeros,
     {JournalMode::kDelete, true, 3},
     {0, kMiB + 100, 2 * kMiB + 200, 3 * kMiB + 300, 4 * kMiB + 400},
     false,
     true},
    {"RollbackJournalPlainDelete",
     Filler::kZeros,
     {JournalMode::kDelete, false, 4},
     {8192, kMiB + 8192, 2 * kMiB + 8192, 3 * kMiB + 8192, 4 * kMiB + 8192},
     false,
     true},
    {"AcrossWindowBoundaries",
     Filler::kZeros,
     {JournalMode::kPersist, false, 5},
     {kMiB - 6000, 2 * kMiB - 20000, 3 * kMiB - 100, 4 * kMiB - 9000, 5 * kMiB - 4000},
     false,
     false},
};

void PrintTo(const AndroidCase& c, std::ostream* os) {
  *os << c.name;
}

class AndroidImageScan : public ::testing::TestWithParam<AndroidCase> {
 protected:
  void SetUp() override {
    const AndroidCase& c = GetParam();
    folder_ = FreshFolder(std::string("android-") + c.name);
    databases_ = BuildAndroidSet(folder_ / "db", 40, c.deletion);
    for (size_t i = 0; i < databases_.size(); ++i) {
      image_.PlaceDatabase(c.starts[i], databases_[i], 1000);
    }
    const std::filesystem::path path = folder_ / "phone.img";
    if (c.realFile) {
      image_.WriteFile(path);
      scan_ = RunScan(path, kPlatformAndroid);
    } else {
      scan_ = RunScan(path, kPlatformAndroid,
                      [this](const std::filesystem::path&) { return image_.Source(); });
    }
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
  ImageBuilder image_{kImageBytes, GetParam().filler};
  std::vector<FixtureDatabase> databases_;
  std::unique_ptr<Scan> scan_;
};

// Layouts where neither filler nor a cut cell can add a record.
class ExactAndroidImageScan : public AndroidImageScan {};

TEST_P(AndroidImageScan, FindsEverySurvivingRowAndNoErasedOne) {
  EXPECT_TRUE(scan_->log.entries.empty());
  EXPECT_EQ(scan_->result.imageSize, kImageBytes);
  const size_t mustFind = ExpectRowsFound(scan_->stores, image_, databases_);
  EXPECT_GT(mustFind, 250u);
  // Mimetypes other than names and numbers stay out of the phone book.
  for (const PhoneBookEntry& entry : scan_->stores.phoneBook) {
    EXPECT_EQ(entry.name.find(u"ignored"), std::u16string::npos) << "mimetype 8 was taken";
    EXPECT_EQ(entry.number.find(u"ignored"), std::u16string::npos) << "mimetype 8 was taken";
  }
}

// The phone book is the merged parts; every list is the cells in image order.
TEST_P(ExactAndroidImageScan, ListsHoldExactlyTheCellsInImageOrder) {
  const ExpectedStores expected =
      StoresFrom(OccurrencesInScanOrder(image_, databases_, kPlatformAndroid));
  ASSERT_EQ(expected.phoneBook.size(), 10u);  // six contacts in data, four in view_data
  ASSERT_EQ(scan_->stores.phoneBook.size(), 10u);
  // Contact 23's second number lies inside its first and is not repeated.
  EXPECT_EQ(Utf8(scan_->stores.phoneBook[2].name), "Alice Smith");
  EXPECT_EQ(Utf8(scan_->stores.phoneBook[2].number), "13900001002");
  ExpectListsShow(scan_->stores, expected, false);
}

std::vector<AndroidCase> ExactCases() {
  std::vector<AndroidCase> exact;
  for (const AndroidCase& c : kCases) {
    if (c.exact) exact.push_back(c);
  }
  return exact;
}

INSTANTIATE_TEST_SUITE_P(Layouts, AndroidImageScan, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });
INSTANTIATE_TEST_SUITE_P(Layouts, ExactAndroidImageScan, ::testing::ValuesIn(ExactCases()),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(AndroidScan, ASecondScanKeepsOnlyTheSecondImagesRecords) {
  const auto folder = FreshFolder("second-scan");
  const std::vector<FixtureDatabase> set = BuildAndroidSet(folder, 10);
  ImageBuilder first(2 * kMiB, Filler::kZeros);
  first.PlaceDatabase(4096, set[1]);
  first.PlaceDatabase(kMiB, set[0]);
  ImageBuilder second(kMiB, Filler::kZeros);
  second.PlaceDatabase(0, set[4]);
  const ImageBuilder* current = &first;
  auto scan = RunScan(folder / "a.img", kPlatformAndroid,
                      [&](const std::filesystem::path&) { return current->Source(); });
  ASSERT_FALSE(scan->stores.sms.empty());
  ASSERT_FALSE(scan->stores.phoneBook.empty());
  current = &second;
  scan->Run();
  EXPECT_TRUE(scan->stores.sms.empty());
  EXPECT_TRUE(scan->stores.phoneBook.empty());
  EXPECT_EQ(scan->stores.weChat.size(), 10u);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velkor::e2e
