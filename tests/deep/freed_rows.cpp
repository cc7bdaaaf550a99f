#include "tests/deep/freed_rows.h"

#include <sqlite3.h>

#include <stdexcept>

#include "tests/fixtures/fixture_sets.h"

namespace velkor::deep {
namespace {

namespace fs = std::filesystem;
using fixtures::Value;

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

// A value as an SQL literal: texts quoted by SQLite itself.
std::string Literal(const Value& value) {
  if (const auto* n = std::get_if<int64_t>(&value)) return std::to_string(*n);
  const auto* text = std::get_if<std::string>(&value);
  if (text == nullptr) return "NULL";
  char* quoted = sqlite3_mprintf("%Q", text->c_str());
  std::string out(quoted);
  sqlite3_free(quoted);
  return out;
}

// Inserts rows after the fixture's own transactions, as a phone goes on
// using a database: the new rows may take space the deleted ones freed.
void InsertLater(const fs::path& path, const std::vector<RecordCategory>& categories, int count) {
  std::string sql;
  for (RecordCategory category : categories) {
    const fixtures::TableLayout& layout = fixtures::LayoutFor(category);
    std::string names = "rowid";
    for (const fixtures::Column& column : layout.columns) names += ", " + column.name;
    for (int index = kRowsPerTable; index < kRowsPerTable + count; ++index) {
      std::string values = std::to_string(index + 1);
      for (const Value& v :
           fixtures::InsertValues(layout, index + 1, MessageFor(category, index))) {
        values += ", " + Literal(v);
      }
      sql += "INSERT INTO " + layout.table + " (" + names + ") VALUES (" + values + ");";
    }
  }
  sqlite3* db = nullptr;
  const bool done = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  const std::string error = done ? "" : sqlite3_errmsg(db);
  sqlite3_close(db);
  if (!done) throw std::runtime_error("sqlite: " + error);
}

bool SameBytes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t from,
               size_t to) {
  return to <= a.size() && to <= b.size() &&
         std::equal(a.begin() + static_cast<ptrdiff_t>(from),
                    a.begin() + static_cast<ptrdiff_t>(to),
                    b.begin() + static_cast<ptrdiff_t>(from));
}

}  // namespace

FreedDatabase BuildFreedDatabase(const std::vector<RecordCategory>& categories,
                                 const DeletePattern& pattern, const fs::path& folder) {
  FreedDatabase out;
  out.before = fixtures::BuildDatabase(PlanFor(categories, {}), folder / "before").files[0].bytes;
  out.database = fixtures::BuildDatabase(PlanFor(categories, pattern.deleted), folder / "after");
  if (pattern.laterInserts > 0) {
    InsertLater(folder / "after" / "freed.db", categories, pattern.laterInserts);
  }
  out.after = fixtures::ReadFileBytes(folder / "after" / "freed.db");
  for (const fixtures::FixtureRow& row : out.database.rows) {
    if (!row.deleted) continue;
    const size_t at = fixtures::FindBytes(out.before, row.cell);
    if (at == std::string::npos) continue;
    const size_t end = at + row.cell.size();
    if (!SameBytes(out.before, out.after, at, at + 4) &&
        SameBytes(out.before, out.after, at + 4, end)) {
      out.freed.push_back({&row, at});
    }
  }
  return out;
}

}  // namespace velkor::deep
