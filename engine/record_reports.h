// The record lists as files other tools read: CSV (one file a list) and
// JSON Lines (one object a row), each row with its provenance. The UTF-16
// text export (engine/text_export.h) stays the lists' own format.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/record_rows.h"
#include "engine/record_scan.h"

namespace velkor {

// The record tabs the reports cover, in report order, with their JSON names:
// sms, phonebook, calls, contacts, wechat.
struct ReportList {
  int tab;
  std::string_view name;
};
std::span<const ReportList> ReportLists();

// "信息.csv" for the list saved as "信息.txt".
std::u16string CsvExportName(int tab);

// A list as CSV: UTF-8 with a byte-order mark, rows ended by CR LF, fields
// quoted by RFC 4180 where they hold a comma, quote, CR or LF. A head row of
// the list's column titles and "偏移", "来源文件", "发现方式", "重复于"; then
// rows with their list index, offsets in decimal (several joined by ';'),
// backup file, way found and the index of the row they repeat. Reads the
// stores only, so any threads may append rows at once.
class CsvRows {
 public:
  CsvRows(const RecordStores& stores, int tab, RowTextForm form);
  std::string Head() const;
  size_t Count() const;
  void AppendRow(size_t index, std::string& out) const;
  void Append(size_t first, size_t last, std::string& out) const;

 private:
  const RecordStores& stores_;
  int tab_;
  RowTextForm form_;
  std::vector<uint32_t> dupOf_;
};

// The whole file: the head and the given rows (all when rows is empty).
std::string CsvExportBytes(const RecordStores& stores, int tab, RowTextForm form,
                           std::span<const size_t> rows = {});

// One JSON object a line for every row of every list, lists in report order,
// rows in list order, keys list, index, columns, columns_unicode, offsets,
// file, found, dup_of, time_utc; row r counts through the lists one after
// another. No head. Reads the stores only, as CsvRows.
class JsonLinesRows {
 public:
  explicit JsonLinesRows(const RecordStores& stores);
  size_t Count() const;
  void Append(size_t first, size_t last, std::string& out) const;

 private:
  void AppendLine(size_t listIndex, size_t i, std::string& out) const;

  const RecordStores& stores_;
  std::array<std::vector<uint32_t>, 5> dupOf_;
  std::array<size_t, 6> starts_{};
};

}  // namespace velkor
