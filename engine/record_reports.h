// The record lists as files other tools read: CSV (one file a list) and
// JSON Lines (one object a row), each row with its provenance. The UTF-16
// text export (engine/text_export.h) stays the lists' own format.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

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

// UTF-8 with a byte-order mark, rows ended by CR LF, fields quoted by
// RFC 4180 where they hold a comma, quote, CR or LF. A header row of the
// list's column titles and "偏移", "来源文件", "发现方式", "重复于"; then the
// given rows (all when rows is empty) with their list index, offsets in
// decimal (several joined by ';'), backup file, way found and the index of
// the row they repeat.
std::string CsvExportBytes(const RecordStores& stores, int tab, RowTextForm form,
                           std::span<const size_t> rows = {});

// One JSON object a line for every row of every list, lists in report order,
// rows in list order, keys list, index, columns, columns_unicode, offsets,
// file, found, dup_of, time_utc.
std::string JsonLinesBytes(const RecordStores& stores);

}  // namespace velkor
