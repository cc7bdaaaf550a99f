#include "tests/phones/phone_layouts.h"

#include "engine/record_time.h"
#include "engine/result_tabs.h"
#include "engine/scan_input.h"
#include "engine/text_codec.h"

namespace velkor::phones {
namespace {

constexpr int64_t kIosEpoch = 978307200;

// Texts and names that code page 936 keeps (Chinese, ASCII) and loses
// (Hangul, accented Latin, emoji, the pound sign).
const char* const kTexts[] = {
    "Meeting moved to 5 pm", "你好，明天见", "안녕하세요 민수씨", "Café crème à 3£",
    "Running late 🏃",        "收到请回复",   "Ñandú über Straße", "OK"};
const char* const kFirst[] = {"伟", "민수", "José", "Na", "Zoë", "芳", "Émile", "지성"};
const char* const kLast[] = {"张", "김", "Álvarez", "Li", "Smith 🌟", "王", "Zola", "박"};

std::string Text(int i) {
  return kTexts[i % 8];
}
std::string Number(int i) {
  return "+86138" + std::to_string(10000000 + i * 7919);
}
int64_t UnixTime(int i) {
  return 1500000000 + int64_t{i} * 86413;
}
std::string TimeText(int64_t unixSeconds) {
  return ToUtf8(FormatRecordTime(static_cast<uint32_t>(unixSeconds)));
}
std::string Guid(int i) {
  const std::string hex = std::to_string(10000000 + i);
  return hex + "-CEEA-467F-A0E6-3F0A1F5B" + hex.substr(0, 4);
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Every fourth row is deleted.
bool Deleted(int i) {
  return i % 4 == 3;
}

const std::vector<std::string> kAospSms = {"_id INTEGER PRIMARY KEY",
                                           "thread_id INTEGER",
                                           "address TEXT",
                                           "person INTEGER",
                                           "date INTEGER",
                                           "date_sent INTEGER DEFAULT 0",
                                           "protocol INTEGER",
                                           "read INTEGER DEFAULT 0",
                                           "status INTEGER DEFAULT -1",
                                           "type INTEGER",
                                           "reply_path_present INTEGER",
                                           "subject TEXT",
                                           "body TEXT",
                                           "service_center TEXT",
                                           "locked INTEGER DEFAULT 0"};

PhoneFamily AndroidSms(std::string name, bool samsung, int live, bool secureDelete) {
  PhoneFamily f{std::move(name), kPlatformAndroid, kTabSms, secureDelete, {}, {}};
  std::vector<std::string> tail =
      samsung
          ? std::vector<std::string>{"error_code INTEGER DEFAULT 0",
                                     "sub_id INTEGER DEFAULT -1",
                                     "creator TEXT",
                                     "seen INTEGER DEFAULT 0",
                                     "deletable INTEGER DEFAULT 0",
                                     "sim_slot INTEGER DEFAULT 0",
                                     "sim_imsi TEXT",
                                     "hidden INTEGER DEFAULT 0"}
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
      calllogDb ? std::vector<std::string>{"_id INTEGER PRIMARY KEY AUTOINCREMENT",
                                           "number TEXT",
                                           "presentation INTEGER NOT NULL DEFAULT 1",
                                           "post_dial_digits TEXT NOT NULL DEFAULT ''",
                                           "via_number TEXT NOT NULL DEFAULT ''",
                                           "date INTEGER",
                                           "duration INTEGER",
                                           "data_usage INTEGER",
                                           "type INTEGER",
                                           "features INTEGER NOT NULL DEFAULT 0",
                                           "subscription_component_name TEXT",
                                           "subscription_id TEXT",
                                           "phone_account_address TEXT",
                                           "phone_account_hidden INTEGER NOT NULL DEFAULT 0",
                                           "sub_id INTEGER DEFAULT -1",
                                           "new INTEGER",
                                           "name TEXT",
                                           "numbertype INTEGER",
                                           "numberlabel TEXT",
                                           "countryiso TEXT",
                                           "voicemail_uri TEXT",
                                           "is_read INTEGER",
                                           "geocoded_location TEXT",
                                           "lookup_uri TEXT",
                                           "matched_number TEXT",
                                           "normalized_number TEXT",
                                           "photo_id INTEGER NOT NULL DEFAULT 0",
                                           "photo_uri TEXT",
                                           "formatted_number TEXT",
                                           "_data TEXT",
                                           "has_content INTEGER",
                                           "mime_type TEXT",
                                           "source_data TEXT",
                                           "source_package TEXT",
                                           "transcription TEXT",
                                           "transcription_state INTEGER DEFAULT 0",
                                           "state INTEGER",
                                           "dirty INTEGER NOT NULL DEFAULT 0",
                                           "deleted INTEGER NOT NULL DEFAULT 0",
                                           "backed_up INTEGER NOT NULL DEFAULT 0",
                                           "last_modified INTEGER DEFAULT 0",
                                           "add_for_all_users INTEGER NOT NULL DEFAULT 1",
                                           "call_screening_component_name TEXT",
                                           "call_screening_app_name TEXT"}
                : std::vector<std::string>{"_id INTEGER PRIMARY KEY AUTOINCREMENT",
                                           "number TEXT",
                                           "presentation INTEGER NOT NULL DEFAULT 1",
                                           "date INTEGER",
                                           "duration INTEGER",
                                           "type INTEGER",
                                           "new INTEGER",
                                           "numbertype INTEGER",
                                           "numberlabel TEXT",
                                           "countryiso TEXT",
                                           "voicemail_uri TEXT",
                                           "is_read INTEGER",
                                           "geocoded_location TEXT",
                                           "lookup_uri TEXT",
                                           "name TEXT",
                                           "matched_number TEXT",
                                           "normalized_number TEXT",
                                           "photo_id INTEGER NOT NULL DEFAULT 0",
                                           "formatted_number TEXT",
                                           "data_usage INTEGER",
                                           "features INTEGER NOT NULL DEFAULT 0",
                                           "subscription_component_name TEXT",
                                           "subscription_id TEXT",
                                           "transcription TEXT",
                                           "sub_id INTEGER DEFAULT -1",
                                           "phone_account_address TEXT"};
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
      Concat({"_id INTEGER PRIMARY KEY AUTOINCREMENT", "package_id INTEGER",
              "mimetype_id INTEGER NOT NULL", "raw_contact_id INTEGER NOT NULL", "hash_id TEXT",
              "is_read_only INTEGER NOT NULL DEFAULT 0", "is_primary INTEGER NOT NULL DEFAULT 0",
              "is_super_primary INTEGER NOT NULL DEFAULT 0",
              "data_version INTEGER NOT NULL DEFAULT 0"},
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

// message and handle of sms.db: iOS 6/7 (38 columns, dates in seconds) or
// iOS 11 and later (62 columns, nanoseconds; handle with person_centric_id).
PhoneFamily IosMessages(std::string name, bool nanoseconds, int live) {
  PhoneFamily f{std::move(name), kPlatformIos, kTabSms, !nanoseconds, {}, {}};
  std::vector<std::string> columns = {"ROWID INTEGER PRIMARY KEY AUTOINCREMENT",
                                      "guid TEXT UNIQUE NOT NULL",
                                      "text TEXT",
                                      "replace INTEGER DEFAULT 0",
                                      "service_center TEXT",
                                      "handle_id INTEGER DEFAULT 0",
                                      "subject TEXT",
                                      "country TEXT",
                                      "attributedBody BLOB",
                                      "version INTEGER DEFAULT 0",
                                      "type INTEGER DEFAULT 0",
                                      "service TEXT",
                                      "account TEXT",
                                      "account_guid TEXT",
                                      "error INTEGER DEFAULT 0",
                                      "date INTEGER",
                                      "date_read INTEGER",
                                      "date_delivered INTEGER",
                                      "is_delivered INTEGER DEFAULT 0",
                                      "is_finished INTEGER DEFAULT 0",
                                      "is_emote INTEGER DEFAULT 0",
                                      "is_from_me INTEGER DEFAULT 0"};
  columns = Concat(columns, NumberedColumns("flag", 1, 14, "INTEGER DEFAULT 0"));
  columns = Concat(columns, {"cache_roomnames TEXT", "was_data_detected INTEGER DEFAULT 0"});
  if (nanoseconds) {
    columns = Concat(columns, NumberedColumns("later_flag", 1, 16, "INTEGER DEFAULT 0"));
    columns = Concat(columns, NumberedColumns("later_text", 1, 8, "TEXT"));
  }
  TableContent message{"message", columns, {}, {}, 0};
  TableContent handle{"handle",
                      {"ROWID INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE", "id TEXT NOT NULL",
                       "country TEXT", "service TEXT NOT NULL", "uncanonicalized_id TEXT"},
                      {},
                      {},
                      0};
  if (nanoseconds) handle.columns.push_back("person_centric_id TEXT");
  const int handles = 6;
  auto handleId = [](int h) {
    return h % 3 == 2 ? "friend" + std::to_string(h) + "@icloud.com" : Number(100 + h);
  };
  for (int h = 1; h <= handles; ++h) {
    handle.rows.push_back({{{"id", handleId(h)},
                            {"country", std::string("cn")},
                            {"service", std::string(h % 3 == 2 ? "iMessage" : "SMS")}},
                           false});
  }
  for (int i = 0; i < live + live / 3; ++i) {
    const int h = i % handles + 1;
    const bool fromMe = i % 3 == 0;
    const int64_t since2001 = UnixTime(i) - kIosEpoch;
    const int64_t date = nanoseconds ? since2001 * 1000000000 + 123456789 : since2001;
    TableRow row{{{"guid", Guid(i)},
                  {"text", Text(i)},
                  {"handle_id", int64_t{h}},
                  {"service", std::string(h % 3 == 2 ? "iMessage" : "SMS")},
                  {"account", std::string("p:+8613912345678")},
                  {"account_guid", Guid(9000 + i)},
                  {"date", date},
                  {"date_read", date + 60},
                  {"is_finished", int64_t{1}},
                  {"is_from_me", int64_t{fromMe ? 1 : 0}}},
                 Deleted(i)};
    message.rows.push_back(row);
    f.rows.push_back(
        {{handleId(h), fromMe ? "发送" : "接受", TimeText(UnixTime(i)), Text(i)}, row.deleted});
  }
  // iOS 6 databases have message before handle; later ones the other way.
  f.tables = nanoseconds ? std::vector<TableContent>{handle, message}
                         : std::vector<TableContent>{message, handle};
  return f;
}

// AddressBook.sqlitedb: ABPerson and a 7-column ABMultiValue holding a phone
// number, an e-mail address and a URL per person.
PhoneFamily IosAddressBook(int people) {
  PhoneFamily f{"iOS ABPerson + 7-column ABMultiValue", kPlatformIos, kTabPhoneBook, false, {}, {}};
  TableContent person{"ABPerson",
                      {"ROWID INTEGER PRIMARY KEY AUTOINCREMENT",
                       "First TEXT",
                       "Last TEXT",
                       "Middle TEXT",
                       "FirstPhonetic TEXT",
                       "MiddlePhonetic TEXT",
                       "LastPhonetic TEXT",
                       "Organization TEXT",
                       "Department TEXT",
                       "Note TEXT",
                       "Kind INTEGER",
                       "Birthday TEXT",
                       "JobTitle TEXT",
                       "Nickname TEXT",
                       "Prefix TEXT",
                       "Suffix TEXT",
                       "FirstSort TEXT",
                       "LastSort TEXT",
                       "CreationDate INTEGER",
                       "ModificationDate INTEGER",
                       "CompositeNameFallback TEXT",
                       "ExternalIdentifier TEXT",
                       "ExternalModificationTag TEXT",
                       "ExternalUUID TEXT",
                       "StoreID INTEGER",
                       "DisplayName TEXT",
                       "ExternalRepresentation BLOB",
                       "FirstSortSection TEXT",
                       "LastSortSection TEXT",
                       "FirstSortLanguageIndex INTEGER"},
                      {},
                      {},
                      0};
  TableContent multi{"ABMultiValue",
                     {"UID INTEGER PRIMARY KEY", "record_id INTEGER", "property INTEGER",
                      "identifier INTEGER", "label INTEGER", "value TEXT", "guid TEXT"},
                     {},
                     {},
                     0};
  for (int k = 1; k <= people; ++k) {
    person.rows.push_back({{{"First", std::string(kFirst[k % 8])},
                            {"Last", std::string(kLast[k % 8])},
                            {"Kind", int64_t{0}},
                            {"CreationDate", UnixTime(k) - kIosEpoch},
                            {"ModificationDate", UnixTime(k) - kIosEpoch + 9}},
                           false});
    auto add = [&](int64_t property, std::string value) {
      multi.rows.push_back({{{"record_id", int64_t{k}},
                             {"property", property},
                             {"identifier", int64_t{0}},
                             {"label", int64_t{1}},
                             {"value", std::move(value)},
                             {"guid", Guid(k * 10 + static_cast<int>(property))}},
                            false});
    };
    add(3, Number(k));
    add(4, "person" + std::to_string(k) + "@example.com");
    add(22, "http://example.com/" + std::to_string(k));
    f.rows.push_back({{std::string(kLast[k % 8]) + kFirst[k % 8], Number(k)}, false});
  }
  f.tables = {person, multi};
  return f;
}

// call of call_history.db (iOS up to 7): flags 4 incoming, 5 dialled.
PhoneFamily IosCallHistory(int live) {
  PhoneFamily f{"iOS call_history.db", kPlatformIos, kTabCalls, false, {}, {}};
  TableContent call{"call",
                    {"ROWID INTEGER PRIMARY KEY AUTOINCREMENT", "address TEXT", "date INTEGER",
                     "duration INTEGER", "flags INTEGER", "id INTEGER", "name TEXT",
                     "country_code TEXT", "network_code TEXT", "read INTEGER", "assisted INTEGER",
                     "face_time_data BLOB", "originalAddress TEXT"},
                    {},
                    {},
                    0};
  for (int i = 0; i < live + live / 3; ++i) {
    const bool dialled = i % 3 == 0;
    const int64_t duration = i % 3 == 2 ? 0 : 12 + i;
    TableRow row{{{"address", Number(i)},
                  {"date", UnixTime(i)},
                  {"duration", duration},
                  {"flags", int64_t{dialled ? 5 : 4}},
                  {"id", int64_t{-1}},
                  {"country_code", std::string("460")},
                  {"network_code", std::string("00")},
                  {"read", int64_t{1}}},
                 Deleted(i)};
    std::string name;
    if (i % 2 == 0) {
      name = std::string(kLast[i % 8]) + kFirst[i % 8];
      row.values.push_back({"name", name});
    }
    call.rows.push_back(row);
    f.rows.push_back({{name, Number(i), "", TimeText(UnixTime(i)),
                       dialled         ? "已拨"
                       : duration == 0 ? "未接"
                                       : "来电",
                       std::to_string(duration)},
                      row.deleted});
  }
  f.tables = {call};
  return f;
}

// ZCALLRECORD of CallHistory.storedata (iOS 8 on): ZDATE and ZDURATION are
// floats, stored as integers where they have no fraction.
PhoneFamily IosCallRecords(int live) {
  PhoneFamily f{"iOS ZCALLRECORD", kPlatformIos, kTabCalls, true, {}, {}};
  TableContent record{"ZCALLRECORD",
                      {"Z_PK INTEGER PRIMARY KEY",
                       "Z_ENT INTEGER",
                       "Z_OPT INTEGER",
                       "ZANSWERED INTEGER",
                       "ZCALL_CATEGORY INTEGER",
                       "ZCALLTYPE INTEGER",
                       "ZDISCONNECTED_CAUSE INTEGER",
                       "ZFACE_TIME_DATA BLOB",
                       "ZFILTERED_OUT_REASON INTEGER",
                       "ZHANDLE_TYPE INTEGER",
                       "ZJUNKCONFIDENCE INTEGER",
                       "ZNUMBER_AVAILABILITY INTEGER",
                       "ZORIGINATED INTEGER",
                       "ZREAD INTEGER",
                       "ZVERIFICATIONSTATUS INTEGER",
                       "ZDATE TIMESTAMP",
                       "ZDURATION FLOAT",
                       "ZADDRESS VARCHAR",
                       "ZISO_COUNTRY_CODE VARCHAR",
                       "ZLOCATION VARCHAR",
                       "ZNAME VARCHAR",
                       "ZSERVICE_PROVIDER VARCHAR",
                       "ZUNIQUE_ID VARCHAR",
                       "ZDEVICE_ID VARCHAR",
                       "ZPARTICIPANTGROUPUUID BLOB",
                       "ZLOCALPARTICIPANTUUID BLOB",
                       "ZOUTGOINGLOCALPARTICIPANTUUID BLOB",
                       "ZJUNKIDENTIFICATIONCATEGORY VARCHAR"},
                      {},
                      {},
                      0};
  for (int i = 0; i < live + live / 3; ++i) {
    const bool dialled = i % 3 == 0;
    const bool answered = i % 3 == 1;
    const double duration = i % 3 == 2 ? 0.0 : i % 2 ? 42.5 + i : 61.0;
    const double date = static_cast<double>(UnixTime(i) - kIosEpoch) + (i % 5 == 0 ? 0.0 : 0.25);
    const bool faceTime = i % 4 == 2;
    const std::string address = faceTime ? "friend" + std::to_string(i) + "@icloud.com" : Number(i);
    const std::string location = i % 2 ? "Beijing, China" : "서울";
    TableRow row{{{"Z_ENT", int64_t{2}},
                  {"Z_OPT", int64_t{1}},
                  {"ZANSWERED", int64_t{answered ? 1 : 0}},
                  {"ZCALL_CATEGORY", int64_t{1}},
                  {"ZCALLTYPE", int64_t{faceTime ? 16 : 1}},
                  {"ZORIGINATED", int64_t{dialled ? 1 : 0}},
                  {"ZREAD", int64_t{1}},
                  {"ZDATE", date},
                  {"ZDURATION", duration},
                  {"ZADDRESS", address},
                  {"ZISO_COUNTRY_CODE", std::string("cn")},
                  {"ZLOCATION", location},
                  {"ZNAME", std::string(kLast[i % 8]) + kFirst[i % 8]},
                  {"ZSERVICE_PROVIDER", std::string("com.apple.Telephony")},
                  {"ZUNIQUE_ID", Guid(i)}},
                 Deleted(i)};
    record.rows.push_back(row);
    f.rows.push_back(
        {{std::string(kLast[i % 8]) + kFirst[i % 8], address, location, TimeText(UnixTime(i)),
          dialled    ? "已拨"
          : answered ? "来电"
                     : "未接",
          std::to_string(static_cast<int64_t>(duration + 0.5))},
         row.deleted});
  }
  f.tables = {record};
  return f;
}

// The 16-column sms of Android before 5 (no date_sent): the text is subject
// and body, the service centre after them is no part of it.
PhoneFamily AndroidSms16(int live) {
  PhoneFamily f{"android sms, 16 columns", kPlatformAndroid, kTabSms, false, {}, {}};
  TableContent sms{"sms",
                   {"_id INTEGER PRIMARY KEY", "thread_id INTEGER", "address TEXT",
                    "person INTEGER", "date INTEGER", "protocol INTEGER", "read INTEGER DEFAULT 0",
                    "status INTEGER DEFAULT -1", "type INTEGER", "reply_path_present INTEGER",
                    "subject TEXT", "body TEXT", "service_center TEXT", "locked INTEGER DEFAULT 0",
                    "error_code INTEGER DEFAULT 0", "seen INTEGER DEFAULT 0"},
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

std::vector<PhoneFamily> PhoneFamilies() {
  return {AndroidSms("android sms, 19 columns", false, 14, false),
          AndroidSms("android sms, 49 columns", true, 32, true),
          AndroidCalls("android calls of calllog.db", true, 12),
          AndroidCalls("android calls of contacts2.db", false, 21),
          AndroidHashIdData(30),
          IosMessages("iOS 7 message + handle", false, 40),
          IosMessages("iOS 11 message + handle", true, 40),
          IosAddressBook(30),
          IosCallHistory(24),
          IosCallRecords(30),
          AndroidSms16(20)};
}

}  // namespace velkor::phones
