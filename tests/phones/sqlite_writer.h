// Real SQLite database files for the scan's tests, written with libsqlite3
// from SQL scripts: tables with the column lists of phone databases, live
// rows, and deleted rows (with secure_delete off their bytes stay in the
// file, on they are zeroed).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velkor::phones {

// A row as a listing query gives it, in UTF-8.
struct ExpectedRow {
  std::vector<std::string> texts;
  bool deleted = false;  // the row was gone once the deletes ran
};

// Runs script in one transaction on a new database file, then deletes; a
// column "name1..N TYPE" stands for name1 .. nameN of that type. The script
// draws on the temporary table n (i, number, unix, text, first, last, name,
// guid) of sample values by row number, and listing queries may call
// record_time(unix seconds). Returns the rows listing gives before the
// deletes; throws std::runtime_error on a SQLite failure.
std::vector<ExpectedRow> WriteDatabase(const std::filesystem::path& path, const std::string& script,
                                       bool secureDelete, const std::string& deletes = "",
                                       const std::string& listing = "");

// The files one after another, each starting at a multiple of alignment (the
// gaps filled with a junk byte pattern), as in a raw image.
void WriteImage(const std::filesystem::path& image, const std::vector<std::filesystem::path>& files,
                uint32_t alignment);

}  // namespace velkor::phones
