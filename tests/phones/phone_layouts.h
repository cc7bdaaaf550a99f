// Databases of current phones' layouts as SQL scripts over the sample rows n
// (see WriteDatabase), each with the listing query that gives the rows a scan
// must show, and databases of unrelated app tables of similar shapes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/result_tabs.h"
#include "engine/scan_input.h"
#include "tests/phones/sqlite_writer.h"

namespace velkor::phones {

struct PhoneFamily {
  std::string name;
  uint8_t platform = 0;  // kPlatformAndroid or kPlatformIos
  int tab = 0;           // the list the rows land in
  bool secureDelete = false;
  std::string script;   // the tables and their rows
  std::string deletes;  // the rows deleted after that
  // The list rows of the Unicode form without the index column: what each
  // column of the list is made of.
  std::string listing;
};

std::vector<PhoneFamily> AndroidFamilies();
std::vector<PhoneFamily> IosFamilies();

// A dozen tables of settings, caches, download lists, full-text indexes and
// Core Data stores, with plausible dates, numbers and small codes.
std::string UnrelatedTables(bool ios);

}  // namespace velkor::phones
