// Databases whose deleted rows are known down to the byte: each is built
// twice with the real SQLite library, once without its deletes, so that a
// deleted row's cell can be compared before and after the delete. The
// classic layouts' rows come from the fixture databases, which know each
// row's record; the current phones' from their SQL scripts, whose rows'
// records are those the scan takes from the intact cells before the delete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/record_batch.h"
#include "tests/fixtures/fixture_database.h"
#include "tests/phones/phone_layouts.h"

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

// The table of a phone family whose rows a pattern deletes by rowid, and the
// category its rows are.
struct PhoneTable {
  std::string family, table;
  RecordCategory category = 0;
};

// The family's database with kRowsPerTable rows where its script makes a
// numbered few, secure delete off and the pattern's rows deleted from the
// table. Rows are the whole cells of the file before the delete that give a
// record on the family's platform, of their table's category.
FreedDatabase BuildFreedPhoneDatabase(const phones::PhoneFamily& family, const PhoneTable& table,
                                      const DeletePattern& pattern,
                                      const std::filesystem::path& folder);

// The image scanned window by window as the record scan does it.
RecordBatch ScanWindows(const std::vector<uint8_t>& image, uint8_t platform, bool deepScan);

}  // namespace velkor::deep
