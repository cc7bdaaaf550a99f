#include <initializer_list>

#include "engine/number_parse.h"
#include "engine/record_batch.h"
#include "engine/record_scan_parts.h"

namespace velkor {
namespace {

bool HasAll(const ColumnMap& c, std::initializer_list<size_t> indexes) {
  for (size_t i : indexes) {
    if (!c.Has(i)) return false;
  }
  return true;
}

// Stored times below this are taken for junk (counters, flags); a negative
// time read as unsigned is huge and passes.
bool PlausibleTime(int64_t time) {
  return static_cast<uint64_t>(time) > 1000;
}

}  // namespace

// Which column carries which field, per category and platform:
//
//   cat     platform  target          fields (cN = column N)
//   1, 2    android   contact parts   c2 "5" number / "6","7" name; c3,c4,c5 set;
//                                     text c8 (1) or c7 (2); key i64(c3)
//   3, 4    android   short messages  number c2, time c4, status c8 (else c9),
//                                     content c11 + c12
//   5..8    android   calls           number c1, time c2, count c3, type c4,
//                                     name c6 (c7 for 6), location c12 / - / c10 / -
//   9..11   android   all contacts    number c1, time c3, count c4, direction c5,
//                                     name c7 / c7 / c8, location c14 / - / c12,
//                                     content c26 / c17 / c19 (9: c18, c21 set)
//   12      iOS       contact parts   name c2 + c1, key rowid, c18 set
//   13      iOS       contact parts   number c5, key i64(c1), exactly 6 columns
//   14      iOS       short messages  number c1, time c2, content c3
//   15      android   WeChat          contact c1, time c3, content c11
//   16      android   short messages  number c2, time c5, status c10, content c13
//
// Contact parts keep their arrival order in the batch.
void ExtractRecordInto(RecordBatch& out, uint8_t platform, RecordCategory category,
                       const ColumnMap& c, const Varint& rowid) {
  const bool android = platform == kPlatformAndroid;
  const bool ios = platform == kPlatformIos || platform == kPlatformItunes;

  auto addPart = [&out](int64_t key, uint8_t mark, std::u16string text) {
    if (text.empty()) return;
    // multimap::emplace puts the part after every part with the same key.
    out.contactParts.emplace(key, ContactPart{mark, std::move(text)});
  };
  auto addSms = [&out](SmsRecord r) {
    if (PlausibleTime(r.time) && (!r.content.empty() || !r.number.empty())) {
      out.smsRecords.push_back(std::move(r));
    }
  };
  auto addCall = [&out](CallRecord r) {
    if (PlausibleTime(r.time) && (!r.name.empty() || !r.number.empty())) {
      out.callRecords.push_back(std::move(r));
    }
  };
  auto addEvent = [&out](ContactEvent r) {
    if (PlausibleTime(r.time) && (!r.name.empty() || !r.number.empty())) {
      out.contactEvents.push_back(std::move(r));
    }
  };

  switch (category) {
    case 1:
    case 2: {
      const size_t textColumn = category == 1 ? 8 : 7;
      if (!android || !HasAll(c, {2, 3, 4, 5, textColumn})) return;
      const std::u16string& mime = c.At(2);
      uint8_t mark;
      if (mime == u"5") {
        mark = 1;
      } else if (mime == u"6" || mime == u"7") {
        mark = 0;
      } else {
        return;
      }
      if (c.At(3).empty() || c.At(4).empty() || c.At(5).empty()) return;
      addPart(ParseInt64(c.At(3)), mark, c.At(textColumn));
      return;
    }
    case 3:
    case 4: {
      if (!android || !HasAll(c, {2, 4, 8, 11, 12})) return;
      SmsRecord r;
      r.number = c.At(2);
      r.time = ParseInt64(c.At(4));
      r.status = ParseUInt8(c.At(8));
      if (r.status != 1 && r.status != 2) {
        if (!c.Has(9)) return;
        r.status = ParseUInt8(c.At(9));
      }
      r.content = c.At(11) + c.At(12);
      addSms(std::move(r));
      return;
    }
    case 5:
    case 6:
    case 7:
    case 8: {
      const size_t nameColumn = category == 6 ? 7 : 6;
      const size_t locationColumn = category == 5 ? 12 : category == 7 ? 10 : 0;
      if (!android || !HasAll(c, {1, 2, 3, 4, nameColumn})) return;
      if (locationColumn != 0 && !c.Has(locationColumn)) return;
      CallRecord r;
      r.number = c.At(1);
      r.time = ParseInt64(c.At(2));
      r.count = ParseUInt32(c.At(3));
      r.callType = ParseUInt8(c.At(4));
      r.name = c.At(nameColumn);
      if (locationColumn != 0) r.location = c.At(locationColumn);
      addCall(std::move(r));
      return;
    }
    case 9:
    case 10:
    case 11: {
      const size_t nameColumn = category == 11 ? 8 : 7;
      const size_t locationColumn = category == 9 ? 14 : category == 11 ? 12 : 0;
      const size_t contentColumn = category == 9 ? 26 : category == 10 ? 17 : 19;
      if (!android || !HasAll(c, {1, 3, 4, 5, nameColumn, contentColumn})) return;
      if (locationColumn != 0 && !c.Has(locationColumn)) return;
      if (category == 9 && (!HasAll(c, {18, 21}) || c.At(18).empty() || c.At(21).empty())) {
        return;
      }
      ContactEvent r;
      r.number = c.At(1);
      r.time = ParseInt64(c.At(3));
      r.count = ParseUInt32(c.At(4));
      r.direction = ParseUInt8(c.At(5));
      r.name = c.At(nameColumn);
      if (locationColumn != 0) r.location = c.At(locationColumn);
      r.content = c.At(contentColumn);
      addEvent(std::move(r));
      return;
    }
    case 12: {
      if (!ios || !HasAll(c, {1, 2, 18}) || c.At(18).empty()) return;
      addPart(static_cast<int64_t>(rowid.value), 0, c.At(2) + c.At(1));
      return;
    }
    case 13: {
      if (!ios || c.Count() != 6) return;
      addPart(ParseInt64(c.At(1)), 1, c.At(5));
      return;
    }
    case 14: {
      if (!ios || !HasAll(c, {1, 2, 3})) return;
      SmsRecord r;
      r.number = c.At(1);
      r.time = ParseInt64(c.At(2));
      r.content = c.At(3);
      r.status = 0;
      addSms(std::move(r));
      return;
    }
    case 15: {
      if (!android || !HasAll(c, {1, 3, 11})) return;
      WeChatRecord r;
      r.contact = c.At(1);
      r.time = ParseInt64(c.At(3));
      r.content = c.At(11);
      if (PlausibleTime(r.time) && (!r.contact.empty() || !r.content.empty())) {
        out.weChatRecords.push_back(std::move(r));
      }
      return;
    }
    case 16: {
      if (!android || !HasAll(c, {2, 5, 10, 13})) return;
      SmsRecord r;
      r.number = c.At(2);
      r.time = ParseInt64(c.At(5));
      r.status = ParseUInt8(c.At(10));
      r.content = c.At(13);
      addSms(std::move(r));
      return;
    }
    default:
      return;
  }
}

}  // namespace velkor
