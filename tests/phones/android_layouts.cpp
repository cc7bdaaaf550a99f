#include "engine/result_tabs.h"
#include "engine/scan_input.h"
#include "tests/phones/phone_layouts.h"
#include "tests/phones/sample_values.h"

namespace velkor::phones {
namespace {

const std::vector<std::string> kAospSms = Columns(
    "_id INTEGER PRIMARY KEY, thread_id INTEGER, address TEXT, person INTEGER,"
    " date INTEGER, date_sent INTEGER DEFAULT 0, protocol INTEGER,"
    " read INTEGER DEFAULT 0, status INTEGER DEFAULT -1, type INTEGER,"
    " reply_path_present INTEGER, subject TEXT, body TEXT, service_center TEXT,"
    " locked INTEGER DEFAULT 0");

PhoneFamily AndroidSms(std::string name, bool samsung, int live, bool secureDelete) {
  PhoneFamily f{std::move(name), kPlatformAndroid, kTabSms, secureDelete, {}, {}};
  std::vector<std::string> tail =
      samsung
          ? Columns(
                "error_code INTEGER DEFAULT 0, sub_id INTEGER DEFAULT -1, creator TEXT,"
                " seen INTEGER DEFAULT 0, deletable INTEGER DEFAULT 0,"
                " sim_slot INTEGER DEFAULT 0, sim_imsi TEXT, hidden INTEGER DEFAULT 0")
          : std::vector<std::string>{"sub_id INTEGER DEFAULT -1", "error_code INTEGER DEFAULT 0",
                                     "creator TEXT", "seen INTEGER DEFAULT 0"};
  TableContent sms{"sms", Concat(kAospSms, tail), {}, {}, 0};
  if (samsung) {  // the vendor's 26 further columns, 49 in all
    sms.columns = Concat(sms.columns, NumberedColumns("svc_flag", 1, 18, "INTEGER DEFAULT 0"));
    sms.columns = Concat(sms.columns, NumberedColumns("svc_text", 1, 8, "TEXT"));
  }
  for (int i = 0; i < live + live / 3; ++i) {
    const bool sent = i % 3 == 0;
    TableRow row{{{"thread_id", int64_t{i % 5 + 1}},
                  {"address", Number(i)},
                  {"date", UnixTime(i) * 1000 + 321},
                  {"date_sent", UnixTime(i) * 1000 - 4000},
                  {"type", int64_t{sent ? 2 : 1}},
                  {"body", Text(i)},
                  {"creator", std::string(sent ? "com.android.mms" : "com.android.phone")}},
                 Deleted(i)};
    if (!sent) {
      row.values.push_back({"protocol", int64_t{0}});
      row.values.push_back({"reply_path_present", int64_t{0}});
      row.values.push_back({"service_center", std::string("+8613800100500")});
    }
    if (samsung) row.values.push_back({"sim_imsi", std::string("460001234567890")});
    sms.rows.push_back(row);
    f.rows.push_back(
        {{Number(i), sent ? "发送" : "接受", TimeText(UnixTime(i)), Text(i)}, row.deleted});
  }
  f.tables = {sms};
  return f;
}

// Calls of calllog.db (Android 7 on, 44 columns) or of contacts2.db on
// Android 5 and 6 (presentation at c2, name at c14, 26 columns).
PhoneFamily AndroidCalls(std::string name, bool calllogDb, int live) {
  PhoneFamily f{std::move(name), kPlatformAndroid, kTabCalls, false, {}, {}};
  std::vector<std::string> columns =
      calllogDb
          ? Columns(
                "_id INTEGER PRIMARY KEY AUTOINCREMENT, number TEXT,"
                " presentation INTEGER NOT NULL DEFAULT 1,"
                " post_dial_digits TEXT NOT NULL DEFAULT '', via_number TEXT NOT NULL DEFAULT '',"
                " date INTEGER, duration INTEGER, data_usage INTEGER, type INTEGER,"
                " features INTEGER NOT NULL DEFAULT 0, subscription_component_name TEXT,"
                " subscription_id TEXT, phone_account_address TEXT,"
                " phone_account_hidden INTEGER NOT NULL DEFAULT 0, sub_id INTEGER DEFAULT -1,"
                " new INTEGER, name TEXT, numbertype INTEGER, numberlabel TEXT, countryiso TEXT,"
                " voicemail_uri TEXT, is_read INTEGER, geocoded_location TEXT, lookup_uri TEXT,"
                " matched_number TEXT, normalized_number TEXT,"
                " photo_id INTEGER NOT NULL DEFAULT 0, photo_uri TEXT, formatted_number TEXT,"
                " _data TEXT, has_content INTEGER, mime_type TEXT, source_data TEXT,"
                " source_package TEXT, transcription TEXT, transcription_state INTEGER DEFAULT 0,"
                " state INTEGER, dirty INTEGER NOT NULL DEFAULT 0,"
                " deleted INTEGER NOT NULL DEFAULT 0, backed_up INTEGER NOT NULL DEFAULT 0,"
                " last_modified INTEGER DEFAULT 0, add_for_all_users INTEGER NOT NULL DEFAULT 1,"
                " call_screening_component_name TEXT, call_screening_app_name TEXT")
          : Columns(
                "_id INTEGER PRIMARY KEY AUTOINCREMENT, number TEXT,"
                " presentation INTEGER NOT NULL DEFAULT 1, date INTEGER, duration INTEGER,"
                " type INTEGER, new INTEGER, numbertype INTEGER, numberlabel TEXT,"
                " countryiso TEXT, voicemail_uri TEXT, is_read INTEGER, geocoded_location TEXT,"
                " lookup_uri TEXT, name TEXT, matched_number TEXT, normalized_number TEXT,"
                " photo_id INTEGER NOT NULL DEFAULT 0, formatted_number TEXT, data_usage INTEGER,"
                " features INTEGER NOT NULL DEFAULT 0, subscription_component_name TEXT,"
                " subscription_id TEXT, transcription TEXT, sub_id INTEGER DEFAULT -1,"
                " phone_account_address TEXT");
  TableContent calls{"calls", columns, {}, {}, 0};
  const char* const kTypeTexts[] = {"来电", "已拨", "未接"};
  for (int i = 0; i < live + live / 3; ++i) {
    const int type = i % 3 + 1;
    const bool known = i % 4 != 1;  // unknown callers have no name, type or label
    const std::string location = i % 2 ? "北京" : "서울";
    TableRow row{{{"number", Number(i)},
                  {"date", UnixTime(i) * 1000 + 77},
                  {"duration", int64_t{type == 3 ? 0 : 30 + i}},
                  {"type", int64_t{type}},
                  {"new", int64_t{1}},
                  {"countryiso", std::string("CN")},
                  {"is_read", int64_t{1}},
                  {"geocoded_location", location},
                  {"subscription_component_name",
                   std::string("com.android.phone/.TelephonyConnectionService")},
                  {"subscription_id", std::string("89860012345678901234")}},
                 Deleted(i)};
    if (known) {
      row.values.push_back({"name", std::string(kLast[i % 8]) + kFirst[i % 8]});
      row.values.push_back({"numbertype", int64_t{2}});
      row.values.push_back({"numberlabel", std::string("")});
    }
    calls.rows.push_back(row);
    f.rows.push_back({{known ? std::string(kLast[i % 8]) + kFirst[i % 8] : "", Number(i),
                       calllogDb ? location : "", TimeText(UnixTime(i)), kTypeTexts[type - 1],
                       std::to_string(type == 3 ? 0 : 30 + i)},
                      row.deleted});
  }
  f.tables = {calls};
  return f;
}

// Android contact data with hash_id at c4; the last three columns came by
// ALTER TABLE after the first rows.
PhoneFamily AndroidHashIdData(int contacts) {
  PhoneFamily f{"android data with hash_id", kPlatformAndroid, kTabPhoneBook, true, {}, {}};
  TableContent data{
      "data",
      Concat(
          Columns("_id INTEGER PRIMARY KEY AUTOINCREMENT, package_id INTEGER,"
                  " mimetype_id INTEGER NOT NULL, raw_contact_id INTEGER NOT NULL, hash_id TEXT,"
                  " is_read_only INTEGER NOT NULL DEFAULT 0, is_primary INTEGER NOT NULL DEFAULT 0,"
                  " is_super_primary INTEGER NOT NULL DEFAULT 0,"
                  " data_version INTEGER NOT NULL DEFAULT 0"),
          Concat(NumberedColumns("data", 1, 15, "TEXT"),
                 NumberedColumns("data_sync", 1, 4, "TEXT"))),
      {},
      {"carrier_presence INTEGER NOT NULL DEFAULT 0", "preferred_phone_account_component_name TEXT",
       "preferred_phone_account_id TEXT"},
      6};
  for (int k = 1; k <= contacts; ++k) {
    const std::string name = std::string(kLast[k % 8]) + kFirst[k % 8];
    const bool deleted = Deleted(k);
    const std::string hash = "5a1f" + std::to_string(k * 104729) + "0e9c7d";
    auto add = [&](int64_t mime, std::string data1, std::string data2) {
      data.rows.push_back({{{"package_id", int64_t{1}},
                            {"mimetype_id", mime},
                            {"raw_contact_id", int64_t{k}},
                            {"hash_id", hash},
                            {"data1", std::move(data1)},
                            {"data2", std::move(data2)}},
                           deleted});
    };
    add(7, name, kFirst[k % 8]);
    add(5, Number(k), "2");
    add(1, "user" + std::to_string(k) + "@example.com", "1");  // e-mail: not a phone book field
    f.rows.push_back({{name, Number(k)}, deleted});
  }
  f.tables = {data};
  return f;
}

// The 16-column sms of Android before 5 (no date_sent): the text is subject
// and body, the service centre after them is no part of it.
PhoneFamily AndroidSms16(int live) {
  PhoneFamily f{"android sms, 16 columns", kPlatformAndroid, kTabSms, false, {}, {}};
  TableContent sms{
      "sms",
      Columns("_id INTEGER PRIMARY KEY, thread_id INTEGER, address TEXT, person INTEGER,"
              " date INTEGER, protocol INTEGER, read INTEGER DEFAULT 0,"
              " status INTEGER DEFAULT -1, type INTEGER, reply_path_present INTEGER,"
              " subject TEXT, body TEXT, service_center TEXT, locked INTEGER DEFAULT 0,"
              " error_code INTEGER DEFAULT 0, seen INTEGER DEFAULT 0"),
      {},
      {},
      0};
  for (int i = 0; i < live; ++i) {
    const bool sent = i % 3 == 0;
    const std::string subject = i % 2 ? "Re: " : "";
    TableRow row{{{"thread_id", int64_t{1}},
                  {"address", Number(i)},
                  {"date", UnixTime(i) * 1000},
                  {"protocol", int64_t{0}},
                  {"type", int64_t{sent ? 2 : 1}},
                  {"reply_path_present", int64_t{0}},
                  {"body", Text(i)}},
                 false};
    if (!subject.empty()) row.values.push_back({"subject", subject});
    if (!sent) row.values.push_back({"service_center", std::string("+8613800100500")});
    sms.rows.push_back(row);
    f.rows.push_back(
        {{Number(i), sent ? "发送" : "接受", TimeText(UnixTime(i)), subject + Text(i)}});
  }
  f.tables = {sms};
  return f;
}

}  // namespace

std::vector<PhoneFamily> AndroidFamilies() {
  return {AndroidSms("android sms, 19 columns", false, 14, false),
          AndroidSms("android sms, 49 columns", true, 32, true),
          AndroidCalls("android calls of calllog.db", true, 12),
          AndroidCalls("android calls of contacts2.db", false, 21),
          AndroidHashIdData(30),
          AndroidSms16(20)};
}

}  // namespace velkor::phones
