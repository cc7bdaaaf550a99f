#include "bench/engine/dense_database.h"

#include <sqlite3.h>

namespace velkor::bench {

std::vector<uint8_t> DenseDatabaseBytes(size_t size) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db,
               "CREATE TABLE sms(_id INTEGER PRIMARY KEY, thread_id INTEGER, address TEXT, "
               "person INTEGER, date INTEGER, date_sent INTEGER, protocol INTEGER, read "
               "INTEGER, status INTEGER, type INTEGER, reply_path_present INTEGER, subject "
               "TEXT, body TEXT, service_center TEXT, locked INTEGER);",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO sms VALUES(NULL, ?1, '1380013' || ?1, 0, 1300000000000 + ?1, "
                     "0, 0, 1, -1, 1 + ?1 % 2, 0, NULL, 'message body number ' || ?1, NULL, 0)",
                     -1, &insert, nullptr);
  std::vector<uint8_t> bytes;
  for (int i = 0;; ++i) {
    sqlite3_bind_int(insert, 1, i);
    sqlite3_step(insert);
    sqlite3_reset(insert);
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
  sqlite3_finalize(insert);
  sqlite3_close(db);
  return bytes;
}

}  // namespace velkor::bench
