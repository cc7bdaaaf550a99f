#include "tests/phones/phone_layouts.h"

namespace velkor::phones {
namespace {

const std::string kListSms =
    "SELECT address, iif(type = 2, '发送', '接受'), record_time(date / 1000), ";

// clang-format off
// sms of 19 columns, or of 49 with a vendor's; every fourth row deleted.
PhoneFamily AndroidSms(std::string name, bool vendor, int rows, bool secureDelete) {
  return {std::move(name), kPlatformAndroid, kTabSms, secureDelete, R"(
CREATE TABLE sms (_id INTEGER PRIMARY KEY, thread_id INTEGER, address TEXT, person INTEGER,
date INTEGER, date_sent INTEGER DEFAULT 0, protocol INTEGER, read INTEGER DEFAULT 0,
status INTEGER DEFAULT -1, type INTEGER, reply_path_present INTEGER, subject TEXT, body TEXT,
service_center TEXT, locked INTEGER DEFAULT 0, )" + std::string(vendor ? R"(
error_code INTEGER DEFAULT 0, sub_id INTEGER DEFAULT -1, creator TEXT, seen INTEGER DEFAULT 0,
z1..2 INTEGER DEFAULT 0, sim_imsi TEXT, z3..21 INTEGER DEFAULT 0, t1..8 TEXT)" : R"(
sub_id INTEGER DEFAULT -1, error_code INTEGER DEFAULT 0, creator TEXT, seen INTEGER DEFAULT 0)") +
      ");\nINSERT INTO sms (" + (vendor ? "sim_imsi, " : "") + R"(thread_id, address, date,
date_sent, type, body, creator, protocol, reply_path_present, service_center) SELECT )" +
      (vendor ? "'460001234567890', " : "") + R"(i % 5 + 1, number, unix * 1000 + 321,
unix * 1000 - 4000, iif(i % 3 = 0, 2, 1), text, iif(i % 3, 'com.android.phone', 'com.android.mms'),
iif(i % 3, 0, NULL), iif(i % 3, 0, NULL), iif(i % 3, '+8613800100500', NULL) FROM n WHERE i < )" +
      std::to_string(rows), "DELETE FROM sms WHERE _id % 4 = 0", kListSms + "body FROM sms"};
}

// Calls of calllog.db (Android 7 on, 44 columns) or of contacts2.db on Android 5 and 6
// (presentation at c2, name at c14, 26 columns); unknown callers have no name, type or label.
PhoneFamily AndroidCalls(std::string name, bool calllogDb, int rows) {
  return {std::move(name), kPlatformAndroid, kTabCalls, false, std::string(R"(
CREATE TABLE calls (_id INTEGER PRIMARY KEY AUTOINCREMENT, number TEXT, presentation INTEGER DEFAULT 1,
)") + (calllogDb ? R"(post_dial_digits TEXT DEFAULT '', via_number TEXT DEFAULT '', date INTEGER,
duration INTEGER, data_usage INTEGER, type INTEGER, features INTEGER DEFAULT 0,
subscription_component_name TEXT, subscription_id TEXT, t1 TEXT, hidden INTEGER DEFAULT 0,
sub_id INTEGER DEFAULT -1, new INTEGER, name TEXT, numbertype INTEGER, numberlabel TEXT,
countryiso TEXT, voicemail_uri TEXT, is_read INTEGER, geocoded_location TEXT, t2..4 TEXT,
photo_id INTEGER DEFAULT 0, t5..12 TEXT, transcription_state INTEGER DEFAULT 0, state INTEGER,
z1..4 INTEGER DEFAULT 0, add_for_all_users INTEGER DEFAULT 1, t13..14 TEXT);)" : R"(date INTEGER,
duration INTEGER, type INTEGER, new INTEGER, numbertype INTEGER, numberlabel TEXT, countryiso TEXT,
voicemail_uri TEXT, is_read INTEGER, geocoded_location TEXT, lookup_uri TEXT, name TEXT, t1..2 TEXT,
photo_id INTEGER DEFAULT 0, t3..4 TEXT, features INTEGER DEFAULT 0, subscription_component_name TEXT,
subscription_id TEXT, transcription TEXT, sub_id INTEGER DEFAULT -1, t5 TEXT);)") + R"(
INSERT INTO calls (number, date, duration, type, new, countryiso, is_read, geocoded_location,
subscription_component_name, subscription_id, name, numbertype, numberlabel)
SELECT number, unix * 1000 + 77, iif(i % 3 = 2, 0, 30 + i), i % 3 + 1, 1, 'CN', 1,
iif(i % 2, '北京', '서울'), 'com.android.phone/.TelephonyConnectionService', '89860012345678901234',
iif(i % 4 = 1, NULL, name), iif(i % 4 = 1, NULL, 2), iif(i % 4 = 1, NULL, '') FROM n WHERE i < )" +
      std::to_string(rows), "DELETE FROM calls WHERE _id % 4 = 0",
      std::string("SELECT ifnull(name, ''), number, ") + (calllogDb ? "geocoded_location" : "''") +
      R"(, record_time(date / 1000),
CASE type WHEN 1 THEN '来电' WHEN 2 THEN '已拨' ELSE '未接' END, duration FROM calls)"};
}

// data with hash_id at c4: a name, a number and an e-mail address (no phone book field)
// per contact; the last three columns came by ALTER TABLE after the first two contacts.
std::string DataRows(const char* contacts) {
  return std::string(R"(
INSERT INTO data (package_id, mimetype_id, raw_contact_id, hash_id, data1, data2)
SELECT 1, m, i, '5a1f' || (i * 104729) || '0e9c7d',
CASE m WHEN 7 THEN name WHEN 5 THEN number ELSE 'user' || i || '@example.com' END,
CASE m WHEN 7 THEN first WHEN 5 THEN '2' ELSE '1' END
FROM n, (SELECT 7 AS m UNION ALL SELECT 5 UNION ALL SELECT 1) WHERE i BETWEEN )") + contacts +
         " ORDER BY i, m DESC;";
}

}  // namespace

std::vector<PhoneFamily> AndroidFamilies() {
  return {AndroidSms("android sms, 19 columns", false, 18, false),
          AndroidSms("android sms, 49 columns", true, 42, true),
          AndroidCalls("android calls of calllog.db", true, 16),
          AndroidCalls("android calls of contacts2.db", false, 28),
          {"android data with hash_id", kPlatformAndroid, kTabPhoneBook, true, R"(
CREATE TABLE data (_id INTEGER PRIMARY KEY AUTOINCREMENT, package_id INTEGER,
mimetype_id INTEGER NOT NULL, raw_contact_id INTEGER NOT NULL, hash_id TEXT,
z1..4 INTEGER NOT NULL DEFAULT 0, data1..15 TEXT, data_sync1..4 TEXT);)" + DataRows("1 AND 2") + R"(
ALTER TABLE data ADD COLUMN carrier_presence INTEGER NOT NULL DEFAULT 0;
ALTER TABLE data ADD COLUMN t1 TEXT; ALTER TABLE data ADD COLUMN t2 TEXT;)" + DataRows("3 AND 30"),
           "DELETE FROM data WHERE raw_contact_id % 4 = 3", R"(
SELECT data1, (SELECT data1 FROM data AS d WHERE d.raw_contact_id = data.raw_contact_id
AND d.mimetype_id = 5) FROM data WHERE mimetype_id = 7)"},
          // The 16-column sms of Android before 5 (no date_sent): the text is subject and body,
          // the service centre after them is not in it.
          {"android sms, 16 columns", kPlatformAndroid, kTabSms, false, R"(
CREATE TABLE sms (_id INTEGER PRIMARY KEY, thread_id INTEGER, address TEXT, person INTEGER,
date INTEGER, protocol INTEGER, read INTEGER DEFAULT 0, status INTEGER DEFAULT -1, type INTEGER,
reply_path_present INTEGER, subject TEXT, body TEXT, service_center TEXT, z1..3 INTEGER DEFAULT 0);
INSERT INTO sms (thread_id, address, date, protocol, type, reply_path_present, body, subject,
service_center) SELECT 1, number, unix * 1000, 0, iif(i % 3 = 0, 2, 1), 0, text,
iif(i % 2, 'Re: ', NULL), iif(i % 3, '+8613800100500', NULL) FROM n WHERE i < 20)",
           "", kListSms + "ifnull(subject, '') || body FROM sms"}};
}
// clang-format on

}  // namespace velkor::phones
