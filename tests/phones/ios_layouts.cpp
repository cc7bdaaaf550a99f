#include "engine/result_tabs.h"
#include "engine/scan_input.h"
#include "tests/phones/phone_layouts.h"
#include "tests/phones/sample_values.h"

namespace velkor::phones {
namespace {

// message and handle of sms.db: iOS 6/7 (38 columns, dates in seconds) or
// iOS 11 and later (62 columns, nanoseconds; handle with person_centric_id).
PhoneFamily IosMessages(std::string name, bool nanoseconds, int live) {
  PhoneFamily f{std::move(name), kPlatformIos, kTabSms, !nanoseconds, {}, {}};
  std::vector<std::string> columns = Columns(
      "ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL, text TEXT,"
      " replace INTEGER DEFAULT 0, service_center TEXT, handle_id INTEGER DEFAULT 0,"
      " subject TEXT, country TEXT, attributedBody BLOB, version INTEGER DEFAULT 0,"
      " type INTEGER DEFAULT 0, service TEXT, account TEXT, account_guid TEXT,"
      " error INTEGER DEFAULT 0, date INTEGER, date_read INTEGER,"
      " date_delivered INTEGER, is_delivered INTEGER DEFAULT 0,"
      " is_finished INTEGER DEFAULT 0, is_emote INTEGER DEFAULT 0,"
      " is_from_me INTEGER DEFAULT 0");
  columns = Concat(columns, NumberedColumns("flag", 1, 14, "INTEGER DEFAULT 0"));
  columns = Concat(columns, {"cache_roomnames TEXT", "was_data_detected INTEGER DEFAULT 0"});
  if (nanoseconds) {
    columns = Concat(columns, NumberedColumns("later_flag", 1, 16, "INTEGER DEFAULT 0"));
    columns = Concat(columns, NumberedColumns("later_text", 1, 8, "TEXT"));
  }
  TableContent message{"message", columns, {}, {}, 0};
  TableContent handle{
      "handle",
      Columns("ROWID INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE, id TEXT NOT NULL, country TEXT,"
              " service TEXT NOT NULL, uncanonicalized_id TEXT"),
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
  TableContent person{
      "ABPerson",
      Columns("ROWID INTEGER PRIMARY KEY AUTOINCREMENT, First TEXT, Last TEXT, Middle TEXT,"
              " FirstPhonetic TEXT, MiddlePhonetic TEXT, LastPhonetic TEXT, Organization TEXT,"
              " Department TEXT, Note TEXT, Kind INTEGER, Birthday TEXT, JobTitle TEXT,"
              " Nickname TEXT, Prefix TEXT, Suffix TEXT, FirstSort TEXT, LastSort TEXT,"
              " CreationDate INTEGER, ModificationDate INTEGER, CompositeNameFallback TEXT,"
              " ExternalIdentifier TEXT, ExternalModificationTag TEXT, ExternalUUID TEXT,"
              " StoreID INTEGER, DisplayName TEXT, ExternalRepresentation BLOB,"
              " FirstSortSection TEXT, LastSortSection TEXT, FirstSortLanguageIndex INTEGER"),
      {},
      {},
      0};
  TableContent multi{"ABMultiValue",
                     Columns("UID INTEGER PRIMARY KEY, record_id INTEGER, property INTEGER,"
                             " identifier INTEGER, label INTEGER, value TEXT, guid TEXT"),
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
  TableContent call{
      "call",
      Columns("ROWID INTEGER PRIMARY KEY AUTOINCREMENT, address TEXT, date INTEGER,"
              " duration INTEGER, flags INTEGER, id INTEGER, name TEXT, country_code TEXT,"
              " network_code TEXT, read INTEGER, assisted INTEGER, face_time_data BLOB,"
              " originalAddress TEXT"),
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
  TableContent record{
      "ZCALLRECORD",
      Columns("Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZANSWERED INTEGER,"
              " ZCALL_CATEGORY INTEGER, ZCALLTYPE INTEGER, ZDISCONNECTED_CAUSE INTEGER,"
              " ZFACE_TIME_DATA BLOB, ZFILTERED_OUT_REASON INTEGER, ZHANDLE_TYPE INTEGER,"
              " ZJUNKCONFIDENCE INTEGER, ZNUMBER_AVAILABILITY INTEGER, ZORIGINATED INTEGER,"
              " ZREAD INTEGER, ZVERIFICATIONSTATUS INTEGER, ZDATE TIMESTAMP, ZDURATION FLOAT,"
              " ZADDRESS VARCHAR, ZISO_COUNTRY_CODE VARCHAR, ZLOCATION VARCHAR, ZNAME VARCHAR,"
              " ZSERVICE_PROVIDER VARCHAR, ZUNIQUE_ID VARCHAR, ZDEVICE_ID VARCHAR,"
              " ZPARTICIPANTGROUPUUID BLOB, ZLOCALPARTICIPANTUUID BLOB,"
              " ZOUTGOINGLOCALPARTICIPANTUUID BLOB, ZJUNKIDENTIFICATIONCATEGORY VARCHAR"),
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

}  // namespace

std::vector<PhoneFamily> IosFamilies() {
  return {IosMessages("iOS 7 message + handle", false, 40),
          IosMessages("iOS 11 message + handle", true, 40), IosAddressBook(30), IosCallHistory(24),
          IosCallRecords(30)};
}

}  // namespace velkor::phones
