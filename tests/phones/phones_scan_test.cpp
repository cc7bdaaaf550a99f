// The record scan on real databases of current phones' layouts: the live
// rows of every family are found with the right number, text, time and
// direction, no row of an unrelated table is taken, and the lists keep the
// code page 936 view beside the full texts.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/record_rows.h"
#include "engine/record_scan.h"
#include "engine/text_codec.h"
#include "tests/fixtures/image_builder.h"
#include "tests/phones/phone_layouts.h"
#include "tests/support/test_support.h"

namespace velkor::phones {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

std::vector<Texts> ListRows(const RecordStores& stores, int tab, RowTextForm form) {
  std::vector<Texts> rows(RecordRowCount(stores, tab));
  for (size_t i = 0; i < rows.size(); ++i) {
    const RowTexts row = RecordRow(stores, tab, i, form);
    for (size_t c = 1; c < row.size(); ++c) rows[i].push_back(ToUtf8(row[c]));
  }
  return rows;
}

RecordStores Scan(const fs::path& path, uint8_t platform) {
  RecordScanOptions options;
  options.recordTypeMask = kTypeSms | kTypePhoneBook | kTypeCalls;
  RecordStores stores;
  EXPECT_TRUE(ScanRecords({.imagePath = path, .platform = platform}, options, stores).opened);
  return stores;
}

// A found row comes from an expected one when each of its non-empty texts is
// the expected text (a deleted row may come back with fields lost) or when
// just one text differs (a field overwritten).
bool FromExpected(const Texts& found, const Texts& expected) {
  if (found.size() != expected.size()) return false;
  size_t differ = 0, lost = 0;
  for (size_t i = 0; i < found.size(); ++i) {
    differ += found[i] != expected[i];
    lost += found[i] != expected[i] && found[i].empty();
  }
  return differ == lost || differ == 1;
}

// Nearly every live row is found and no row comes from nowhere; the code page
// list texts are the full ones through that page, which loses characters.
void ExpectFound(const PhoneFamily& family, const std::vector<ExpectedRow>& expected,
                 const RecordStores& stores, const char* where) {
  SCOPED_TRACE(family.name + " in " + where);
  const std::vector<Texts> found = ListRows(stores, family.tab, RowTextForm::kUnicode);
  size_t live = 0, liveFound = 0;
  for (const ExpectedRow& row : expected) {
    live += !row.deleted;
    liveFound += !row.deleted && std::count(found.begin(), found.end(), row.texts) > 0;
  }
  EXPECT_GT(live, 0u);
  EXPECT_GE(liveFound * 100, live * 95);
  for (const Texts& f : found) {
    EXPECT_TRUE(std::any_of(expected.begin(), expected.end(),
                            [&](const ExpectedRow& row) { return FromExpected(f, row.texts); }))
        << "false row " << testing::PrintToString(f);
  }
  for (int tab : {kTabSms, kTabPhoneBook, kTabCalls, kTabAllContacts}) {
    EXPECT_TRUE(tab == family.tab || RecordRowCount(stores, tab) == 0) << tab;
  }
  const std::vector<Texts> listed = ListRows(stores, family.tab, RowTextForm::kCodePage);
  ASSERT_EQ(listed.size(), found.size());
  size_t lossy = 0;
  for (size_t r = 0; r < listed.size(); ++r) {
    for (size_t c = 0; c < listed[r].size(); ++c) {
      EXPECT_EQ(listed[r][c], ToUtf8(ThroughAnsiCodePage(FromUtf8(found[r][c]))));
      lossy += listed[r][c] != found[r][c];
    }
  }
  EXPECT_GT(lossy, 0u);  // Hangul, emoji and accents are among the texts
}

class PhoneScanTest : public ::testing::Test {
 protected:
  test::TempFolder temp;
  fs::path WriteUnrelated(bool ios) {
    const fs::path path = temp.path / (ios ? "unrelated_ios.db" : "unrelated_android.db");
    WriteDatabase(path, UnrelatedTables(ios));
    return path;
  }
};

// Each family's database between unrelated tables of its platform, in a raw
// image whose files start at 4096 or at 512 byte boundaries (the gaps random).
TEST_F(PhoneScanTest, EveryFamilyFoundInRawImages) {
  const fs::path unrelated[] = {WriteUnrelated(false), WriteUnrelated(true)};
  std::vector<PhoneFamily> families = AndroidFamilies();
  for (PhoneFamily& family : IosFamilies()) families.push_back(std::move(family));
  for (size_t n = 0; n < families.size(); ++n) {
    const auto expected = WriteDatabase(temp.path / "family.db", families[n]);
    const fs::path& around = unrelated[families[n].platform == kPlatformIos];
    const uint64_t align = n % 2 ? 512 : 4096;
    std::vector<std::pair<uint64_t, std::vector<uint8_t>>> files;
    uint64_t end = 0;
    for (const fs::path& file : {around, temp.path / "family.db", around}) {
      files.emplace_back(end, test::ReadBytes(file));
      end = (end + files.back().second.size() + align - 1) / align * align;
    }
    fixtures::ImageBuilder image(end, fixtures::Filler::kRandom, n);
    for (auto& [offset, bytes] : files) image.Place(offset, std::to_string(offset), bytes);
    image.WriteFile(temp.path / "image.bin");
    ExpectFound(families[n], expected, Scan(temp.path / "image.bin", families[n].platform),
                "image");
  }
}

TEST_F(PhoneScanTest, UnrelatedTablesGiveNoRows) {
  for (bool ios : {false, true}) {
    for (uint8_t platform : {kPlatformAndroid, kPlatformIos}) {
      const RecordStores stores = Scan(WriteUnrelated(ios), platform);
      for (int tab : {kTabSms, kTabPhoneBook, kTabCalls, kTabAllContacts}) {
        EXPECT_EQ(RecordRowCount(stores, tab), 0u) << (ios ? "iOS" : "Android") << ", tab " << tab;
      }
    }
  }
}

// A backup folder: every file named by a hash, scanned one after another.
TEST_F(PhoneScanTest, IosFamiliesFoundInBackupFolders) {
  const fs::path folder = temp.path / "backup";
  fs::create_directories(folder);
  fs::copy_file(WriteUnrelated(true), folder / "3d0d7e5fb2ce288813306e4d4636395e047a3d28");
  for (const PhoneFamily& family : IosFamilies()) {
    const auto expected =
        WriteDatabase(folder / "ab7c2e1f0d5e4b6a8c9d0e1f2a3b4c5d6e7f8091", family);
    ExpectFound(family, expected, Scan(folder, kPlatformItunes), "backup");
  }
}

}  // namespace
}  // namespace velkor::phones
