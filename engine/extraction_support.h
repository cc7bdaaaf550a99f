// What the extraction of every layout shares: column presence, time and
// phone-number checks, copying a column's list text together with its full
// Unicode text, and the acceptance of finished records into a batch.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "engine/record_batch.h"
#include "engine/record_types.h"
#include "engine/varint.h"

namespace velkor {

inline bool HasAll(const ColumnMap& c, std::initializer_list<size_t> indexes) {
  for (size_t i : indexes) {
    if (!c.Has(i)) return false;
  }
  return true;
}

// Stored times below this are taken for junk (counters, flags); a negative
// time read as unsigned is huge and passes.
inline bool PlausibleTime(int64_t time) {
  return static_cast<uint64_t>(time) > 1000;
}

// A number as dialled: digits and the separators "+- ()" (plus the further
// symbols given, which the address book lets users type), three digits at
// least. Names, e-mail addresses and URLs fail on their letters, '@' or ':'.
inline bool LooksLikePhoneNumber(std::u16string_view text, std::u16string_view moreSymbols = {}) {
  size_t digits = 0;
  for (char16_t ch : text) {
    if (ch >= u'0' && ch <= u'9') {
      ++digits;
    } else if (std::u16string_view(u"+- ()").find(ch) == std::u16string_view::npos &&
               moreSymbols.find(ch) == std::u16string_view::npos) {
      return false;
    }
  }
  return digits >= 3;
}

// Unix seconds of 2005-01-01 and 2035-01-01: the dates the current layouts'
// short patterns must carry to count as records.
inline constexpr int64_t kEarliestDate = 1104537600;
inline constexpr int64_t kLatestDate = 2051222400;
inline bool PlausibleDate(int64_t unixSeconds) {
  return unixSeconds >= kEarliestDate && unixSeconds < kLatestDate;
}

// Sets text to the columns' list texts joined, and records their joined full
// texts under listColumn when those differ.
inline void TakeText(FullTexts& full, uint8_t listColumn, std::u16string& text, const ColumnMap& c,
                     std::initializer_list<size_t> indexes) {
  text.clear();
  bool lossy = false;
  for (size_t i : indexes) {
    text += c.At(i);
    lossy = lossy || &c.FullAt(i) != &c.At(i);
  }
  if (!lossy) return;
  std::u16string joined;
  for (size_t i : indexes) joined += c.FullAt(i);
  full.Set(listColumn, text, std::move(joined));
}

// Each takes the record when it has a plausible time and one of its
// identifying texts; true when taken.
bool AddSms(RecordBatch& out, const SmsRecord& r);
bool AddCall(RecordBatch& out, const CallRecord& r);
bool AddEvent(RecordBatch& out, const ContactEvent& r);
// A contact part with a non-empty text, under key.
bool AddPart(RecordBatch& out, int64_t key, uint8_t mark, const ColumnMap& c, size_t column);

// The current phones' layouts (categories from kCategoryAndroidSms on).
bool ExtractCurrentLayout(RecordBatch& out, uint8_t platform, RecordCategory category,
                          const ColumnMap& c, const Varint& rowid);

}  // namespace velkor
