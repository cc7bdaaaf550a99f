// Deleted rows whose first four bytes a freeblock header took, rebuilt by the
// deep scan from real SQLite files placed in images at several alignments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include <unistd.h>

#include "engine/record_provenance.h"
#include "engine/record_scan.h"
#include "engine/record_scan_parts.h"
#include "engine/text_codec.h"
#include "tests/deep/freed_rows.h"
#include "tests/fixtures/image_builder.h"
#include "tests/support/test_doubles.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
using deep::DeletePattern;
using deep::ScanWindows;
using fixtures::ExpectedPart;
using fixtures::ExpectedRecord;

// Every classic fixture layout but the iOS person, whose rows are keyed by the
// rowid a freed cell has lost.
const std::vector<RecordCategory> kCategories = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16};
// The current phones' tables; the person and the handle are freed too, to
// show that none of their rows comes back.
const deep::PhoneTable kPhoneTables[] = {
    {"android sms, 19 columns", "sms", kCategoryAndroidSms},
    {"android sms, 49 columns", "sms", kCategoryAndroidSms},
    {"android calls of calllog.db", "calls", kCategoryCallLogDb},
    {"android calls of contacts2.db", "calls", kCategoryContactsCalls},
    {"android data with hash_id", "data", kCategoryHashIdData},
    {"iOS 7 message + handle", "message", kCategoryIosMessage},
    {"iOS 11 message + handle", "message", kCategoryIosMessage},
    {"iOS 7 message + handle", "handle", kCategoryIosHandle},
    {"iOS 11 message + handle", "handle", kCategoryIosHandle},
    {"iOS ABPerson + 7-column ABMultiValue", "ABPerson", 12},
    {"iOS ABPerson + 7-column ABMultiValue", "ABMultiValue", kCategoryMultiValueGuid},
    {"iOS call_history.db", "call", kCategoryIosCallHistory},
    {"iOS ZCALLRECORD", "ZCALLRECORD", kCategoryCallRecord}};
// Rows keyed by the lost rowid: refused, so never rebuilt.
constexpr RecordCategory kRefused[] = {12, kCategoryIosHandle};
constexpr uint64_t kImageSize = 2 * fixtures::kMiB;
// Odd, sector and page alignment; the first straddles the window boundary.
constexpr uint64_t kPlacements[] = {fixtures::kMiB - 200001, 512 * 601, 4096 * 75};

std::vector<DeletePattern> Patterns() {
  DeletePattern scattered{"scattered", {}, 0}, runs{"runs", {}, 0};
  DeletePattern end{"end of cell area", {}, 0}, reused{"reused", {}, 12};
  for (int64_t r = 3; r <= deep::kRowsPerTable; r += 4) scattered.deleted.push_back(r);
  for (int64_t r = 20; r <= 25; ++r) runs.deleted.push_back(r);
  for (int64_t r = 64; r >= 60; --r) runs.deleted.push_back(r);  // each merges with the one before
  for (int64_t r = 100; r <= 108; ++r) runs.deleted.push_back(r);
  for (int64_t r = deep::kRowsPerTable - 8; r <= deep::kRowsPerTable; ++r) end.deleted.push_back(r);
  for (int64_t r = 2; r <= deep::kRowsPerTable; r += 3) reused.deleted.push_back(r);
  return {scattered, runs, end, reused};
}

// The fields a record is compared by, as one line, without where it was found.
std::string Fields(const ExpectedRecord& record) {
  std::ostringstream out;
  out << record.index();
  auto put = [&out](const auto&... values) { ((out << '|' << values), ...); };
  auto putTexts = [&out](const auto&... texts) {
    ((out << '|' << texts.size() << ':' << ToUtf8(texts)), ...);
  };
  std::visit(
      [&](const auto& r) {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, SmsRecord>) {
          putTexts(r.number, r.content);
          put(int{r.status}, r.time);
        } else if constexpr (std::is_same_v<R, CallRecord>) {
          putTexts(r.number, r.name, r.location);
          put(r.time, int{r.callType}, r.count);
        } else if constexpr (std::is_same_v<R, ContactEvent>) {
          putTexts(r.number, r.name, r.location, r.content);
          put(r.time, int{r.direction}, r.count);
        } else if constexpr (std::is_same_v<R, WeChatRecord>) {
          putTexts(r.contact, r.content);
          put(r.time);
        } else if constexpr (std::is_same_v<R, ExpectedPart>) {
          putTexts(r.part.text);
          put(r.key, int{r.part.mark});
        }
      },
      record);
  return out.str();
}

struct Found {
  uint64_t offset = 0;
  std::string fields;
  bool operator==(const Found&) const = default;
};

std::vector<Found> RecordsFound(const RecordBatch& batch, FoundBy how) {
  std::vector<Found> out;
  auto add = [&](const auto& records) {
    for (const auto& r : records)
      if (r.origin.found == how) out.push_back({r.origin.offset, Fields(r)});
  };
  add(batch.smsRecords);
  add(batch.callRecords);
  add(batch.contactEvents);
  add(batch.weChatRecords);
  for (const auto& [key, part] : batch.contactParts.parts)
    if (part.found == how) out.push_back({part.offset, Fields(ExpectedPart{key, part})});
  return out;
}

struct Tally {
  int freed = 0;      // rows that lost only their first four bytes
  int recovered = 0;  // of those, rebuilt with their own values
  int rebuilt = 0;    // rebuilt records attributed to the category
  int right = 0;
};

const std::vector<deep::FreedDatabase>& Databases() {
  static const std::vector<deep::FreedDatabase> databases = [] {
    // One folder per process: ctest runs the tests of this suite side by side.
    const fs::path folder =
        fs::temp_directory_path() / ("velkor_deep_rows_" + std::to_string(getpid()));
    std::vector<deep::FreedDatabase> out;
    std::vector<phones::PhoneFamily> families = phones::AndroidFamilies();
    for (phones::PhoneFamily& family : phones::IosFamilies()) families.push_back(std::move(family));
    for (const DeletePattern& pattern : Patterns()) {
      out.push_back(deep::BuildFreedDatabase(kCategories, pattern, folder / pattern.name));
      for (size_t n = 0; n < std::size(kPhoneTables); ++n) {
        const deep::PhoneTable& table = kPhoneTables[n];
        const auto family = std::find_if(families.begin(), families.end(),
                                         [&](const auto& f) { return f.name == table.family; });
        out.push_back(deep::BuildFreedPhoneDatabase(*family, table, pattern,
                                                    folder / pattern.name / std::to_string(n)));
      }
    }
    fs::remove_all(folder);
    return out;
  }();
  return databases;
}

std::vector<uint8_t> ImageWith(const std::vector<uint8_t>& file, uint64_t at) {
  fixtures::ImageBuilder builder(kImageSize, fixtures::Filler::kRandom, at);
  builder.Place(at, "freed.db", file);
  std::vector<uint8_t> image(kImageSize);
  builder.ReadRange(0, image.data(), image.size());
  return image;
}

uint32_t BigEndian16(const std::vector<uint8_t>& bytes, uint64_t at) {
  return static_cast<uint32_t>(bytes[at]) << 8 | bytes[at + 1];
}

// Recall and precision per category; every rebuilt row points at a freeblock
// header covering its cell, and the whole cells' records (order and offsets
// included) are those of the scan without deep.
TEST(DeepRows, RebuildsFreedRowsOfEveryCategoryWithTheirOwnValues) {
  std::map<RecordCategory, Tally> tally;
  int unattributed = 0;
  for (const deep::FreedDatabase& db : Databases()) {
    // Every place in the file where a row's cell lies with its first four
    // bytes or more intact: older copies left by page splits count too.
    std::map<uint64_t, const fixtures::FixtureRow*> cellAt;
    for (const fixtures::FixtureRow& row : db.database.rows) {
      const std::vector<uint8_t> tail(row.cell.begin() + 4, row.cell.end());
      for (auto at = std::search(db.after.begin(), db.after.end(), tail.begin(), tail.end());
           at != db.after.end();
           at = std::search(at + 1, db.after.end(), tail.begin(), tail.end())) {
        if (at - db.after.begin() >= 4)
          cellAt[static_cast<uint64_t>(at - db.after.begin()) - 4] = &row;
      }
    }
    for (const uint64_t base : kPlacements) {
      const std::vector<uint8_t> image = ImageWith(db.after, base);
      std::vector<Found> rebuilt;
      for (const uint8_t platform : {kPlatformAndroid, kPlatformIos}) {
        const RecordBatch batch = ScanWindows(image, platform, true);
        for (Found& f : RecordsFound(batch, FoundBy::kFreeblock)) rebuilt.push_back(std::move(f));
        if (base == kPlacements[0]) {
          EXPECT_TRUE(RecordsFound(ScanWindows(image, platform, false), FoundBy::kCell) ==
                      RecordsFound(batch, FoundBy::kCell));
        }
      }
      for (const deep::FreedRow& freed : db.freed) {
        Tally& t = tally[freed.row->category];
        ++t.freed;
        t.recovered += std::any_of(rebuilt.begin(), rebuilt.end(), [&](const Found& f) {
          return f.offset == base + freed.offset && f.fields == Fields(freed.row->expected);
        });
      }
      for (const Found& f : rebuilt) {
        const uint32_t next = BigEndian16(image, f.offset);
        const uint32_t size = BigEndian16(image, f.offset + 2);
        EXPECT_TRUE(next == 0 || next > size) << f.offset;
        const auto row = f.offset >= base ? cellAt.find(f.offset - base) : cellAt.end();
        // A row rebuilt where no row's cell lies is wrong: a freed cell
        // whose end a later insert took can read as a shorter cell.
        if (row == cellAt.end()) {
          ++unattributed;
          continue;
        }
        EXPECT_GE(size, row->second->cell.size()) << f.offset;
        Tally& t = tally[row->second->category];
        ++t.rebuilt;
        t.right += f.fields == Fields(row->second->expected) ? 1 : 0;
      }
    }
  }
  int rebuiltAll = unattributed;
  int rightAll = 0;
  std::printf("category  freed rows  recovered  recall  rebuilt  right  precision\n");
  for (const auto& [category, t] : tally) {
    const double recall = t.freed == 0 ? 1.0 : double(t.recovered) / t.freed;
    const double precision = t.rebuilt == 0 ? 1.0 : double(t.right) / t.rebuilt;
    std::printf("%8d  %10d  %9d  %6.3f  %7d  %5d  %9.3f\n", category, t.freed, t.recovered, recall,
                t.rebuilt, t.right, precision);
    rebuiltAll += t.rebuilt;
    rightAll += t.right;
    if (std::count(std::begin(kRefused), std::end(kRefused), category) > 0) {
      EXPECT_EQ(t.rebuilt, 0) << "category " << int{category};
      continue;
    }
    EXPECT_GE(recall, 0.85) << "category " << int{category};
    EXPECT_GE(precision, 0.95) << "category " << int{category};
  }
  std::printf("all rebuilt %d, right %d, at no row's cell %d\n", rebuiltAll, rightAll,
              unattributed);
  EXPECT_GE(rightAll, rebuiltAll * 95 / 100);
}

}  // namespace
}  // namespace velkor
