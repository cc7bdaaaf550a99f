#include <sqlite3.h>

#include <algorithm>
#include <regex>

#include "engine/record_time.h"
#include "engine/text_codec.h"
#include "tests/fixtures/sqlite_file.h"
#include "tests/phones/phone_layouts.h"

namespace velkor::phones {
namespace {

// Texts and names that code page 936 keeps (Chinese, ASCII) and loses
// (Hangul, accented Latin, emoji, the pound sign), cycled over the rows.
constexpr const char* kSamples = R"(
CREATE TEMP TABLE word (k INTEGER PRIMARY KEY, text TEXT, first TEXT, last TEXT);
INSERT INTO word VALUES (0, 'Meeting moved to 5 pm', '伟', '张'), (1, '你好，明天见', '민수', '김'),
(2, '안녕하세요 민수씨', 'José', 'Álvarez'), (3, 'Café crème à 3£', 'Na', 'Li'),
(4, 'Running late 🏃', 'Zoë', 'Smith 🌟'), (5, '收到请回复', '芳', '王'),
(6, 'Ñandú über Straße', 'Émile', 'Zola'), (7, 'OK', '지성', '박');
CREATE TEMP TABLE n AS WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i < 399)
SELECT i, '+86138' || (10000000 + i * 7919) AS number, 1500000000 + i * 86413 AS unix, text, first,
last, last || first AS name, (10000000 + i) || '-CEEA-467F-A0E6-3F0A1F5B1000' AS guid
FROM c JOIN word ON k = i % 8 ORDER BY i;)";

void RecordTime(sqlite3_context* context, int, sqlite3_value** args) {
  const std::string text =
      ToUtf8(FormatRecordTime(static_cast<uint32_t>(sqlite3_value_int64(args[0]))));
  sqlite3_result_text(context, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// "name1..3 TYPE" as "name1 TYPE, name2 TYPE, name3 TYPE".
std::string ExpandNumbered(std::string script) {
  static const std::regex kRange(R"((\w+?)(\d+)\.\.(\d+)( [^,)]+))");
  for (std::smatch m; std::regex_search(script, m, kRange);) {
    std::string columns;
    for (int k = std::stoi(m[2]); k <= std::stoi(m[3]); ++k) {
      columns += (columns.empty() ? "" : ", ") + m[1].str() + std::to_string(k) + m[4].str();
    }
    script.replace(m.position(), m.length(), columns);
  }
  return script;
}

}  // namespace

std::vector<ExpectedRow> WriteDatabase(const std::filesystem::path& path, const PhoneFamily& f) {
  fixtures::SqliteFile db(path);
  sqlite3_create_function(db.Handle(), "record_time", 1, SQLITE_UTF8, nullptr, RecordTime, nullptr,
                          nullptr);
  db.Exec(std::string("PRAGMA secure_delete=") + (f.secureDelete ? "ON;" : "OFF;") + kSamples);
  db.Exec("BEGIN;" + ExpandNumbered(f.script) + "; COMMIT");
  fixtures::SqliteFile::Rows before, after;
  if (!f.listing.empty()) db.Exec(f.listing, &before);
  // Deleted rows go last, so their bytes are left as a freed page or cell.
  if (!f.deletes.empty()) db.Exec(f.deletes);
  if (!f.listing.empty()) db.Exec(f.listing, &after);
  std::vector<ExpectedRow> expected;
  for (auto& texts : before) {
    const bool deleted = std::find(after.begin(), after.end(), texts) == after.end();
    expected.push_back({std::move(texts), deleted});
  }
  return expected;
}

}  // namespace velkor::phones
