// Real SQLite database files for the scan's tests, written with libsqlite3:
// tables with the column lists of phone databases, live rows, and deleted
// rows (with secure_delete off their bytes stay in the file, on they are
// zeroed).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace velkor::phones {

// NULL, an integer, a float or a text (blobs are not needed).
using Value = std::variant<std::monostate, int64_t, double, std::string>;

struct TableRow {
  std::vector<std::pair<std::string, Value>> values;  // the columns not named keep their default
  bool deleted = false;                               // inserted, then deleted
};

struct TableContent {
  std::string name;
  std::vector<std::string> columns;  // "name TYPE [constraints]", in table order
  std::vector<TableRow> rows;
  // Columns appended by ALTER TABLE after the first alteredAfter rows went in
  // (rows written before keep their shorter records).
  std::vector<std::string> addedLater;
  size_t alteredAfter = 0;
};

// Writes a new database file with the tables (and any extra SQL, such as
// full-text index tables); throws std::runtime_error on a SQLite failure.
void WriteDatabase(const std::filesystem::path& path, const std::vector<TableContent>& tables,
                   bool secureDelete, const std::vector<std::string>& extraSql = {});

// Column lists "prefix1 TYPE" .. "prefixN TYPE".
std::vector<std::string> NumberedColumns(const std::string& prefix, int first, int last,
                                         const std::string& type);

// The files one after another, each starting at a multiple of alignment
// (the gaps filled with a junk byte pattern), as in a raw image.
void WriteImage(const std::filesystem::path& image, const std::vector<std::filesystem::path>& files,
                uint32_t alignment);

}  // namespace velkor::phones
