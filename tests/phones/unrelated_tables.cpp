#include "tests/phones/phone_layouts.h"

namespace velkor::phones {

// clang-format off
// Dates are milliseconds or seconds near 1600000000, or seconds since 2001.
PhoneFamily UnrelatedTables(bool ios) {
  return {"unrelated tables", ios ? kPlatformIos : kPlatformAndroid, 0, false, ios ? R"(
CREATE TABLE _SqliteDatabaseProperties (key TEXT, value TEXT, UNIQUE(key));
INSERT INTO _SqliteDatabaseProperties SELECT 'prop' || i, '' || i FROM n WHERE i < 10;
-- Core Data: Z_OPT 3 at c2, a number-like value at c5, seven columns.
CREATE TABLE ZSYNCANCHOR (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZFLAGS INTEGER,
ZKIND INTEGER, ZVALUE VARCHAR, ZIDENTIFIER VARCHAR);
INSERT INTO ZSYNCANCHOR (Z_ENT, Z_OPT, ZFLAGS, ZKIND, ZVALUE, ZIDENTIFIER)
SELECT 4, 3, 0, 1, '' || (10086 + i), 'com.apple.sync.' || i FROM n WHERE i < 15;
-- A six-column search index: hashes where the address book has small ids.
CREATE TABLE ABPersonSearchKey (person_id INTEGER, source_id INTEGER, search_key INTEGER,
sort_key INTEGER, offset INTEGER, value TEXT);
INSERT INTO ABPersonSearchKey SELECT i + 1, 0, 912345678901 + i, 7700000 + i, 4, '138' || (1000 + i)
FROM n WHERE i < 20;
CREATE TABLE chat (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT, style INTEGER, state INTEGER,
t1..2 TEXT, chat_identifier TEXT, service_name TEXT, t3..4 TEXT, is_archived INTEGER, t5..9 TEXT);
INSERT INTO chat (guid, style, state, chat_identifier, service_name, is_archived)
SELECT 'SMS;-;+86139' || (1000 + i), 45, 3, '+86139' || (1000 + i), 'SMS', 0 FROM n WHERE i < 10;
CREATE TABLE attachment (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT, created_date INTEGER,
start_date INTEGER, filename TEXT, t1..2 TEXT, transfer_state INTEGER, is_outgoing INTEGER,
t3..4 TEXT, total_bytes INTEGER);
INSERT INTO attachment (guid, created_date, start_date, filename, transfer_state, is_outgoing,
total_bytes) SELECT 'at_' || i, 600000000 + i, 0, '~/Library/SMS/Attachments/' || i, 5, i % 2,
1000 + i FROM n WHERE i < 10;
CREATE TABLE sync_deleted_chats (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT,
recordID TEXT, timestamp INTEGER, extra TEXT);
INSERT INTO sync_deleted_chats (guid, recordID, timestamp)
SELECT 'chat' || i, 'rec' || i, 600000000 + i FROM n WHERE i < 10;
-- Photos: a Core Data table with flags 0 and 1, float dates, file names.
CREATE TABLE ZGENERICASSET (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER,
ZHIDDEN INTEGER, ZKIND INTEGER, ZKINDSUBTYPE INTEGER, ZORIENTATION INTEGER, ZTHUMB BLOB,
ZFLAG0..6 INTEGER, ZDATECREATED TIMESTAMP, ZDURATION FLOAT, ZFILENAME VARCHAR, ZDIRECTORY VARCHAR,
ZUTI VARCHAR, t1..3 VARCHAR, ZW INTEGER, ZH INTEGER);
INSERT INTO ZGENERICASSET (Z_ENT, Z_OPT, ZHIDDEN, ZKIND, ZKINDSUBTYPE, ZORIENTATION, ZFLAG5,
ZDATECREATED, ZDURATION, ZFILENAME, ZDIRECTORY, ZUTI) SELECT 3, 1, 0, 1, 0, 1, i % 2,
600000000.5 + i, 12.5, 'IMG_' || (4000 + i) || '.HEIC', 'DCIM/100APPLE', 'public.heic'
FROM n WHERE i < 20;
CREATE VIRTUAL TABLE message_search USING fts4(text, handle);
INSERT INTO message_search SELECT 'indexed ' || i, 'SMS' FROM n WHERE i < 20)"
              : R"(
CREATE TABLE settings (_id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT UNIQUE, value TEXT);
INSERT INTO settings (name, value) SELECT 'setting_' || i, '' || (i * 3) FROM n WHERE i < 20;
-- A download list: "121..." with a millisecond date and small codes.
CREATE TABLE downloads (_id INTEGER PRIMARY KEY AUTOINCREMENT, uri TEXT, method INTEGER, t1 TEXT,
no_integrity INTEGER, t2 TEXT, otaupdate INTEGER, t3..4 TEXT, destination INTEGER, t5..6 TEXT,
status INTEGER, t7 TEXT, lastmod INTEGER, t8..11 TEXT, total_bytes INTEGER, t12..14 TEXT,
title TEXT, t15..16 TEXT);
INSERT INTO downloads (uri, method, no_integrity, otaupdate, destination, status, lastmod,
total_bytes, title) SELECT 'https://dl.example.com/app' || i || '.apk', 1, 1, 0, 2, 200,
1600000000000 + i * 1000, 123456, 'app.apk' FROM n WHERE i < 15;
-- A thumbnail cache shaped like a call log: url, state 1, a date, kind 2.
CREATE TABLE thumbnail_cache (_id INTEGER PRIMARY KEY, url TEXT, state INTEGER, last_access INTEGER,
size INTEGER, kind INTEGER, t1..12 TEXT, m TEXT, t13..15 TEXT);
INSERT INTO thumbnail_cache (url, state, last_access, size, kind, m)
SELECT 'https://img.example.com/' || i || '.jpg', 1, 1600000000000 + i * 5000, 2048 + i, 2, 'cache'
FROM n WHERE i < 20;
CREATE TABLE files (_id INTEGER PRIMARY KEY, _data TEXT, _size INTEGER, format INTEGER,
parent INTEGER, date_added INTEGER, date_modified INTEGER, mime_type TEXT, title TEXT,
media_type INTEGER, col0..14 INTEGER);
INSERT INTO files (_data, _size, format, parent, date_added, date_modified, mime_type, title,
media_type) SELECT '/storage/emulated/0/DCIM/IMG_' || i || '.jpg', 3000000 + i, 12289, 3,
1600000000 + i, 1600000000 + i, 'image/jpeg', 'IMG_' || i, 1 FROM n WHERE i < 25;
-- Usage statistics: a package name where a number would be.
CREATE TABLE usage (_id INTEGER PRIMARY KEY, package TEXT, type INTEGER, last_time INTEGER,
count INTEGER, kind INTEGER, u0..15 INTEGER DEFAULT 0);
INSERT INTO usage (package, type, last_time, count, kind) SELECT 'com.example.app' || i,
1 + i % 4, 1600000000000 + i * 60000, i, 1 + i % 7 FROM n WHERE i < 20;
CREATE TABLE alarms (_id INTEGER PRIMARY KEY, hour INTEGER, minutes INTEGER, daysofweek INTEGER,
alarmtime INTEGER, enabled INTEGER, vibrate INTEGER, message TEXT, alert TEXT);
INSERT INTO alarms (hour, minutes, daysofweek, alarmtime, enabled, vibrate, message)
SELECT 7, i, 31, 1600000000000 + i, 1, 1, '起床' FROM n WHERE i < 8;
CREATE VIRTUAL TABLE words_fts USING fts4(body, address);
INSERT INTO words_fts SELECT 'indexed text ' || i, '+8613800138' || (100 + i) FROM n WHERE i < 20)", "", ""};
}
// clang-format on

}  // namespace velkor::phones
