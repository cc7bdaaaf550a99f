// The report files read back by independent readers: records.jsonl by a JSON
// parser against the lists, the CSV files by Python's csv module against
// records.jsonl, report.json's digest against sha256sum.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "engine/record_provenance.h"
#include "engine/record_reports.h"
#include "engine/record_rows.h"
#include "engine/text_codec.h"
#include "tests/fixtures/sample_image.h"
#include "tests/support/test_support.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

json ReadCsv(const fs::path& path) {
  return json::parse(
      CommandOutput(std::string(PYTHON) + " " + CSV_TO_JSON + " '" + path.string() + "'"));
}

json Texts(const RowTexts& row) {
  json texts = json::array();
  for (const std::u16string& text : row) texts.push_back(ToUtf8(text));
  return texts;
}

// "y-m-d h:m:s" of the list against the ISO form, field by field.
void ExpectSameInstant(const std::string& listText, const std::string& iso) {
  int y, mo, d, h, mi, s, iy, imo, id, ih, imi, is;
  ASSERT_EQ(std::sscanf(listText.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 6);
  ASSERT_EQ(std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%dZ", &iy, &imo, &id, &ih, &imi, &is), 6);
  EXPECT_EQ(std::tie(y, mo, d, h, mi, s), std::tie(iy, imo, id, ih, imi, is)) << listText;
}

// The sample image and its records as the engine finds them, once a process.
struct Sample {
  test::TempFolder work;
  fs::path image = work.path / "sample.img";
  RecordStores stores;
  Sample() {
    fixtures::MakeSampleImage(work.path).image.WriteFile(image);
    ScanRecords({.imagePath = image}, {.recordTypeMask = 0x1ff}, stores);
  }
};
const Sample& TheSample() {
  static const Sample sample;
  return sample;
}

// The folder velkor records wrote the sample's reports to.
fs::path WriteReports(const std::string& format, const std::string& extra = {}) {
  const fs::path out = TheSample().work.path / (format + extra);
  std::string output;
  std::vector<std::string> args{
      "records",   TheSample().image.string(), "--types", "0x1ff", "--format", format, "--out",
      out.string()};
  if (!extra.empty()) args.push_back(extra);
  EXPECT_EQ(test::RunVelkor(args, output), 0) << output;
  return out;
}

// records.jsonl against the lists, and each CSV file, read by Python's csv
// module, against records.jsonl.
TEST(ReportFiles, JsonLinesMatchTheListsAndCsvFilesReadBackAsThem) {
  const fs::path csvFolder = WriteReports("csv");
  std::ifstream in(WriteReports("jsonl") / "records.jsonl");
  std::string line;
  size_t total = 0;
  const RecordStores& stores = TheSample().stores;
  for (const ReportList& list : ReportLists()) {
    const json csv = ReadCsv(csvFolder / PathFromText(CsvExportName(list.tab)));
    ASSERT_EQ(csv.size(), RecordRowCount(stores, list.tab) + 1);
    json header = Texts(ResultColumnHeaders(list.tab));
    for (const char* title : {"偏移", "来源文件", "发现方式", "重复于"}) header.push_back(title);
    EXPECT_EQ(csv[0], header);
    for (size_t i = 0; i < RecordRowCount(stores, list.tab); ++i, ++total) {
      ASSERT_TRUE(std::getline(in, line));
      const json row = json::parse(line);
      ASSERT_EQ(row["list"], list.name);
      EXPECT_EQ(row["index"], i + 1);
      const RowTexts texts = RecordRow(stores, list.tab, i, RowTextForm::kCodePage);
      EXPECT_EQ(row["columns"], Texts(texts));
      EXPECT_EQ(row["columns_unicode"],
                Texts(RecordRow(stores, list.tab, i, RowTextForm::kUnicode)));
      EXPECT_EQ(row["offsets"], json(RecordOffsets(stores, list.tab, i)));
      EXPECT_TRUE(row["file"].is_null());
      EXPECT_EQ(row["found"], "cell");
      // dup_of names the first earlier row with the same texts but the index.
      size_t first = 0;
      for (size_t j = 0; j < i && first == 0; ++j) {
        RowTexts other = RecordRow(stores, list.tab, j, RowTextForm::kCodePage);
        other[0] = texts[0];
        if (other == texts) first = j + 1;
      }
      EXPECT_EQ(row["dup_of"], first == 0 ? json(nullptr) : json(first)) << list.name << i;
      if (list.tab == kTabPhoneBook) {
        EXPECT_TRUE(row["time_utc"].is_null());
      } else {
        const size_t timeColumn = list.tab == kTabCalls || list.tab == kTabAllContacts ? 4
                                  : list.tab == kTabSms                                ? 3
                                                                                       : 2;
        ExpectSameInstant(ToUtf8(texts[timeColumn]), row["time_utc"]);
      }
      json expected = row["columns"];
      std::string offsets;
      for (const auto& offset : row["offsets"])
        offsets += (offsets.empty() ? "" : ";") + std::to_string(offset.get<uint64_t>());
      for (const json& field :
           {json(offsets), json(""), row["found"], json(first == 0 ? "" : std::to_string(first))})
        expected.push_back(field);
      EXPECT_EQ(csv[i + 1], expected) << list.name << " row " << i + 1;
    }
  }
  EXPECT_FALSE(std::getline(in, line));
  EXPECT_GT(total, 400u);
}

// Texts that need quoting survive the round trip exactly.
// The files are written a range of rows at a time, on any thread: ranges
// of any size, crossing from one list to the next in the JSON Lines, join
// to the bytes of the whole.
TEST(ReportFiles, RowsAppendedInRangesJoinToTheWholeFile) {
  const RecordStores& stores = TheSample().stores;
  const auto expectJoined = [](size_t count, const auto& append, const std::string& label) {
    std::string whole;
    append(0, count, whole);
    for (const size_t step : {1, 2, 7}) {
      std::string joined;
      for (size_t first = 0; first < count; first += step)
        append(first, std::min(count, first + step), joined);
      EXPECT_TRUE(joined == whole) << label << " in ranges of " << step;
    }
    return whole;
  };
  const JsonLinesRows lines(stores);
  const std::string jsonl = expectJoined(
      lines.Count(), [&](size_t f, size_t l, std::string& out) { lines.Append(f, l, out); },
      "records.jsonl");
  size_t rows = 0;
  for (const ReportList& list : ReportLists()) {
    rows += RecordRowCount(stores, list.tab);
    const CsvRows csv(stores, list.tab, RowTextForm::kCodePage);
    const std::string bytes = expectJoined(
        csv.Count(), [&](size_t f, size_t l, std::string& out) { csv.Append(f, l, out); },
        std::string(list.name));
    EXPECT_TRUE(csv.Head() + bytes == CsvExportBytes(stores, list.tab, RowTextForm::kCodePage));
  }
  EXPECT_GT(rows, 10u);
  EXPECT_EQ(static_cast<size_t>(std::count(jsonl.begin(), jsonl.end(), '\n')), rows);
}

TEST(CsvQuoting, FieldsWithSeparatorsQuotesAndLineBreaksReadBackWhole) {
  RecordStores stores;
  for (const char16_t* text :
       {u"plain", u"a,b", u"say \"hi\"", u"two\r\nlines", u"\n", u"", u"\"", u"末尾,\"\r"}) {
    SmsRecord record{u"1380013800", text, 1, 0};
    record.origin.offset = 77;
    stores.sms.push_back(record);
  }
  test::TempFolder work;
  const fs::path path = work.path / "信息.csv";
  const std::string bytes = CsvExportBytes(stores, kTabSms, RowTextForm::kCodePage);
  test::WriteBytes(path, test::Bytes(bytes.begin(), bytes.end()));
  const json rows = ReadCsv(path);
  ASSERT_EQ(rows.size(), stores.sms.size() + 1);
  for (size_t i = 0; i < stores.sms.size(); ++i) {
    EXPECT_EQ(rows[i + 1][4], ToUtf8(stores.sms[i].content)) << i;
    EXPECT_EQ(rows[i + 1][5], "77");
  }
}

TEST(ReportFiles, ReportHoldsTheImageDigestAndCounts) {
  const json report = json::parse(std::ifstream(WriteReports("csv") / "report.json"));
  const std::string sum = CommandOutput("sha256sum '" + TheSample().image.string() + "'");
  EXPECT_EQ(report["sha256"], sum.substr(0, 64));
  EXPECT_EQ(report["outcome"], "complete");
  EXPECT_EQ(report["image"]["size"], fs::file_size(TheSample().image));
  for (const ReportList& list : ReportLists())
    EXPECT_EQ(report["counts"][std::string(list.name)],
              RecordRowCount(TheSample().stores, list.tab));
  const json unhashed =
      json::parse(std::ifstream(WriteReports("jsonl", "--no-hash") / "report.json"));
  EXPECT_TRUE(unhashed["sha256"].is_null());
  EXPECT_FALSE(unhashed["sha256_missing"].get<std::string>().empty());
}

}  // namespace
}  // namespace velkor
