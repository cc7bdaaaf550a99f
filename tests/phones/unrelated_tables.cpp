#include <functional>

#include "tests/phones/phone_layouts.h"
#include "tests/phones/sample_values.h"

namespace velkor::phones {
namespace {

constexpr int64_t kMsNow = 1600000000000;  // a plausible time in milliseconds

TableContent Table(std::string name, std::vector<std::string> columns, int rows,
                   const std::function<TableRow(int)>& row) {
  TableContent table{std::move(name), std::move(columns), {}, {}, 0};
  for (int i = 0; i < rows; ++i) table.rows.push_back(row(i));
  return table;
}

std::vector<TableContent> AndroidTables(std::vector<std::string>& extraSql) {
  std::vector<TableContent> t;
  t.push_back(Table("settings",
                    {"_id INTEGER PRIMARY KEY AUTOINCREMENT", "name TEXT UNIQUE", "value TEXT"}, 20,
                    [](int i) {
                      return TableRow{{{"name", "setting_" + std::to_string(i)},
                                       {"value", std::to_string(i * 3)}}};
                    }));
  // A download list: "121..." with a millisecond date and small codes.
  std::vector<std::string> downloads = Columns(
      "_id INTEGER PRIMARY KEY AUTOINCREMENT, uri TEXT, method INTEGER, entity TEXT,"
      " no_integrity INTEGER, hint TEXT, otaupdate INTEGER, _data TEXT, mimetype TEXT,"
      " destination INTEGER, visibility INTEGER, control INTEGER, status INTEGER,"
      " numfailed INTEGER, lastmod INTEGER, notificationpackage TEXT, cookiedata TEXT,"
      " useragent TEXT, referer TEXT, total_bytes INTEGER, current_bytes INTEGER,"
      " etag TEXT, uid INTEGER, title TEXT, description TEXT, scanned INTEGER");
  t.push_back(Table("downloads", downloads, 15, [](int i) {
    return TableRow{{{"uri", "https://dl.example.com/app" + std::to_string(i) + ".apk"},
                     {"method", int64_t{1}},
                     {"no_integrity", int64_t{1}},
                     {"otaupdate", int64_t{0}},
                     {"destination", int64_t{2}},
                     {"status", int64_t{200}},
                     {"lastmod", kMsNow + i * 1000},
                     {"total_bytes", int64_t{123456}},
                     {"title", std::string("app.apk")}}};
  }));
  // A thumbnail cache shaped like a call log: url, state 1, a date, kind 2.
  std::vector<std::string> cache = Columns(
      "_id INTEGER PRIMARY KEY, url TEXT, state INTEGER, last_access INTEGER,"
      " size INTEGER, kind INTEGER, etag TEXT");
  cache = Concat(
      cache,
      Columns("w INTEGER, h INTEGER, flags INTEGER, a TEXT, b TEXT, c TEXT, d INTEGER, e TEXT,"
              " f TEXT, g INTEGER, k INTEGER, m TEXT, n TEXT, o INTEGER, p TEXT"));
  t.push_back(Table("thumbnail_cache", cache, 20, [](int i) {
    return TableRow{{{"url", "https://img.example.com/" + std::to_string(i) + ".jpg"},
                     {"state", int64_t{1}},
                     {"last_access", kMsNow + i * 5000},
                     {"size", int64_t{2048 + i}},
                     {"kind", int64_t{2}},
                     {"m", std::string("cache")}}};
  }));
  // Media files with dates and sizes.
  std::vector<std::string> files = Columns(
      "_id INTEGER PRIMARY KEY, _data TEXT, _size INTEGER, format INTEGER,"
      " parent INTEGER, date_added INTEGER, date_modified INTEGER, mime_type TEXT,"
      " title TEXT, media_type INTEGER");
  for (int i = 0; i < 15; ++i) files.push_back("col" + std::to_string(i) + " INTEGER");
  t.push_back(Table("files", files, 25, [](int i) {
    return TableRow{{{"_data", "/storage/emulated/0/DCIM/IMG_" + std::to_string(i) + ".jpg"},
                     {"_size", int64_t{3000000 + i}},
                     {"format", int64_t{12289}},
                     {"parent", int64_t{3}},
                     {"date_added", kMsNow / 1000 + i},
                     {"date_modified", kMsNow / 1000 + i},
                     {"mime_type", std::string("image/jpeg")},
                     {"title", "IMG_" + std::to_string(i)},
                     {"media_type", int64_t{1}}}};
  }));
  // Usage statistics: a package name where a number would be.
  std::vector<std::string> usage = Columns(
      "_id INTEGER PRIMARY KEY, package TEXT, type INTEGER, last_time INTEGER,"
      " count INTEGER, kind INTEGER");
  for (int i = 0; i < 16; ++i) usage.push_back("u" + std::to_string(i) + " INTEGER DEFAULT 0");
  t.push_back(Table("usage", usage, 20, [](int i) {
    return TableRow{{{"package", "com.example.app" + std::to_string(i)},
                     {"type", int64_t{1 + i % 4}},
                     {"last_time", kMsNow + i * 60000},
                     {"count", int64_t{i}},
                     {"kind", int64_t{1 + i % 7}}}};
  }));
  t.push_back(Table(
      "alarms",
      Columns("_id INTEGER PRIMARY KEY, hour INTEGER, minutes INTEGER, daysofweek INTEGER,"
              " alarmtime INTEGER, enabled INTEGER, vibrate INTEGER, message TEXT, alert TEXT"),
      8, [](int i) {
        return TableRow{{{"hour", int64_t{7}},
                         {"minutes", int64_t{i}},
                         {"daysofweek", int64_t{31}},
                         {"alarmtime", kMsNow + i},
                         {"enabled", int64_t{1}},
                         {"vibrate", int64_t{1}},
                         {"message", std::string("起床")}}};
      }));
  extraSql.push_back("CREATE VIRTUAL TABLE words_fts USING fts4(body, address)");
  for (int i = 0; i < 20; ++i) {
    extraSql.push_back("INSERT INTO words_fts VALUES ('indexed text " + std::to_string(i) +
                       "', '+8613800138" + std::to_string(100 + i) + "')");
  }
  return t;
}

std::vector<TableContent> IosTables(std::vector<std::string>& extraSql) {
  std::vector<TableContent> t;
  t.push_back(
      Table("_SqliteDatabaseProperties", {"key TEXT", "value TEXT", "UNIQUE(key)"}, 10, [](int i) {
        return TableRow{{{"key", "prop" + std::to_string(i)}, {"value", std::to_string(i)}}};
      }));
  // Core Data: Z_OPT 3 at c2, a number-like value at c5, seven columns.
  t.push_back(
      Table("ZSYNCANCHOR",
            Columns("Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZFLAGS INTEGER,"
                    " ZKIND INTEGER, ZVALUE VARCHAR, ZIDENTIFIER VARCHAR"),
            15, [](int i) {
              return TableRow{{{"Z_ENT", int64_t{4}},
                               {"Z_OPT", int64_t{3}},
                               {"ZFLAGS", int64_t{0}},
                               {"ZKIND", int64_t{1}},
                               {"ZVALUE", std::to_string(10086 + i)},
                               {"ZIDENTIFIER", "com.apple.sync." + std::to_string(i)}}};
            }));
  // A six-column search index: hashes where the address book has small ids.
  t.push_back(
      Table("ABPersonSearchKey",
            Columns("person_id INTEGER, source_id INTEGER, search_key INTEGER, sort_key INTEGER,"
                    " offset INTEGER, value TEXT"),
            20, [](int i) {
              return TableRow{{{"person_id", int64_t{i + 1}},
                               {"source_id", int64_t{0}},
                               {"search_key", int64_t{912345678901} + i},
                               {"sort_key", int64_t{7700000} + i},
                               {"offset", int64_t{4}},
                               {"value", "138" + std::to_string(1000 + i)}}};
            }));
  t.push_back(
      Table("chat",
            Columns("ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT, style INTEGER,"
                    " state INTEGER, account_id TEXT, properties BLOB, chat_identifier TEXT,"
                    " service_name TEXT, room_name TEXT, account_login TEXT, is_archived INTEGER,"
                    " last_addressed_handle TEXT, display_name TEXT, group_id TEXT,"
                    " is_filtered INTEGER, successful_query INTEGER"),
            10, [](int i) {
              return TableRow{{{"guid", "SMS;-;+86139" + std::to_string(1000 + i)},
                               {"style", int64_t{45}},
                               {"state", int64_t{3}},
                               {"chat_identifier", "+86139" + std::to_string(1000 + i)},
                               {"service_name", std::string("SMS")},
                               {"is_archived", int64_t{0}}}};
            }));
  t.push_back(
      Table("attachment",
            Columns("ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT, created_date INTEGER,"
                    " start_date INTEGER, filename TEXT, uti TEXT, mime_type TEXT,"
                    " transfer_state INTEGER, is_outgoing INTEGER, user_info BLOB,"
                    " transfer_name TEXT, total_bytes INTEGER"),
            10, [](int i) {
              return TableRow{{{"guid", "at_" + std::to_string(i)},
                               {"created_date", int64_t{600000000} + i},
                               {"start_date", int64_t{0}},
                               {"filename", "~/Library/SMS/Attachments/" + std::to_string(i)},
                               {"transfer_state", int64_t{5}},
                               {"is_outgoing", int64_t{i % 2}},
                               {"total_bytes", int64_t{1000 + i}}}};
            }));
  t.push_back(Table("sync_deleted_chats",
                    Columns("ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT, recordID TEXT,"
                            " timestamp INTEGER, extra TEXT"),
                    10, [](int i) {
                      return TableRow{{{"guid", "chat" + std::to_string(i)},
                                       {"recordID", "rec" + std::to_string(i)},
                                       {"timestamp", int64_t{600000000} + i}}};
                    }));
  // Photos: a Core Data table with flags 0 and 1, float dates, file names.
  std::vector<std::string> asset = Columns(
      "Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZHIDDEN INTEGER,"
      " ZKIND INTEGER, ZKINDSUBTYPE INTEGER, ZORIENTATION INTEGER, ZTHUMB BLOB");
  for (int i = 0; i < 7; ++i) asset.push_back("ZFLAG" + std::to_string(i) + " INTEGER");
  asset = Concat(
      asset,
      Columns("ZDATECREATED TIMESTAMP, ZDURATION FLOAT, ZFILENAME VARCHAR, ZDIRECTORY VARCHAR,"
              " ZUTI VARCHAR, ZTITLE VARCHAR, ZUUID VARCHAR, ZCLOUDID VARCHAR, ZW INTEGER,"
              " ZH INTEGER"));
  t.push_back(Table("ZGENERICASSET", asset, 20, [](int i) {
    return TableRow{{{"Z_ENT", int64_t{3}},
                     {"Z_OPT", int64_t{1}},
                     {"ZHIDDEN", int64_t{0}},
                     {"ZKIND", int64_t{1}},
                     {"ZKINDSUBTYPE", int64_t{0}},
                     {"ZORIENTATION", int64_t{1}},
                     {"ZFLAG5", int64_t{i % 2}},
                     {"ZDATECREATED", 600000000.5 + i},
                     {"ZDURATION", 12.5},
                     {"ZFILENAME", "IMG_" + std::to_string(4000 + i) + ".HEIC"},
                     {"ZDIRECTORY", std::string("DCIM/100APPLE")},
                     {"ZUTI", std::string("public.heic")}}};
  }));
  extraSql.push_back("CREATE VIRTUAL TABLE message_search USING fts4(text, handle)");
  for (int i = 0; i < 20; ++i) {
    extraSql.push_back("INSERT INTO message_search VALUES ('indexed " + std::to_string(i) +
                       "', 'SMS')");
  }
  return t;
}

}  // namespace

std::vector<TableContent> UnrelatedTables(bool ios, std::vector<std::string>& extraSql) {
  return ios ? IosTables(extraSql) : AndroidTables(extraSql);
}

}  // namespace velkor::phones
