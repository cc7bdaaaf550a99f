// Databases whose deleted rows are known down to the byte: each is built
// twice with the real SQLite library, once without its deletes, so that a
// deleted row's cell can be compared before and after the delete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fixtures/fixture_database.h"

namespace velkor::deep {

// The rowids every table loses, in order, and how many rows are inserted
// after the delete (reusing freed space).
struct DeletePattern {
  std::string name;
  std::vector<int64_t> deleted;
  int laterInserts = 0;
};

// A deleted row whose cell lost exactly its first four bytes, at offset in
// the database file.
struct FreedRow {
  const fixtures::FixtureRow* row = nullptr;
  uint64_t offset = 0;
};

struct FreedDatabase {
  fixtures::FixtureDatabase database;  // rows as inserted, deleted ones marked
  std::vector<uint8_t> before, after;  // the main file before and after the delete
  std::vector<FreedRow> freed;
};

inline constexpr int kRowsPerTable = 160;

FreedDatabase BuildFreedDatabase(const std::vector<RecordCategory>& categories,
                                 const DeletePattern& pattern, const std::filesystem::path& folder);

}  // namespace velkor::deep
