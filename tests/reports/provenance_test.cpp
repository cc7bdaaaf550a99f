// Every record names the cell it came from: decoding the bytes at its offset
// gives the record back, in the image and in the files of a backup folder,
// on one thread and several.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/record_provenance.h"
#include "engine/record_rows.h"
#include "engine/record_scan_parts.h"
#include "tests/fixtures/fixture_sets.h"
#include "tests/fixtures/sample_image.h"
#include "tests/support/test_support.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

// The records of the cell starting at offset, found as the scan finds them:
// a window from the offset with the bytes that follow it.
RecordBatch RecordsAt(const test::Bytes& bytes, uint64_t offset, uint8_t platform) {
  const uint64_t length = std::min<uint64_t>(kWindowSize, bytes.size() - offset);
  std::vector<uint8_t> window(length + kWindowSlack, 0);
  const uint64_t held = std::min<uint64_t>(window.size(), bytes.size() - offset);
  std::memcpy(window.data(), bytes.data() + offset, held);
  WindowScratch scratch;
  RecordBatch batch;
  CollectWindowRecords(window.data(), static_cast<uint32_t>(length), platform, true, scratch, batch,
                       {}, offset);
  return batch;
}

// An iOS message takes its number from its handle's cell, so sameNumber is
// false for it.
template <typename Store, typename Record>
bool HasRecordAt(const Store& records, uint64_t offset, const Record& wanted, bool sameNumber) {
  return std::any_of(records.begin(), records.end(), [&](const Record& r) {
    if (r.origin.offset != offset || r.time != wanted.time) return false;
    if constexpr (std::is_same_v<Record, SmsRecord>) {
      return r.content == wanted.content && (!sameNumber || r.number == wanted.number);
    } else if constexpr (std::is_same_v<Record, WeChatRecord>) {
      return r.contact == wanted.contact && r.content == wanted.content;
    } else {
      return r.number == wanted.number && r.name == wanted.name;
    }
  });
}

// Checks every stored record against the cell at its offset in the bytes of
// its file (bytesOf(file index)).
template <typename BytesOf>
void ExpectEveryRecordAtItsOffset(const RecordStores& stores, uint8_t platform, BytesOf bytesOf) {
  auto check = [&](const auto& records, auto batchList, const char* list) {
    for (size_t i = 0; i < records.size(); ++i) {
      const auto& r = records[i];
      const RecordBatch at = RecordsAt(bytesOf(r.origin.file), r.origin.offset, platform);
      EXPECT_TRUE(HasRecordAt(at.*batchList, r.origin.offset, r, platform == kPlatformAndroid))
          << list << " row " << i + 1 << " at " << r.origin.offset;
    }
  };
  check(stores.sms, &RecordBatch::smsRecords, "sms");
  check(stores.calls, &RecordBatch::callRecords, "calls");
  check(stores.contactEvents, &RecordBatch::contactEvents, "contacts");
  check(stores.weChat, &RecordBatch::weChatRecords, "wechat");
  for (size_t i = 0; i < stores.phoneBook.size(); ++i) {
    const PhoneBookEntry& entry = stores.phoneBook[i];
    SCOPED_TRACE("phone book row " + std::to_string(i + 1));
    ASSERT_FALSE(entry.offsets.empty());
    EXPECT_TRUE(std::is_sorted(entry.offsets.begin(), entry.offsets.end()));
    EXPECT_EQ(entry.origin.offset, entry.offsets.front());
    int64_t key = 0;
    for (size_t k = 0; k < entry.offsets.size(); ++k) {
      const RecordBatch at = RecordsAt(bytesOf(entry.origin.file), entry.offsets[k], platform);
      const auto& parts = at.contactParts.parts;
      const auto part = std::find_if(parts.begin(), parts.end(), [&](const auto& p) {
        return p.second.offset == entry.offsets[k] && p.second.mark <= 1;
      });
      ASSERT_NE(part, parts.end());
      const std::u16string& texts = part->second.mark == 0 ? entry.name : entry.number;
      EXPECT_NE(texts.find(part->second.text), std::u16string::npos);
      if (k == 0) key = part->first;
      EXPECT_EQ(part->first, key) << "parts of two contacts";
    }
  }
}

size_t RowCount(const RecordStores& stores) {
  return stores.sms.size() + stores.calls.size() + stores.contactEvents.size() +
         stores.weChat.size() + stores.phoneBook.size();
}

TEST(Provenance, EveryRecordDecodesAtItsOffsetInTheImage) {
  test::TempFolder work;
  const fs::path imagePath = work.path / "sample.img";
  fixtures::MakeSampleImage(work.path).image.WriteFile(imagePath);
  const test::Bytes bytes = test::ReadBytes(imagePath);
  RecordStores stores;  // several threads: the windows are stamped apart
  ASSERT_TRUE(ScanRecords({.imagePath = imagePath}, {.recordTypeMask = 0x1ff, .threads = 3}, stores)
                  .opened);
  ASSERT_GT(RowCount(stores), 100u);
  EXPECT_TRUE(stores.files.empty());
  ExpectEveryRecordAtItsOffset(stores, kPlatformAndroid, [&](uint32_t file) -> const test::Bytes& {
    EXPECT_EQ(file, 0u);
    return bytes;
  });
}

TEST(Provenance, BackupFilesAreNamedAndOffsetsCountInTheirFile) {
  test::TempFolder work;
  const fs::path folder = work.path / "backup";
  fs::create_directories(folder);
  size_t n = 0;
  for (const fixtures::DatabasePlan& plan :
       {fixtures::IosAddressBook(),
        fixtures::IosMessages(40, {fixtures::JournalMode::kPersist, true, 4}),
        fixtures::AndroidCallLog(20)}) {
    for (const fixtures::FixtureFile& file :
         fixtures::BuildDatabase(plan, work.path / "made").files)
      test::WriteBytes(folder / ("文件 " + std::to_string(n++)), file.bytes);
  }
  RecordStores stores;
  ASSERT_TRUE(ScanRecords({.imagePath = folder, .platform = kPlatformItunes},
                          {.recordTypeMask = 0x1ff}, stores)
                  .opened);
  ASSERT_EQ(stores.files.size(), n);
  ASSERT_GT(RowCount(stores), 50u);
  std::vector<test::Bytes> files;
  for (const fs::path& name : stores.files) {
    EXPECT_TRUE(name.is_relative()) << name;
    files.push_back(test::ReadBytes(folder / name));
  }
  ExpectEveryRecordAtItsOffset(stores, kPlatformItunes, [&](uint32_t file) -> const test::Bytes& {
    EXPECT_GE(file, 1u);
    return files.at(file - 1);
  });
}

}  // namespace
}  // namespace velkor
