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

// Inserts rows after the fixture's own transactions, as a phone goes on
// using a database: the new rows may take space the deleted ones freed.
void InsertLater(const fs::path& path, const std::vector<RecordCategory>& categories, int count) {
  sqlite3* db = nullptr;
  auto fail = [&db](const std::string& what) {
    const std::string message = what + ": " + sqlite3_errmsg(db);
    sqlite3_close(db);
    throw std::runtime_error(message);
  };
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) fail("open");
  for (RecordCategory category : categories) {
    const fixtures::TableLayout& layout = fixtures::LayoutFor(category);
    std::string names = "rowid";
    std::string slots = "?";
    for (const fixtures::Column& column : layout.columns) {
      names += ", " + column.name;
      slots += ", ?";
    }
    const std::string sql =
        "INSERT INTO " + layout.table + " (" + names + ") VALUES (" + slots + ")";
    for (int i = 0; i < count; ++i) {
      const int index = kRowsPerTable + i;
      const std::vector<Value> values =
          fixtures::InsertValues(layout, index + 1, MessageFor(category, index));
      sqlite3_stmt* statement = nullptr;
      if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) fail(sql);
      sqlite3_bind_int64(statement, 1, index + 1);
      for (size_t v = 0; v < values.size(); ++v) {
        const int slot = static_cast<int>(v) + 2;
        if (const auto* n = std::get_if<int64_t>(&values[v])) {
          sqlite3_bind_int64(statement, slot, *n);
        } else if (const auto* text = std::get_if<std::string>(&values[v])) {
          sqlite3_bind_text(statement, slot, text->data(), static_cast<int>(text->size()),
                            SQLITE_TRANSIENT);
        }
      }
      const int rc = sqlite3_step(statement);
      sqlite3_finalize(statement);
      if (rc != SQLITE_DONE) fail(sql);
    }
  }
  sqlite3_close(db);
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
