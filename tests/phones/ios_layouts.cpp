#include "tests/phones/phone_layouts.h"

namespace velkor::phones {
namespace {

// clang-format off
// message and handle of sms.db: iOS 6/7 (38 columns, seconds since 2001, message before handle)
// or iOS 11 and later (62 columns, nanoseconds; handle first, with person_centric_id). The
// number comes from the handle that handle_id names.
PhoneFamily IosMessages(std::string name, bool nanoseconds) {
  const std::string message = R"(
CREATE TABLE message (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL, text TEXT,
replace INTEGER DEFAULT 0, t1 TEXT, handle_id INTEGER DEFAULT 0, t2..4 TEXT, z1..2 INTEGER DEFAULT 0,
service TEXT, account TEXT, account_guid TEXT, error INTEGER DEFAULT 0, date INTEGER, date_read INTEGER,
t5 TEXT, is_delivered INTEGER DEFAULT 0, is_finished INTEGER DEFAULT 0, is_emote INTEGER DEFAULT 0,
is_from_me INTEGER DEFAULT 0, z3..16 INTEGER DEFAULT 0, t6 TEXT, z17 INTEGER DEFAULT 0)" +
      std::string(nanoseconds ? ", z18..33 INTEGER DEFAULT 0, t7..14 TEXT" : "") + R"();
INSERT INTO message (guid, text, handle_id, service, account, account_guid, date, date_read,
is_finished, is_from_me) SELECT guid, text, i % 6 + 1, iif(i % 6 % 3 = 1, 'iMessage', 'SMS'),
'p:+8613912345678', (10009000 + i) || '-CEEA-467F-A0E6-3F0A1F5B1000', date, date + 60, 1, i % 3 = 0
FROM (SELECT *, (unix - 978307200))" + std::string(nanoseconds ? " * 1000000000 + 123456789" : "") +
      R"( AS date FROM n WHERE i < 53);)";
  const std::string handle = std::string(R"(
CREATE TABLE handle (ROWID INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE, id TEXT NOT NULL, country TEXT,
service TEXT NOT NULL, t1 TEXT)") + (nanoseconds ? ", t2 TEXT" : "") + R"();
INSERT INTO handle (id, country, service) SELECT iif(i % 3 = 2, 'friend' || i || '@icloud.com',
'+86138' || (10000000 + (100 + i) * 7919)), 'cn', iif(i % 3 = 2, 'iMessage', 'SMS') FROM n
WHERE i BETWEEN 1 AND 6;)";
  return {std::move(name), kPlatformIos, kTabSms, !nanoseconds,
          nanoseconds ? handle + message : message + handle,
          "DELETE FROM message WHERE ROWID % 4 = 0",
          std::string("SELECT handle.id, iif(is_from_me, '发送', '接受'), record_time(date") +
              (nanoseconds ? " / 1000000000" : "") +
              " + 978307200), text FROM message JOIN handle ON handle.ROWID = handle_id"};
}

}  // namespace

std::vector<PhoneFamily> IosFamilies() {
  return {IosMessages("iOS 7 message + handle", false),
          IosMessages("iOS 11 message + handle", true),
          // AddressBook.sqlitedb: ABPerson (30 columns) and a 7-column ABMultiValue holding a
          // phone number (property 3), an e-mail address (4; some typed a number there) and a
          // URL (22).
          {"iOS ABPerson + 7-column ABMultiValue", kPlatformIos, kTabPhoneBook, false, R"(
CREATE TABLE ABPerson (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, First TEXT, Last TEXT, t1..7 TEXT,
Kind INTEGER, t8..14 TEXT, CreationDate INTEGER, ModificationDate INTEGER, t15..24 TEXT);
INSERT INTO ABPerson (First, Last, Kind, CreationDate, ModificationDate)
SELECT first, last, 0, unix - 978307200, unix - 978307200 + 9 FROM n WHERE i BETWEEN 1 AND 30;
CREATE TABLE ABMultiValue (UID INTEGER PRIMARY KEY, record_id INTEGER, property INTEGER,
identifier INTEGER, label INTEGER, value TEXT, guid TEXT);
INSERT INTO ABMultiValue (record_id, property, identifier, label, value, guid)
SELECT i, p, 0, 1, CASE p WHEN 3 THEN number WHEN 22 THEN 'http://example.com/' || i
ELSE iif(i % 5, 'person' || i || '@example.com', '+86 10 ' || (60000000 + i)) END,
(10000000 + i * 10 + p) || '-CEEA-467F-A0E6-3F0A1F5B1000'
FROM n, (SELECT 3 AS p UNION ALL SELECT 4 UNION ALL SELECT 22) WHERE i BETWEEN 1 AND 30
ORDER BY i, p)", "", R"(SELECT Last || First, value FROM ABPerson
JOIN ABMultiValue ON record_id = ABPerson.ROWID WHERE property = 3)"},
          // call of call_history.db (iOS up to 7): flags 4 incoming, 5 dialled.
          {"iOS call_history.db", kPlatformIos, kTabCalls, false, R"(
CREATE TABLE call (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, address TEXT, date INTEGER,
duration INTEGER, flags INTEGER, id INTEGER, name TEXT, country_code TEXT, network_code TEXT,
read INTEGER, t1..3 TEXT);
INSERT INTO call (address, date, duration, flags, id, country_code, network_code, read, name)
SELECT number, unix, iif(i % 3 = 2, 0, 12 + i), iif(i % 3 = 0, 5, 4), -1, '460', '00', 1,
iif(i % 2, NULL, name) FROM n WHERE i < 32)", "DELETE FROM call WHERE ROWID % 4 = 0", R"(
SELECT ifnull(name, ''), address, '', record_time(date), CASE WHEN flags = 5 THEN '已拨'
WHEN duration = 0 THEN '未接' ELSE '来电' END, duration FROM call)"},
          // ZCALLRECORD of CallHistory.storedata (iOS 8 on, 28 columns): ZDATE and ZDURATION
          // are floats, stored as integers where they have no fraction.
          {"iOS ZCALLRECORD", kPlatformIos, kTabCalls, true, R"(
CREATE TABLE ZCALLRECORD (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZANSWERED INTEGER,
ZCALL_CATEGORY INTEGER, ZCALLTYPE INTEGER, i1..6 INTEGER, ZORIGINATED INTEGER, ZREAD INTEGER,
i7 INTEGER, ZDATE TIMESTAMP, ZDURATION FLOAT, ZADDRESS VARCHAR,
ZISO_COUNTRY_CODE VARCHAR, ZLOCATION VARCHAR, ZNAME VARCHAR, ZSERVICE_PROVIDER VARCHAR,
ZUNIQUE_ID VARCHAR, t1..5 VARCHAR);
INSERT INTO ZCALLRECORD (Z_ENT, Z_OPT, ZANSWERED, ZCALL_CATEGORY, ZCALLTYPE, ZORIGINATED, ZREAD,
ZDATE, ZDURATION, ZADDRESS, ZISO_COUNTRY_CODE, ZLOCATION, ZNAME, ZSERVICE_PROVIDER, ZUNIQUE_ID)
SELECT 2, 1, i % 3 = 1, 1, iif(i % 4 = 2, 16, 1), i % 3 = 0, 1,
unix - 978307200 + iif(i % 5 = 0, 0.0, 0.25), iif(i % 3 = 2, 0.0, iif(i % 2, 42.5 + i, 61.0)),
iif(i % 4 = 2, 'friend' || i || '@icloud.com', number), 'cn', iif(i % 2, 'Beijing, China', '서울'),
name, 'com.apple.Telephony', guid FROM n WHERE i < 40)",
           "DELETE FROM ZCALLRECORD WHERE Z_PK % 4 = 0", R"(
SELECT ZNAME, ZADDRESS, ZLOCATION, record_time(ZDATE + 978307200), CASE WHEN ZORIGINATED
THEN '已拨' WHEN ZANSWERED THEN '来电' ELSE '未接' END, CAST(ZDURATION + 0.5 AS INTEGER)
FROM ZCALLRECORD)"}};
}
// clang-format on

}  // namespace velkor::phones
