#include "engine/record_rows.h"

#include <array>

#include "engine/record_time.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

std::u16string RowNumber(size_t index) {
  return DecimalText(static_cast<uint64_t>(index) + 1);
}

std::u16string ReceivedSentText(uint8_t status, std::u16string_view sent) {
  if (status == 1) return u"接受";
  if (status == 2) return std::u16string(sent);
  return {};
}

std::u16string CallTypeText(uint8_t type) {
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

RowTexts SmsRow(size_t index, const SmsRecord& r, uint8_t platform) {
  return {RowNumber(index), r.number, ReceivedSentText(r.status, u"发送"),
          RecordTimeText(r.time, SmsTimeInSeconds(platform)), r.content};
}

RowTexts PhoneBookRow(size_t index, const PhoneBookEntry& r) {
  return {RowNumber(index), r.name, r.number};
}

RowTexts CallRow(size_t index, const CallRecord& r) {
  return {RowNumber(index),
          r.name,
          r.number,
          r.location,
          RecordTimeText(r.time, false),
          CallTypeText(r.callType),
          DecimalText(r.count)};
}

RowTexts ContactEventRow(size_t index, const ContactEvent& r) {
  return {RowNumber(index),
          r.name,
          r.number,
          r.location,
          RecordTimeText(r.time, false),
          ReceivedSentText(r.direction, u"发出"),
          DecimalText(r.count),
          r.content};
}

RowTexts WeChatRow(size_t index, const WeChatRecord& r) {
  return {RowNumber(index), r.contact, RecordTimeText(r.time, false), r.content};
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

RowTexts RecordRow(const RecordStores& stores, int tab, size_t index) {
  if (index >= RecordRowCount(stores, tab)) return {};
  switch (tab) {
    case kTabSms:
      return SmsRow(index, stores.sms[index], stores.platform);
    case kTabPhoneBook:
      return PhoneBookRow(index, stores.phoneBook[index]);
    case kTabCalls:
      return CallRow(index, stores.calls[index]);
    case kTabAllContacts:
      return ContactEventRow(index, stores.contactEvents[index]);
    case kTabWeChat:
      return WeChatRow(index, stores.weChat[index]);
    default:
      return {};
  }
}

const FullTexts* RecordFullTexts(const RecordStores& stores, int tab, size_t index) {
  return VisitRecord(stores, tab, index, [](const auto& r) { return &r.full; });
}

void PutFullTexts(RowTexts& row, const FullTexts& full) {
  for (const auto& [column, text] : full.differing) {
    if (column < row.size()) row[column] = text;
  }
}

RowTexts RecordRow(const RecordStores& stores, int tab, size_t index, RowTextForm form) {
  RowTexts row = RecordRow(stores, tab, index);
  if (form == RowTextForm::kUnicode) {
    if (const FullTexts* full = RecordFullTexts(stores, tab, index)) PutFullTexts(row, *full);
  }
  return row;
}

}  // namespace velkor
