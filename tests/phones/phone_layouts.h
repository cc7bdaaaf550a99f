// Databases of current phones' layouts, each with the list rows a scan must
// find in it, and databases of unrelated app tables of similar shapes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/phones/sqlite_writer.h"

namespace velkor::phones {

// A list row as the lists show it in the Unicode form, without the index
// column, in UTF-8.
struct ExpectedRow {
  std::vector<std::string> texts;
  bool deleted = false;  // the row was deleted from the table
};

struct PhoneFamily {
  std::string name;
  uint8_t platform = 0;  // kPlatformAndroid or kPlatformIos
  int tab = 0;           // the list the rows land in
  bool secureDelete = false;
  std::vector<TableContent> tables;
  std::vector<ExpectedRow> rows;
};

std::vector<PhoneFamily> AndroidFamilies();
std::vector<PhoneFamily> IosFamilies();
inline std::vector<PhoneFamily> PhoneFamilies() {
  std::vector<PhoneFamily> all = AndroidFamilies();
  for (PhoneFamily& family : IosFamilies()) all.push_back(std::move(family));
  return all;
}

// A dozen tables of settings, caches, download lists, full-text indexes and
// Core Data stores, with plausible dates, numbers and small codes; extraSql
// gets the full-text index statements.
std::vector<TableContent> UnrelatedTables(bool ios, std::vector<std::string>& extraSql);

}  // namespace velkor::phones
