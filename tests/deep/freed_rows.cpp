#include "tests/deep/freed_rows.h"

#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>

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
  // One INSERT a table, its integer key moved by 1000; pragma_table_info
  // gives the columns in table order.
  const std::string generate =
      "SELECT 'INSERT INTO \"' || m.name || '\" SELECT ' || group_concat(CASE WHEN p.pk = 1 THEN "
      "'rowid + 1000' ELSE '\"' || p.name || '\"' END, ', ') || ' FROM \"' || m.name || "
      "'\" WHERE rowid <= " +
      std::to_string(count) +
      ";' FROM sqlite_master AS m, pragma_table_info(m.name) AS p WHERE m.type = 'table' "
      "GROUP BY m.name";
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
    const size_t at = static_cast<size_t>(found - out.before.begin());
    if (found != out.before.end() && !SameBytes(out.before, out.after, at, at + 4) &&
        SameBytes(out.before, out.after, at + 4, at + row.cell.size())) {
      out.freed.push_back({&row, at});
    }
  }
  return out;
}

}  // namespace velkor::deep
