#include "engine/record_reports.h"

#include <array>
#include <nlohmann/json.hpp>
#include <vector>

#include "engine/image_source.h"
#include "engine/platform.h"
#include "engine/record_provenance.h"
#include "engine/record_time.h"
#include "engine/text_codec.h"

namespace velkor {
namespace {

constexpr std::array<ReportList, 5> kReportLists{{{kTabSms, "sms"},
                                                  {kTabPhoneBook, "phonebook"},
                                                  {kTabCalls, "calls"},
                                                  {kTabAllContacts, "contacts"},
                                                  {kTabWeChat, "wechat"}}};

constexpr std::u16string_view kProvenanceTitles[] = {u"偏移", u"来源文件", u"发现方式", u"重复于"};

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendCsvRow(std::string& out, const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i != 0) out += ',';
    AppendCsvField(out, fields[i]);
  }
  out += "\r\n";
}

std::string FileText(const RecordStores& stores, const RecordOrigin& origin) {
  const auto file = RecordSourceFile(stores, origin);
  return file ? ToUtf8(platform::PortableRelativeText(*file)) : std::string();
}

}  // namespace

std::span<const ReportList> ReportLists() {
  return kReportLists;
}

std::u16string CsvExportName(int tab) {
  std::u16string name(ResultTabOf(tab).exportName);
  const size_t dot = name.rfind(u'.');
  return name.substr(0, dot) + u".csv";
}

CsvRows::CsvRows(const RecordStores& stores, int tab, RowTextForm form)
    : stores_(stores), tab_(tab), form_(form), dupOf_(DuplicateOf(stores, tab)) {}

std::string CsvRows::Head() const {
  std::string out = "\xEF\xBB\xBF";
  std::vector<std::string> fields;
  for (const std::u16string& title : ResultColumnHeaders(tab_)) fields.push_back(ToUtf8(title));
  for (const std::u16string_view title : kProvenanceTitles) fields.push_back(ToUtf8(title));
  AppendCsvRow(out, fields);
  return out;
}

size_t CsvRows::Count() const {
  return RecordRowCount(stores_, tab_);
}

void CsvRows::AppendRow(size_t index, std::string& out) const {
  Append(index, index + 1, out);
}

// The row and field strings are reused from row to row.
void CsvRows::Append(size_t first, size_t last, std::string& out) const {
  RowTexts row;
  std::vector<std::string> fields;
  for (size_t index = first; index < last && index < Count(); ++index) {
    FillRecordRow(stores_, tab_, index, form_, row);
    fields.resize(row.size() + 4);
    for (size_t i = 0; i < row.size(); ++i) fields[i] = ToUtf8(row[i]);
    std::string& offsets = fields[row.size()];
    offsets.clear();
    for (const uint64_t offset : RecordOffsets(stores_, tab_, index)) {
      if (!offsets.empty()) offsets += ';';
      offsets += std::to_string(offset);
    }
    const RecordOrigin& origin = *RecordOriginOf(stores_, tab_, index);
    fields[row.size() + 1] = FileText(stores_, origin);
    fields[row.size() + 2] = FoundByName(origin.found);
    fields[row.size() + 3] = dupOf_[index] == 0 ? std::string() : std::to_string(dupOf_[index]);
    AppendCsvRow(out, fields);
  }
}

std::string CsvExportBytes(const RecordStores& stores, int tab, RowTextForm form,
                           std::span<const size_t> rows) {
  const CsvRows csv(stores, tab, form);
  std::string out = csv.Head();
  if (rows.empty()) {
    csv.Append(0, csv.Count(), out);
  } else {
    for (const size_t index : rows) csv.AppendRow(index, out);
  }
  return out;
}

JsonLinesRows::JsonLinesRows(const RecordStores& stores) : stores_(stores) {
  for (size_t k = 0; k < kReportLists.size(); ++k) {
    dupOf_[k] = DuplicateOf(stores, kReportLists[k].tab);
    starts_[k + 1] = starts_[k] + RecordRowCount(stores, kReportLists[k].tab);
  }
}

size_t JsonLinesRows::Count() const {
  return starts_.back();
}

void JsonLinesRows::Append(size_t first, size_t last, std::string& out) const {
  size_t k = 0;
  for (size_t row = first; row < last; ++row) {
    while (row >= starts_[k + 1]) ++k;
    AppendLine(k, row - starts_[k], out);
  }
}

void JsonLinesRows::AppendLine(size_t listIndex, size_t i, std::string& out) const {
  const ReportList& list = kReportLists[listIndex];
  nlohmann::ordered_json row;
  row["list"] = list.name;
  row["index"] = i + 1;
  auto texts = [](const RowTexts& cells) {
    nlohmann::json array = nlohmann::json::array();
    for (const std::u16string& cell : cells) array.push_back(ToUtf8(cell));
    return array;
  };
  row["columns"] = texts(RecordRow(stores_, list.tab, i, RowTextForm::kCodePage));
  row["columns_unicode"] = texts(RecordRow(stores_, list.tab, i, RowTextForm::kUnicode));
  row["offsets"] = RecordOffsets(stores_, list.tab, i);
  const RecordOrigin& origin = *RecordOriginOf(stores_, list.tab, i);
  if (RecordSourceFile(stores_, origin)) {
    row["file"] = FileText(stores_, origin);
  } else {
    row["file"] = nullptr;
  }
  row["found"] = FoundByName(origin.found);
  if (dupOf_[listIndex][i] != 0) {
    row["dup_of"] = dupOf_[listIndex][i];
  } else {
    row["dup_of"] = nullptr;
  }
  if (const auto seconds = RecordListSeconds(stores_, list.tab, i)) {
    row["time_utc"] = IsoUtcTime(*seconds);
  } else {
    row["time_utc"] = nullptr;
  }
  out += row.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  out += '\n';
}

}  // namespace velkor
