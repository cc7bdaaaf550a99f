// Databases whose deleted rows are known down to the byte: each is built
// twice with the real SQLite library, once without its deletes, so that a
// deleted row's cell can be found in the file before the delete and compared
// with the same bytes after it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fixtures/fixture_database.h"

namespace velkor::deep {

// How the rows of every table go: which rowids are deleted, in that order,
// and how many rows are inserted after the delete (reusing freed space).
struct DeletePattern {
  std::string name;
  std::vector<int64_t> deleted;
  int laterInserts = 0;
};

// A deleted row whose cell lost exactly its first four bytes.
struct FreedRow {
  const fixtures::FixtureRow* row = nullptr;
  uint64_t offset = 0;  // of its cell in the database file
};

struct FreedDatabase {
  fixtures::FixtureDatabase database;  // rows as inserted, deleted ones marked
  std::vector<uint8_t> before;         // the main file before the delete
  std::vector<uint8_t> after;          // the main file after it (and the inserts)
  std::vector<FreedRow> freed;
};

inline constexpr int kRowsPerTable = 160;

// The rows of the fixture layouts of the categories, kRowsPerTable each,
// losing the pattern's rowids in one transaction (no secure delete).
FreedDatabase BuildFreedDatabase(const std::vector<RecordCategory>& categories,
                                 const DeletePattern& pattern, const std::filesystem::path& folder);

}  // namespace velkor::deep
