// The record scan on real databases of current phones' layouts: the live
// rows of every family are found with the right number, text, time and
// direction, and no row of an unrelated table is taken.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/record_rows.h"
#include "engine/record_scan.h"
#include "engine/text_codec.h"
#include "tests/phones/phone_layouts.h"

namespace velkor::phones {
namespace {

namespace fs = std::filesystem;

struct Score {
  size_t live = 0;
  size_t liveFound = 0;
  size_t deletedFound = 0;
  size_t damaged = 0;  // a copy of a row with one field overwritten
  size_t falseRows = 0;
};

using Rows = std::vector<std::vector<std::string>>;

// A found row counts as recovered when each of its non-empty texts is the
// expected one (a deleted row may come back with fields lost).
bool Covers(const std::vector<std::string>& expected, const std::vector<std::string>& found) {
  if (expected.size() != found.size()) return false;
  for (size_t i = 0; i < found.size(); ++i) {
    if (!found[i].empty() && found[i] != expected[i]) return false;
  }
  return true;
}

bool Damaged(const std::vector<ExpectedRow>& expected, const std::vector<std::string>& found) {
  for (const ExpectedRow& row : expected) {
    size_t differing = 0;
    for (size_t i = 0; i < found.size() && i < row.texts.size(); ++i) {
      differing += found[i] != row.texts[i];
    }
    if (row.texts.size() == found.size() && differing == 1) return true;
  }
  return false;
}

Score Compare(const std::vector<ExpectedRow>& expected, const Rows& found) {
  Score score;
  for (const ExpectedRow& row : expected) {
    bool hit = false;
    for (const auto& f : found) hit = hit || f == row.texts;
    if (row.deleted) {
      score.deletedFound += hit;
    } else {
      score.live += 1;
      score.liveFound += hit;
    }
  }
  for (const auto& f : found) {
    bool known = false;
    for (const ExpectedRow& row : expected) known = known || Covers(row.texts, f);
    score.damaged += !known && Damaged(expected, f);
    score.falseRows += !known && !Damaged(expected, f);
  }
  return score;
}

class PhoneScanTest : public ::testing::Test {
 protected:
  fs::path dir =
      fs::temp_directory_path() /
      ("velkor_phones_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }

  fs::path WriteFamily(const PhoneFamily& family, const std::string& fileName) {
    const fs::path path = dir / fileName;
    WriteDatabase(path, family.tables, family.secureDelete);
    return path;
  }
  fs::path WriteUnrelated(bool ios) {
    std::vector<std::string> sql;
    const std::vector<TableContent> tables = UnrelatedTables(ios, sql);
    const fs::path path = dir / (ios ? "unrelated_ios.db" : "unrelated_android.db");
    WriteDatabase(path, tables, false, sql);
    return path;
  }

  RecordStores Scan(const fs::path& path, uint8_t platform) {
    ScanInput input;
    input.imagePath = path;
    input.platform = platform;
    RecordScanOptions options;
    options.recordTypeMask = kTypeSms | kTypePhoneBook | kTypeCalls;
    RecordStores stores;
    EXPECT_TRUE(ScanRecords(input, options, stores).opened);
    return stores;
  }

  static Rows ListRows(const RecordStores& stores, int tab, RowTextForm form) {
    Rows rows;
    for (size_t i = 0; i < RecordRowCount(stores, tab); ++i) {
      RowTexts row = RecordRow(stores, tab, i, form);
      std::vector<std::string> texts;
      for (size_t c = 1; c < row.size(); ++c) texts.push_back(ToUtf8(row[c]));
      rows.push_back(texts);
    }
    return rows;
  }

  static void ExpectFound(const PhoneFamily& family, const RecordStores& stores,
                          const char* where) {
    const Score s = Compare(family.rows, ListRows(stores, family.tab, RowTextForm::kUnicode));
    std::printf("%-40s %-7s live %zu found %zu, deleted found %zu, damaged %zu, false %zu\n",
                family.name.c_str(), where, s.live, s.liveFound, s.deletedFound, s.damaged,
                s.falseRows);
    EXPECT_GE(s.liveFound * 100, s.live * 95) << family.name << " in " << where;
    EXPECT_EQ(s.falseRows, 0u) << family.name << " in " << where;
    for (int tab : {kTabSms, kTabPhoneBook, kTabCalls}) {
      if (tab != family.tab) {
        EXPECT_EQ(RecordRowCount(stores, tab), 0u) << family.name;
      }
    }
  }
};

// Each family's database between unrelated tables of its platform, in a raw
// image whose files start at 4096 or at 512 byte boundaries.
TEST_F(PhoneScanTest, EveryFamilyFoundInRawImages) {
  const fs::path unrelatedAndroid = WriteUnrelated(false);
  const fs::path unrelatedIos = WriteUnrelated(true);
  int n = 0;
  for (const PhoneFamily& family : PhoneFamilies()) {
    const fs::path db = WriteFamily(family, "family.db");
    const fs::path unrelated = family.platform == kPlatformIos ? unrelatedIos : unrelatedAndroid;
    const uint32_t alignment = n++ % 2 == 0 ? 4096 : 512;
    WriteImage(dir / "image.bin", {unrelated, db, unrelated}, alignment);
    ExpectFound(family, Scan(dir / "image.bin", family.platform), "image");
  }
}

TEST_F(PhoneScanTest, UnrelatedTablesGiveNoRows) {
  for (bool ios : {false, true}) {
    for (uint8_t platform : {kPlatformAndroid, kPlatformIos}) {
      const RecordStores stores = Scan(WriteUnrelated(ios), platform);
      for (int tab : {kTabSms, kTabPhoneBook, kTabCalls, kTabAllContacts}) {
        EXPECT_EQ(RecordRowCount(stores, tab), 0u)
            << "tables of " << (ios ? "iOS" : "Android") << ", tab " << tab;
      }
    }
  }
}

// A backup folder: every file named by a hash, scanned one after another.
TEST_F(PhoneScanTest, IosFamiliesFoundInBackupFolders) {
  const fs::path folder = dir / "backup";
  fs::create_directories(folder);
  fs::copy_file(WriteUnrelated(true), folder / "3d0d7e5fb2ce288813306e4d4636395e047a3d28");
  for (const PhoneFamily& family : IosFamilies()) {
    WriteFamily(family, "family.db");
    fs::copy_file(dir / "family.db", folder / "ab7c2e1f0d5e4b6a8c9d0e1f2a3b4c5d6e7f8091",
                  fs::copy_options::overwrite_existing);
    ExpectFound(family, Scan(folder, kPlatformItunes), "backup");
  }
}

// The lists keep the code page 936 view; the records keep the full texts,
// which the Unicode form shows and which differ only where that page lost
// characters.
TEST_F(PhoneScanTest, FullTextsKeptBesideTheListTexts) {
  for (const PhoneFamily& family : PhoneFamilies()) {
    if (family.name != "android sms, 19 columns" &&
        family.name != "iOS ABPerson + 7-column ABMultiValue") {
      continue;
    }
    const RecordStores stores = Scan(WriteFamily(family, "family.db"), family.platform);
    const Rows listed = ListRows(stores, family.tab, RowTextForm::kCodePage);
    const Rows full = ListRows(stores, family.tab, RowTextForm::kUnicode);
    ASSERT_EQ(listed.size(), full.size());
    size_t lossy = 0;
    for (size_t r = 0; r < listed.size(); ++r) {
      for (size_t c = 0; c < listed[r].size(); ++c) {
        EXPECT_EQ(listed[r][c], ToUtf8(ThroughAnsiCodePage(FromUtf8(full[r][c]))));
        lossy += listed[r][c] != full[r][c];
      }
    }
    EXPECT_GT(lossy, 0u) << family.name;  // Hangul, emoji and accents were among the texts
  }
}

}  // namespace
}  // namespace velkor::phones
