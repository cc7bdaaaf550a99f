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

std::string CsvExportBytes(const RecordStores& stores, int tab, RowTextForm form,
                           std::span<const size_t> rows) {
  std::string out = "\xEF\xBB\xBF";
  std::vector<std::string> fields;
  for (const std::u16string& title : ResultColumnHeaders(tab)) fields.push_back(ToUtf8(title));
  for (const std::u16string_view title : kProvenanceTitles) fields.push_back(ToUtf8(title));
  AppendCsvRow(out, fields);

  const size_t count = RecordRowCount(stores, tab);
  const std::vector<uint32_t> dupOf = DuplicateOf(stores, tab);
  RowTexts row;
  auto appendRow = [&](size_t index) {
    if (index >= count) return;
    fields.clear();
    FillRecordRow(stores, tab, index, form, row);
    for (const std::u16string& text : row) fields.push_back(ToUtf8(text));
    std::string offsets;
    for (const uint64_t offset : RecordOffsets(stores, tab, index)) {
      if (!offsets.empty()) offsets += ';';
      offsets += std::to_string(offset);
    }
    const RecordOrigin& origin = *RecordOriginOf(stores, tab, index);
    fields.push_back(std::move(offsets));
    fields.push_back(FileText(stores, origin));
    fields.emplace_back(FoundByName(origin.found));
    fields.push_back(dupOf[index] == 0 ? std::string() : std::to_string(dupOf[index]));
    AppendCsvRow(out, fields);
  };
  if (rows.empty()) {
    for (size_t i = 0; i < count; ++i) appendRow(i);
  } else {
    for (const size_t index : rows) appendRow(index);
  }
  return out;
}

std::string JsonLinesBytes(const RecordStores& stores) {
  std::string out;
  for (const ReportList& list : kReportLists) {
    const size_t count = RecordRowCount(stores, list.tab);
    const std::vector<uint32_t> dupOf = DuplicateOf(stores, list.tab);
    for (size_t i = 0; i < count; ++i) {
      nlohmann::ordered_json row;
      row["list"] = list.name;
      row["index"] = i + 1;
      auto texts = [](const RowTexts& cells) {
        nlohmann::json array = nlohmann::json::array();
        for (const std::u16string& cell : cells) array.push_back(ToUtf8(cell));
        return array;
      };
      row["columns"] = texts(RecordRow(stores, list.tab, i, RowTextForm::kCodePage));
      row["columns_unicode"] = texts(RecordRow(stores, list.tab, i, RowTextForm::kUnicode));
      row["offsets"] = RecordOffsets(stores, list.tab, i);
      const RecordOrigin& origin = *RecordOriginOf(stores, list.tab, i);
      if (RecordSourceFile(stores, origin)) {
        row["file"] = FileText(stores, origin);
      } else {
        row["file"] = nullptr;
      }
      row["found"] = FoundByName(origin.found);
      if (dupOf[i] != 0) {
        row["dup_of"] = dupOf[i];
      } else {
        row["dup_of"] = nullptr;
      }
      if (const auto seconds = RecordListSeconds(stores, list.tab, i)) {
        row["time_utc"] = IsoUtcTime(*seconds);
      } else {
        row["time_utc"] = nullptr;
      }
      out += row.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
      out += '\n';
    }
  }
  return out;
}

}  // namespace velkor
