// The record scan on real databases of current phones' layouts: the live
// rows of every family are found with the right number, text, time and
// direction, no row of an unrelated table is taken, and the lists keep the
// code page 936 view beside the full texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "engine/record_rows.h"
#include "engine/record_scan.h"
#include "engine/text_codec.h"
#include "tests/phones/phone_layouts.h"

namespace velkor::phones {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// Fields of found unlike expected's (an empty one matching if emptyMatches).
size_t Differing(const Texts& expected, const Texts& found, bool emptyMatches) {
  if (expected.size() != found.size()) return found.size() + 1;
  size_t differing = 0;
  for (size_t i = 0; i < found.size(); ++i) {
    differing += found[i] != expected[i] && !(emptyMatches && found[i].empty());
  }
  return differing;
}

struct Score {
  size_t live = 0, liveFound = 0, deletedFound = 0;
  size_t damaged = 0;  // a copy of a row with one field overwritten
  size_t falseRows = 0;
};

// A found row counts as recovered when each of its non-empty texts is the
// expected one (a deleted row may come back with fields lost).
Score Compare(const std::vector<ExpectedRow>& expected, const std::vector<Texts>& found) {
  Score s;
  for (const ExpectedRow& row : expected) {
    const bool hit = std::find(found.begin(), found.end(), row.texts) != found.end();
    (row.deleted ? s.deletedFound : s.liveFound) += hit;
    s.live += !row.deleted;
  }
  for (const Texts& f : found) {
    auto any = [&](bool emptyMatches, size_t differing) {
      return std::any_of(expected.begin(), expected.end(), [&](const ExpectedRow& row) {
        return Differing(row.texts, f, emptyMatches) == differing;
      });
    };
    if (!any(true, 0)) (any(false, 1) ? s.damaged : s.falseRows) += 1;
  }
  return s;
}

std::vector<Texts> ListRows(const RecordStores& stores, int tab, RowTextForm form) {
  std::vector<Texts> rows;
  for (size_t i = 0; i < RecordRowCount(stores, tab); ++i) {
    const RowTexts row = RecordRow(stores, tab, i, form);
    rows.emplace_back();
    for (size_t c = 1; c < row.size(); ++c) rows.back().push_back(ToUtf8(row[c]));
  }
  return rows;
}

RecordStores Scan(const fs::path& path, uint8_t platform) {
  ScanInput input{.imagePath = path, .platform = platform};
  RecordScanOptions options;
  options.recordTypeMask = kTypeSms | kTypePhoneBook | kTypeCalls;
  RecordStores stores;
  EXPECT_TRUE(ScanRecords(input, options, stores).opened);
  return stores;
}

// The code page list texts are the full ones through that page, and lost
// characters somewhere (Hangul, emoji and accents are among the texts).
void ExpectListTextsOfFullTexts(const std::vector<Texts>& full, const RecordStores& stores,
                                const PhoneFamily& family) {
  const std::vector<Texts> listed = ListRows(stores, family.tab, RowTextForm::kCodePage);
  ASSERT_EQ(listed.size(), full.size());
  size_t lossy = 0;
  for (size_t r = 0; r < listed.size(); ++r) {
    for (size_t c = 0; c < listed[r].size(); ++c) {
      EXPECT_EQ(listed[r][c], ToUtf8(ThroughAnsiCodePage(FromUtf8(full[r][c]))));
      lossy += listed[r][c] != full[r][c];
    }
  }
  EXPECT_GT(lossy, 0u) << family.name;
}

void ExpectFound(const PhoneFamily& family, const std::vector<ExpectedRow>& expected,
                 const RecordStores& stores, const char* where) {
  const std::vector<Texts> found = ListRows(stores, family.tab, RowTextForm::kUnicode);
  const Score s = Compare(expected, found);
  std::printf("%-40s %-7s live %zu found %zu, deleted found %zu, damaged %zu, false %zu\n",
              family.name.c_str(), where, s.live, s.liveFound, s.deletedFound, s.damaged,
              s.falseRows);
  EXPECT_GT(s.live, 0u) << family.name;
  EXPECT_GE(s.liveFound * 100, s.live * 95) << family.name << " in " << where;
  EXPECT_EQ(s.falseRows, 0u) << family.name << " in " << where;
  for (int tab : {kTabSms, kTabPhoneBook, kTabCalls}) {
    EXPECT_TRUE(tab == family.tab || RecordRowCount(stores, tab) == 0) << family.name;
  }
  ExpectListTextsOfFullTexts(found, stores, family);
}

class PhoneScanTest : public ::testing::Test {
 protected:
  const fs::path dir =
      fs::temp_directory_path() /
      ("velkor_phones_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { fs::create_directories(dir / "backup"); }
  void TearDown() override { fs::remove_all(dir); }

  fs::path WriteUnrelated(bool ios) {
    const fs::path path = dir / (ios ? "unrelated_ios.db" : "unrelated_android.db");
    WriteDatabase(path, UnrelatedTables(ios), false);
    return path;
  }
  static std::vector<ExpectedRow> Write(const PhoneFamily& family, const fs::path& path) {
    return WriteDatabase(path, family.script, family.secureDelete, family.deletes, family.listing);
  }
};

// Each family's database between unrelated tables of its platform, in a raw
// image whose files start at 4096 or at 512 byte boundaries.
TEST_F(PhoneScanTest, EveryFamilyFoundInRawImages) {
  const fs::path unrelated[] = {WriteUnrelated(false), WriteUnrelated(true)};
  std::vector<PhoneFamily> families = AndroidFamilies();
  for (PhoneFamily& family : IosFamilies()) families.push_back(std::move(family));
  for (size_t n = 0; n < families.size(); ++n) {
    const PhoneFamily& family = families[n];
    const auto expected = Write(family, dir / "family.db");
    const fs::path& around = unrelated[family.platform == kPlatformIos];
    WriteImage(dir / "image.bin", {around, dir / "family.db", around}, n % 2 ? 512 : 4096);
    ExpectFound(family, expected, Scan(dir / "image.bin", family.platform), "image");
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
  const fs::path folder = dir / "backup";
  fs::copy_file(WriteUnrelated(true), folder / "3d0d7e5fb2ce288813306e4d4636395e047a3d28");
  for (const PhoneFamily& family : IosFamilies()) {
    const auto expected = Write(family, folder / "ab7c2e1f0d5e4b6a8c9d0e1f2a3b4c5d6e7f8091");
    ExpectFound(family, expected, Scan(folder, kPlatformItunes), "backup");
  }
}

}  // namespace
}  // namespace velkor::phones
