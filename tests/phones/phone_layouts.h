// Databases of current phones' layouts made from SQL scripts, each with the
// query listing the rows a scan must show, and unrelated tables of like shapes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/result_tabs.h"
#include "engine/scan_input.h"

namespace velkor::phones {

struct PhoneFamily {
  std::string name;
  uint8_t platform = 0;  // kPlatformAndroid or kPlatformIos
  int tab = 0;           // the list the rows land in
  bool secureDelete = false;
  std::string script;   // the tables and their rows
  std::string deletes;  // run after the script
  std::string listing;  // the list's texts in the Unicode form, without the index column
};

std::vector<PhoneFamily> AndroidFamilies();
std::vector<PhoneFamily> IosFamilies();
// Settings, caches, downloads, full-text indexes and Core Data stores with
// plausible dates, numbers and small codes; no listing.
PhoneFamily UnrelatedTables(bool ios);

struct ExpectedRow {
  std::vector<std::string> texts;  // UTF-8
  bool deleted = false;            // gone once the deletes ran
};

// Runs the family's script in one transaction on a new database file, then
// its deletes. A column "name1..N TYPE" stands for name1 .. nameN; the
// temporary table n holds sample values by row number i (number, unix, text,
// first, last, name, guid); listing may call record_time(unix seconds).
// Returns the rows listing gives before the deletes.
std::vector<ExpectedRow> WriteDatabase(const std::filesystem::path& path, const PhoneFamily& f);

}  // namespace velkor::phones
