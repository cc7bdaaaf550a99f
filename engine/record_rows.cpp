#include "engine/record_rows.h"

#include <array>

#include "engine/record_time.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

std::u16string_view ReceivedSentText(uint8_t status, std::u16string_view sent) {
  if (status == 1) return u"接受";
  if (status == 2) return sent;
  return {};
}

std::u16string_view CallTypeText(uint8_t type) {
  switch (type) {
    case 1:
      return u"来电";
    case 2:
      return u"已拨";
    case 3:
      return u"未接";
    default:
      return {};
  }
}

// Sizes row to the list's columns and writes column 0, the row number; the
// strings of a row filled before keep their storage.
void StartRow(RowTexts& row, size_t columns, size_t index) {
  row.resize(columns);
  AssignDecimal(row[0], static_cast<uint64_t>(index) + 1);
}

void FillSmsRow(RowTexts& row, size_t index, const SmsStore& store, uint8_t platform) {
  const StoredSms& r = store.At(index);
  StartRow(row, 5, index);
  row[1].assign(store.Text(r.number));
  row[2].assign(ReceivedSentText(r.status, u"发送"));
  AssignRecordTime(row[3], RecordSeconds(r.time, SmsTimeInSeconds(platform)));
  row[4].assign(store.Text(r.content));
}

void FillPhoneBookRow(RowTexts& row, size_t index, const PhoneBookEntry& r) {
  StartRow(row, 3, index);
  row[1].assign(r.name);
  row[2].assign(r.number);
}

// Calls and contact events share columns 1 to 4 and 6: name, number,
// location, time and count.
template <typename Store>
const auto& PutCallColumns(RowTexts& row, size_t columns, size_t index, const Store& store) {
  const auto& r = store.At(index);
  StartRow(row, columns, index);
  row[1].assign(store.Text(r.name));
  row[2].assign(store.Text(r.number));
  row[3].assign(store.Text(r.location));
  AssignRecordTime(row[4], RecordSeconds(r.time, false));
  AssignDecimal(row[6], r.count);
  return r;
}

void FillCallRow(RowTexts& row, size_t index, const CallStore& store) {
  const StoredCall& r = PutCallColumns(row, 7, index, store);
  row[5].assign(CallTypeText(r.callType));
}

void FillContactEventRow(RowTexts& row, size_t index, const EventStore& store) {
  const StoredEvent& r = PutCallColumns(row, 8, index, store);
  row[5].assign(ReceivedSentText(r.direction, u"发出"));
  row[7].assign(store.Text(r.content));
}

void FillWeChatRow(RowTexts& row, size_t index, const WeChatStore& store) {
  const StoredWeChat& r = store.At(index);
  StartRow(row, 4, index);
  row[1].assign(store.Text(r.contact));
  AssignRecordTime(row[2], RecordSeconds(r.time, false));
  row[3].assign(store.Text(r.content));
}

}  // namespace

const std::vector<std::u16string>& ResultColumnHeaders(int tab) {
  static const auto kHeaders = [] {
    std::array<std::vector<std::u16string>, kResultTabCount> headers;
    for (const ResultTabInfo& info : ResultTabs()) {
      headers[static_cast<size_t>(info.tab)].assign(info.columns.begin(), info.columns.end());
    }
    return headers;
  }();
  static const std::vector<std::u16string> kNone;
  if (tab < 0 || tab >= kResultTabCount) return kNone;
  return kHeaders[static_cast<size_t>(tab)];
}

bool SmsTimeInSeconds(uint8_t platform) {
  return platform == kPlatformIos || platform == kPlatformItunes;
}

uint32_t RecordSeconds(int64_t time, bool inSeconds) {
  uint64_t seconds = static_cast<uint64_t>(time);
  if (!inSeconds) seconds /= 1000;
  return static_cast<uint32_t>(seconds);
}

std::u16string RecordTimeText(int64_t time, bool inSeconds) {
  return FormatRecordTime(RecordSeconds(time, inSeconds));
}

size_t RecordRowCount(const RecordStores& stores, int tab) {
  switch (tab) {
    case kTabSms:
      return stores.sms.size();
    case kTabPhoneBook:
      return stores.phoneBook.size();
    case kTabCalls:
      return stores.calls.size();
    case kTabAllContacts:
      return stores.contactEvents.size();
    case kTabWeChat:
      return stores.weChat.size();
    default:
      return 0;
  }
}

void FillRecordRow(const RecordStores& stores, int tab, size_t index, RowTextForm form,
                   RowTexts& row) {
  if (index >= RecordRowCount(stores, tab)) {
    row.clear();
    return;
  }
  switch (tab) {
    case kTabSms:
      FillSmsRow(row, index, stores.sms, stores.platform);
      break;
    case kTabPhoneBook:
      FillPhoneBookRow(row, index, stores.phoneBook[index]);
      break;
    case kTabCalls:
      FillCallRow(row, index, stores.calls);
      break;
    case kTabAllContacts:
      FillContactEventRow(row, index, stores.contactEvents);
      break;
    case kTabWeChat:
      FillWeChatRow(row, index, stores.weChat);
      break;
    default:
      row.clear();
      return;
  }
  if (form == RowTextForm::kUnicode) {
    if (const FullTexts* full = RecordFullTexts(stores, tab, index)) PutFullTexts(row, *full);
  }
}

RowTexts RecordRow(const RecordStores& stores, int tab, size_t index) {
  return RecordRow(stores, tab, index, RowTextForm::kCodePage);
}

// Rows whose texts all survive the code page have no entry of their own.
const FullTexts* RecordFullTexts(const RecordStores& stores, int tab, size_t index) {
  static const FullTexts kNone;
  if (index >= RecordRowCount(stores, tab)) return nullptr;
  auto of = [&](const auto& store) {
    const FullTexts* full = store.Full(index);
    return full != nullptr ? full : &kNone;
  };
  switch (tab) {
    case kTabSms:
      return of(stores.sms);
    case kTabPhoneBook:
      return &stores.phoneBook[index].full;
    case kTabCalls:
      return of(stores.calls);
    case kTabAllContacts:
      return of(stores.contactEvents);
    case kTabWeChat:
      return of(stores.weChat);
    default:
      return nullptr;
  }
}

void PutFullTexts(RowTexts& row, const FullTexts& full) {
  for (const auto& [column, text] : full.differing) {
    if (column < row.size()) row[column] = text;
  }
}

RowTexts RecordRow(const RecordStores& stores, int tab, size_t index, RowTextForm form) {
  RowTexts row;
  FillRecordRow(stores, tab, index, form, row);
  return row;
}

}  // namespace velkor
