#include "tests/phones/sqlite_writer.h"

#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velkor::phones {
namespace {

void Check(sqlite3* db, int rc, const std::string& what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
  }
}

void Exec(sqlite3* db, const std::string& sql) {
  Check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), sql);
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : separator) + part;
  return out;
}

void Bind(sqlite3_stmt* statement, int index, const Value& value) {
  if (const auto* i = std::get_if<int64_t>(&value)) {
    sqlite3_bind_int64(statement, index, *i);
  } else if (const auto* d = std::get_if<double>(&value)) {
    sqlite3_bind_double(statement, index, *d);
  } else if (const auto* s = std::get_if<std::string>(&value)) {
    sqlite3_bind_text(statement, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_null(statement, index);
  }
}

void Insert(sqlite3* db, const std::string& table, const TableRow& row) {
  std::vector<std::string> names;
  std::vector<std::string> marks;
  for (const auto& [name, value] : row.values) {
    names.push_back(name);
    marks.push_back("?");
  }
  const std::string sql = names.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                        : "INSERT INTO " + table + " (" + Join(names, ",") +
                                              ") VALUES (" + Join(marks, ",") + ")";
  sqlite3_stmt* statement = nullptr;
  Check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), sql);
  for (size_t i = 0; i < row.values.size(); ++i) {
    Bind(statement, static_cast<int>(i + 1), row.values[i].second);
  }
  const int rc = sqlite3_step(statement);
  sqlite3_finalize(statement);
  Check(db, rc, sql);
}

}  // namespace

void WriteDatabase(const std::filesystem::path& path, const std::vector<TableContent>& tables,
                   bool secureDelete, const std::vector<std::string>& extraSql) {
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot create " + path.string());
  }
  try {
    Exec(db, std::string("PRAGMA secure_delete=") + (secureDelete ? "ON" : "OFF"));
    Exec(db, "PRAGMA journal_mode=DELETE");
    Exec(db, "PRAGMA synchronous=OFF");
    Exec(db, "BEGIN");
    for (const TableContent& table : tables) {
      Exec(db, "CREATE TABLE " + table.name + " (" + Join(table.columns, ", ") + ")");
      for (size_t i = 0; i < table.rows.size(); ++i) {
        if (i == table.alteredAfter) {
          for (const std::string& column : table.addedLater) {
            Exec(db, "ALTER TABLE " + table.name + " ADD COLUMN " + column);
          }
        }
        Insert(db, table.name, table.rows[i]);
      }
    }
    for (const std::string& sql : extraSql) Exec(db, sql);
    Exec(db, "COMMIT");
    // Deleted rows go last, so their bytes are left as a freed page or cell.
    for (const TableContent& table : tables) {
      int64_t rowid = 0;
      for (const TableRow& row : table.rows) {
        ++rowid;
        if (row.deleted) {
          Exec(db, "DELETE FROM " + table.name + " WHERE rowid = " + std::to_string(rowid));
        }
      }
    }
  } catch (...) {
    sqlite3_close(db);
    throw;
  }
  sqlite3_close(db);
}

std::vector<std::string> NumberedColumns(const std::string& prefix, int first, int last,
                                         const std::string& type) {
  std::vector<std::string> columns;
  for (int i = first; i <= last; ++i) columns.push_back(prefix + std::to_string(i) + " " + type);
  return columns;
}

void WriteImage(const std::filesystem::path& image, const std::vector<std::filesystem::path>& files,
                uint32_t alignment) {
  std::ofstream out(image, std::ios::binary | std::ios::trunc);
  uint64_t size = 0;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    size += bytes.size();
    for (; size % alignment != 0; ++size) out.put(static_cast<char>(0xA5 ^ (size & 0x3F)));
  }
  if (!out) throw std::runtime_error("cannot write " + image.string());
}

}  // namespace velkor::phones
