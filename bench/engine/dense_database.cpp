#include "bench/engine/dense_database.h"

#include <sqlite3.h>

namespace velkor::bench {
namespace {

// Three tables whose rows the record scan takes: short messages of the
// classic 18-column layout, calls of the 11-column call log and chat
// messages, one row of each per step, so every stretch of the image holds
// pages of all three.
constexpr const char* kSchema =
    "CREATE TABLE sms(_id INTEGER PRIMARY KEY, thread_id INTEGER, address TEXT, person INTEGER, "
    "date INTEGER, protocol INTEGER, read INTEGER, status INTEGER, type INTEGER, "
    "reply_path_present INTEGER, date_sent INTEGER, subject TEXT, body TEXT, service_center "
    "TEXT, locked INTEGER, error_code INTEGER, seen INTEGER, deletable INTEGER);"
    "CREATE TABLE calls(_id INTEGER PRIMARY KEY, number TEXT, date INTEGER, duration INTEGER, "
    "type INTEGER, new INTEGER, presentation INTEGER, name TEXT, numbertype INTEGER, "
    "numberlabel TEXT, features INTEGER);"
    "CREATE TABLE message(msgId INTEGER PRIMARY KEY, talker TEXT, msgSvrId INTEGER, createTime "
    "INTEGER, isSend INTEGER, status INTEGER, type INTEGER, isShowTimer INTEGER, flag INTEGER, "
    "bizChatId INTEGER, imgPath TEXT, content TEXT, reserved TEXT, transContent TEXT);";

constexpr const char* kInserts[] = {
    "INSERT INTO sms VALUES(NULL, ?1 % 50, '1380013' || ?1, 0, 1300000000000 + ?1, 0, 1, -1, "
    "1 + ?1 % 2, 0, 1300000000000 + ?1, NULL, 'message body number ' || ?1 || ', see you at the "
    "station tonight', NULL, 0, 0, 1, 0)",
    "INSERT INTO calls VALUES(NULL, '1390013' || ?1, 1300000000000 + ?1, ?1 % 600, 1 + ?1 % 3, "
    "0, 1, 'caller ' || (?1 % 97) || ' of the office downtown', 2, NULL, 0)",
    "INSERT INTO message VALUES(NULL, 'wxid_' || (?1 % 89), ?1, 1300000000 + ?1, ?1 % 2, 2, 1, "
    "0, 0, 0, NULL, 'chat line ' || ?1 || ' sent from the phone of a friend', NULL, NULL)",
};

}  // namespace

std::vector<uint8_t> DenseDatabaseBytes(size_t size) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
  sqlite3_stmt* inserts[3] = {};
  for (int t = 0; t < 3; ++t) sqlite3_prepare_v2(db, kInserts[t], -1, &inserts[t], nullptr);
  std::vector<uint8_t> bytes;
  for (int i = 0;; ++i) {
    for (sqlite3_stmt* insert : inserts) {
      sqlite3_bind_int(insert, 1, i);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    if (i % 1000 == 999) {
      sqlite3_int64 length = 0;
      unsigned char* image = sqlite3_serialize(db, "main", &length, 0);
      if (static_cast<size_t>(length) >= size) {
        bytes.assign(image, image + length);
        sqlite3_free(image);
        break;
      }
      sqlite3_free(image);
    }
  }
  for (sqlite3_stmt* insert : inserts) sqlite3_finalize(insert);
  sqlite3_close(db);
  return bytes;
}

}  // namespace velkor::bench
