#include "tests/deep/freed_rows.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <stdexcept>

#include "engine/record_scan_parts.h"
#include "engine/varint.h"
#include "tests/fixtures/fixture_sets.h"
#include "tests/support/test_doubles.h"

namespace velkor::deep {
namespace {

namespace fs = std::filesystem;

// The sample messages, with the contact fields the address-book layouts
// use: names and numbers taking turns, two parts to a contact.
fixtures::Message MessageFor(RecordCategory category, int index) {
  fixtures::Message m = fixtures::SampleMessage(category, index);
  m.key = 500 + index / 2;
  m.mime = index % 2 == 0 ? 7 : 5;
  m.text = index % 2 == 0 ? m.name + std::to_string(index) : m.number;
  return m;
}

fixtures::DatabasePlan PlanFor(const std::vector<RecordCategory>& categories,
                               const std::vector<int64_t>& deleted) {
  fixtures::DatabasePlan plan;
  plan.name = "freed.db";
  for (RecordCategory category : categories) {
    fixtures::TableRows table{category, {}, deleted};
    for (int i = 0; i < kRowsPerTable; ++i) table.rows.emplace_back(i + 1, MessageFor(category, i));
    plan.tables.push_back(std::move(table));
  }
  return plan;
}

// Inserts copies of the first count rows of every table under new rowids
// after the fixture's own transactions, as a phone goes on using a
// database: the new rows may take space the deleted ones freed.
void InsertLater(const fs::path& path, int count) {
  // One INSERT a table, its integer key moved by 1000 and a guid, which iOS
  // tables keep unique, changed; pragma_table_info gives the columns in
  // table order.
  const std::string generate =
      "SELECT 'INSERT INTO \"' || m.name || '\" SELECT ' || group_concat(CASE WHEN p.pk = 1 THEN "
      "'rowid + 1000' WHEN p.name = 'guid' THEN 'guid || ''+''' ELSE '\"' || p.name || '\"' END, "
      "', ') || ' FROM \"' || m.name || '\" WHERE rowid <= " +
      std::to_string(count) +
      ";' FROM sqlite_master AS m, pragma_table_info(m.name) AS p WHERE m.type = 'table' "
      "AND m.name NOT LIKE 'sqlite_%' GROUP BY m.name";
  auto append = +[](void* out, int, char** values, char**) {
    *static_cast<std::string*>(out) += values[0];
    return 0;
  };
  sqlite3* db = nullptr;
  std::string sql;
  const bool done = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, generate.c_str(), append, &sql, nullptr) == SQLITE_OK &&
                    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  const std::string error = done ? "" : sqlite3_errmsg(db);
  sqlite3_close(db);
  if (!done) throw std::runtime_error("sqlite: " + error);
}

bool SameBytes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t from,
               size_t to) {
  return to <= a.size() && to <= b.size() &&
         std::equal(a.data() + from, a.data() + to, b.data() + from);
}

// A deleted row's cell at `at` in the file before the delete when it lost
// exactly its first four bytes.
void AddIfFreed(FreedDatabase& out, const fixtures::FixtureRow& row, size_t at) {
  if (!SameBytes(out.before, out.after, at, at + 4) &&
      SameBytes(out.before, out.after, at + 4, at + row.cell.size())) {
    out.freed.push_back({&row, at});
  }
}

// The record each cell of a batch gave first, by the cell's offset.
std::map<uint64_t, fixtures::ExpectedRecord> RecordsByCell(const RecordBatch& batch) {
  std::map<uint64_t, fixtures::ExpectedRecord> out;
  auto add = [&out](const auto& records) {
    for (const auto& r : records)
      if (r.origin.found == FoundBy::kCell) out.emplace(r.origin.offset, r);
  };
  add(batch.smsRecords);
  add(batch.callRecords);
  add(batch.contactEvents);
  add(batch.weChatRecords);
  for (const auto& [key, part] : batch.contactParts.parts)
    if (part.found == FoundBy::kCell) out.emplace(part.offset, fixtures::ExpectedPart{key, part});
  return out;
}

// Two families hold a second table, whose rows are contact parts of their
// own kind: the handles, which lend messages their numbers, and the persons,
// whose names stand beside the multi-values' numbers.
RecordCategory CategoryOf(const fixtures::ExpectedRecord& record, RecordCategory table) {
  const auto* part = std::get_if<fixtures::ExpectedPart>(&record);
  if (part == nullptr) return table;
  if (part->part.mark == kMarkHandle) return kCategoryIosHandle;
  if (table == 12 || table == kCategoryMultiValueGuid) {
    return part->part.mark == 0 ? 12 : kCategoryMultiValueGuid;
  }
  return table;
}

// The cell whose payload-length varint starts at `at`, as far as the file
// holds it; empty when no such varints start there.
std::vector<uint8_t> CellAt(const std::vector<uint8_t>& file, size_t at, int64_t& rowid) {
  Varint payload, id;
  if (at + 8 > file.size() || !ReadVarint(file.data() + at, payload) ||
      !ReadVarint(file.data() + at + payload.length, id)) {
    return {};
  }
  rowid = static_cast<int64_t>(id.value);
  const size_t end = at + static_cast<size_t>(payload.length + id.length) + payload.value;
  return {file.begin() + static_cast<ptrdiff_t>(at),
          file.begin() + static_cast<ptrdiff_t>(std::min(end, file.size()))};
}

}  // namespace

FreedDatabase BuildFreedDatabase(const std::vector<RecordCategory>& categories,
                                 const DeletePattern& pattern, const fs::path& folder) {
  FreedDatabase out;
  out.before = fixtures::BuildDatabase(PlanFor(categories, {}), folder / "before").files[0].bytes;
  out.database = fixtures::BuildDatabase(PlanFor(categories, pattern.deleted), folder / "after");
  if (pattern.laterInserts > 0) InsertLater(folder / "after" / "freed.db", pattern.laterInserts);
  out.after = test::ReadBytes(folder / "after" / "freed.db");
  for (const fixtures::FixtureRow& row : out.database.rows) {
    if (!row.deleted) continue;
    const auto found =
        std::search(out.before.begin(), out.before.end(), row.cell.begin(), row.cell.end());
    if (found != out.before.end()) {
      AddIfFreed(out, row, static_cast<size_t>(found - out.before.begin()));
    }
  }
  return out;
}

FreedDatabase BuildFreedPhoneDatabase(const phones::PhoneFamily& family, const PhoneTable& table,
                                      const DeletePattern& pattern, const fs::path& folder) {
  phones::PhoneFamily plan = family;
  // Row counts, but for the six handles the messages name.
  plan.script = std::regex_replace(plan.script, std::regex(R"(i < \d+|i BETWEEN 1 AND 30)"),
                                   "i <= " + std::to_string(kRowsPerTable));
  plan.secureDelete = false;
  plan.listing.clear();
  plan.deletes.clear();
  fs::create_directories(folder);
  phones::WriteDatabase(folder / "before.db", plan);
  std::string rowids;
  for (int64_t r : pattern.deleted) rowids += (rowids.empty() ? "" : ", ") + std::to_string(r);
  plan.deletes = "DELETE FROM \"" + table.table + "\" WHERE rowid IN (" + rowids + ")";
  phones::WriteDatabase(folder / "after.db", plan);
  if (pattern.laterInserts > 0) InsertLater(folder / "after.db", pattern.laterInserts);
  FreedDatabase out;
  out.before = test::ReadBytes(folder / "before.db");
  out.after = test::ReadBytes(folder / "after.db");
  for (auto& [at, record] : RecordsByCell(ScanWindows(out.before, family.platform, false))) {
    fixtures::FixtureRow row;
    row.category = CategoryOf(record, table.category);
    row.cell = CellAt(out.before, at, row.rowid);
    row.deleted = row.category == table.category &&
                  std::count(pattern.deleted.begin(), pattern.deleted.end(), row.rowid) > 0;
    row.expected = std::move(record);
    if (!row.cell.empty()) out.database.rows.push_back(std::move(row));
  }
  // Freed rows point into the finished list.
  for (const fixtures::FixtureRow& row : out.database.rows) {
    const auto found =
        std::search(out.before.begin(), out.before.end(), row.cell.begin(), row.cell.end());
    if (row.deleted && found != out.before.end()) {
      AddIfFreed(out, row, static_cast<size_t>(found - out.before.begin()));
    }
  }
  return out;
}

RecordBatch ScanWindows(const std::vector<uint8_t>& image, uint8_t platform, bool deepScan) {
  RecordBatch batch;
  WindowScratch scratch;
  std::vector<uint8_t> window;
  for (uint64_t at = 0; at < image.size(); at += kWindowSize) {
    const uint64_t length = std::min<uint64_t>(kWindowSize, image.size() - at);
    window.assign(length + kWindowSlack, 0);
    std::memcpy(window.data(), image.data() + at,
                std::min<uint64_t>(window.size(), image.size() - at));
    CollectWindowRecords(window.data(), static_cast<uint32_t>(length), platform, true, scratch,
                         batch, {}, at, deepScan);
  }
  return batch;
}

}  // namespace velkor::deep
