// The texts of the record lists, shared by the desktop lists, the detail
// pane, the text export and the command line. Column 0 of every list is the
// 1-based row number ("索引").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/record_scan.h"
#include "engine/record_types.h"
#include "engine/result_tabs.h"

namespace velkor {

using RowTexts = std::vector<std::u16string>;

// Column headers of a tab's list, in order ("索引" first), as ResultTabs()
// describes them; empty for a tab outside [0, kResultTabCount).
const std::vector<std::u16string>& ResultColumnHeaders(int tab);

// Short-message times count seconds on IOS and in iTunes backups (which come
// from iOS), milliseconds elsewhere. Calls, contacts and WeChat always count
// milliseconds.
bool SmsTimeInSeconds(uint8_t platform);
// The seconds a stored time shows: milliseconds are divided by 1000 first;
// only the low 32 bits of the seconds count.
uint32_t RecordSeconds(int64_t time, bool inSeconds);
// Time text of a stored time, of RecordSeconds.
std::u16string RecordTimeText(int64_t time, bool inSeconds);

// fn applied to the record behind a row of a record tab, in its stored form
// (a phone-book entry as it is); nullptr outside the tab's rows. fn returns
// a pointer into the record.
template <typename Fn>
auto VisitRecord(const RecordStores& stores, int tab, size_t index, Fn fn)
    -> decltype(fn(stores.sms.At(0))) {
  auto at = [&](const auto& store) {
    if (index >= store.size()) return decltype(fn(stores.sms.At(0))){};
    if constexpr (requires { store.At(index); }) {
      return fn(store.At(index));
    } else {
      return fn(store[index]);
    }
  };
  switch (tab) {
    case kTabSms:
      return at(stores.sms);
    case kTabPhoneBook:
      return at(stores.phoneBook);
    case kTabCalls:
      return at(stores.calls);
    case kTabAllContacts:
      return at(stores.contactEvents);
    case kTabWeChat:
      return at(stores.weChat);
    default:
      return nullptr;
  }
}

// Number of rows of a record tab (0 for tabs that are never filled and for
// the found-files tab), and one row of it.
size_t RecordRowCount(const RecordStores& stores, int tab);
RowTexts RecordRow(const RecordStores& stores, int tab, size_t index);

// Which form of the texts a row shows: the code page 936 view examiners
// compare with (the default of every list and export), or the full Unicode
// texts the records keep beside it.
enum class RowTextForm { kCodePage, kUnicode };
RowTexts RecordRow(const RecordStores& stores, int tab, size_t index, RowTextForm form);
// RecordRow written into row, whose strings keep their storage from the row
// filled before: a whole list is walked without allocating per row.
void FillRecordRow(const RecordStores& stores, int tab, size_t index, RowTextForm form,
                   RowTexts& row);
// The full texts of a row that differ from its list texts, by list column;
// nullptr outside the tab's rows.
const FullTexts* RecordFullTexts(const RecordStores& stores, int tab, size_t index);
// Rows [first, last) of a tab (those inside its rows) appended to out as
// the text export writes them (engine/text_export.h), without the
// byte-order mark.
void AppendRecordTextRows(const RecordStores& stores, int tab, size_t first, size_t last,
                          RowTextForm form, std::string& out);

}  // namespace velkor
