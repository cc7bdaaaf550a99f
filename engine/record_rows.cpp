#include "engine/record_rows.h"

#include <array>

#include "engine/record_time.h"
#include "engine/text_export.h"
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

// Every list's row is described once, as the cells it gives in column
// order: a Cells sink either keeps them as texts (the lists, the reports) or
// formats them straight into the text export's bytes. Column 0 is the row
// number.
template <typename Cells>
void PutSmsRow(Cells& cells, size_t index, const SmsStore& store, uint8_t platform) {
  const StoredSms& r = store.At(index);
  cells.Start(5);
  cells.Decimal(0, uint64_t{index} + 1);
  cells.Text(1, store.Text(r.number));
  cells.Text(2, ReceivedSentText(r.status, u"发送"));
  cells.Time(3, RecordSeconds(r.time, SmsTimeInSeconds(platform)));
  cells.Text(4, store.Text(r.content));
}

template <typename Cells>
void PutPhoneBookRow(Cells& cells, size_t index, const PhoneBookEntry& r) {
  cells.Start(3);
  cells.Decimal(0, uint64_t{index} + 1);
  cells.Text(1, r.name);
  cells.Text(2, r.number);
}

// Calls and contact events share columns 1 to 6: name, number, location,
// time, how the call or event went, and count.
template <typename Cells, typename Store, typename Stored>
void PutCallColumns(Cells& cells, size_t columns, size_t index, const Store& store, const Stored& r,
                    std::u16string_view how) {
  cells.Start(columns);
  cells.Decimal(0, uint64_t{index} + 1);
  cells.Text(1, store.Text(r.name));
  cells.Text(2, store.Text(r.number));
  cells.Text(3, store.Text(r.location));
  cells.Time(4, RecordSeconds(r.time, false));
  cells.Text(5, how);
  cells.Decimal(6, r.count);
}

template <typename Cells>
void PutCallRow(Cells& cells, size_t index, const CallStore& store) {
  const StoredCall& r = store.At(index);
  PutCallColumns(cells, 7, index, store, r, CallTypeText(r.callType));
}

template <typename Cells>
void PutContactEventRow(Cells& cells, size_t index, const EventStore& store) {
  const StoredEvent& r = store.At(index);
  PutCallColumns(cells, 8, index, store, r, ReceivedSentText(r.direction, u"发出"));
  cells.Text(7, store.Text(r.content));
}

template <typename Cells>
void PutWeChatRow(Cells& cells, size_t index, const WeChatStore& store) {
  const StoredWeChat& r = store.At(index);
  cells.Start(4);
  cells.Decimal(0, uint64_t{index} + 1);
  cells.Text(1, store.Text(r.contact));
  cells.Time(2, RecordSeconds(r.time, false));
  cells.Text(3, store.Text(r.content));
}

// False (and nothing given) for an index outside the tab's rows.
template <typename Cells>
bool PutRecordRow(Cells& cells, const RecordStores& stores, int tab, size_t index) {
  if (index >= RecordRowCount(stores, tab)) return false;
  switch (tab) {
    case kTabSms:
      PutSmsRow(cells, index, stores.sms, stores.platform);
      return true;
    case kTabPhoneBook:
      PutPhoneBookRow(cells, index, stores.phoneBook[index]);
      return true;
    case kTabCalls:
      PutCallRow(cells, index, stores.calls);
      return true;
    case kTabAllContacts:
      PutContactEventRow(cells, index, stores.contactEvents);
      return true;
    case kTabWeChat:
      PutWeChatRow(cells, index, stores.weChat);
      return true;
    default:
      return false;
  }
}

// The row kept as texts; the strings of a row filled before keep their
// storage.
struct RowTextCells {
  RowTexts& row;

  void Start(size_t columns) { row.resize(columns); }
  void Text(size_t column, std::u16string_view text) { row[column].assign(text); }
  void Text(size_t column, StoredText text) { AssignStoredText(row[column], text); }
  void Decimal(size_t column, uint64_t value) { AssignDecimal(row[column], value); }
  void Time(size_t column, uint32_t seconds) { AssignRecordTime(row[column], seconds); }
};

// The cells of inner with the full texts put in where they differ (the last
// entry of a column counts).
template <typename Inner>
struct FullTextCells {
  Inner& inner;
  const FullTexts& full;

  const std::u16string* Differing(size_t column) const {
    const std::u16string* text = nullptr;
    for (const auto& [c, t] : full.differing) {
      if (c == column) text = &t;
    }
    return text;
  }
  void Start(size_t columns) { inner.Start(columns); }
  template <typename Shown>
  void Text(size_t column, Shown text) {
    if (const std::u16string* differing = Differing(column)) return inner.Text(column, *differing);
    inner.Text(column, text);
  }
  void Decimal(size_t column, uint64_t value) {
    if (const std::u16string* differing = Differing(column)) return inner.Text(column, *differing);
    inner.Decimal(column, value);
  }
  void Time(size_t column, uint32_t seconds) {
    if (const std::u16string* differing = Differing(column)) return inner.Text(column, *differing);
    inner.Time(column, seconds);
  }
};

// PutRecordRow in the form asked for.
template <typename Cells>
bool PutRecordRow(Cells& cells, const RecordStores& stores, int tab, size_t index,
                  RowTextForm form) {
  const FullTexts* full =
      form == RowTextForm::kUnicode ? RecordFullTexts(stores, tab, index) : nullptr;
  if (full == nullptr || full->differing.empty()) return PutRecordRow(cells, stores, tab, index);
  FullTextCells<Cells> withFull{cells, *full};
  return PutRecordRow(withFull, stores, tab, index);
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
  RowTextCells cells{row};
  if (!PutRecordRow(cells, stores, tab, index, form)) row.clear();
}

void AppendRecordTextRows(const RecordStores& stores, int tab, size_t first, size_t last,
                          RowTextForm form, std::string& out) {
  TextRowBytes cells{out};
  for (size_t index = first; index < last && PutRecordRow(cells, stores, tab, index, form);
       ++index) {
    cells.End();
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

RowTexts RecordRow(const RecordStores& stores, int tab, size_t index, RowTextForm form) {
  RowTexts row;
  FillRecordRow(stores, tab, index, form, row);
  return row;
}

}  // namespace velkor
