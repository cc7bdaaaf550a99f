#include "engine/extraction_support.h"
#include "engine/record_scan_parts.h"

namespace velkor {
namespace {

bool IsDigit(char16_t ch) {
  return ch >= u'0' && ch <= u'9';
}

// A SIM identity as a vendor's 16-column table keeps it before the subject.
bool LooksLikeSimId(const std::u16string& text) {
  if (text.size() < 5) return false;
  for (char16_t ch : text) {
    if (!IsDigit(ch)) return false;
  }
  return true;
}

// The 16-column sms of Android before 5 has subject, body, service centre at
// c10, c11, c12; a vendor's table of the same codes has a SIM id, subject,
// body there. The service centre (a number or nothing) tells the first.
bool SubjectBodyAtC10(const ColumnMap& c) {
  return c.Count() == 16 && (c.At(12).empty() || LooksLikePhoneNumber(c.At(12))) &&
         !LooksLikeSimId(c.At(10));
}

// The address book's property ids (c2) and per-contact value identifiers
// (c3) are small; index and full-text tables of six columns hold hashes and
// offsets there.
bool IsMultiValueKind(const ColumnMap& c) {
  return c.UInt32(2) < 64 && c.UInt32(3) < 65536;
}

}  // namespace

bool AddSms(RecordBatch& out, const SmsRecord& r) {
  if (!PlausibleTime(r.time) || (r.content.empty() && r.number.empty())) return false;
  out.smsRecords.push_back(r);
  return true;
}

bool AddCall(RecordBatch& out, const CallRecord& r) {
  if (!PlausibleTime(r.time) || (r.name.empty() && r.number.empty())) return false;
  out.callRecords.push_back(r);
  return true;
}

bool AddEvent(RecordBatch& out, const ContactEvent& r) {
  if (!PlausibleTime(r.time) || (r.name.empty() && r.number.empty())) return false;
  out.contactEvents.push_back(r);
  return true;
}

// multimap::emplace puts the part after every part with the same key.
bool AddPart(RecordBatch& out, int64_t key, uint8_t mark, const ColumnMap& c, size_t column) {
  if (c.At(column).empty()) return false;
  ContactPart part{mark, c.At(column)};
  if (&c.FullAt(column) != &c.At(column)) part.full = c.FullAt(column);
  out.contactParts.emplace(key, std::move(part));
  return true;
}

// Which column carries which field, per category and platform:
//
//   cat     platform  target          fields (cN = column N)
//   1, 2    android   contact parts   c2 "5" number / "6","7" name; c3,c4,c5 set;
//                                     text c8 (1) or c7 (2); key i64(c3)
//   3, 4    android   short messages  number c2, time c4, status c8 (else c9),
//                                     content c11 + c12 (4 with 16 columns and a
//                                     service centre at c12: c10 + c11)
//   5..8    android   calls           number c1, time c2, count c3, type c4,
//                                     name c6 (c7 for 6), location c12 / - / c10 / -
//   9..11   android   all contacts    number c1, time c3, count c4, direction c5,
//                                     name c7 / c7 / c8, location c14 / - / c12,
//                                     content c26 / c17 / c19 (9: c18, c21 set)
//   12      iOS       contact parts   name c2 + c1, key rowid, c18 set
//   13      iOS       contact parts   number c5, key i64(c1), exactly 6 columns,
//                                     property c2 below 64, identifier c3 below 65536
//   14      iOS       short messages  number c1, time c2, content c3
//   15      android   WeChat          contact c1, time c3, content c11
//   16      android   short messages  number c2, time c5, status c10, content c13
//   17..25  the current layouts, see current_layouts.cpp
//
// Contact parts keep their arrival order in the batch.
bool ExtractRecord(RecordBatch& out, uint8_t platform, RecordCategory category, const ColumnMap& c,
                   const Varint& rowid) {
  const bool android = platform == kPlatformAndroid;
  const bool ios = platform == kPlatformIos || platform == kPlatformItunes;

  switch (category) {
    case 1:
    case 2: {
      const size_t textColumn = category == 1 ? 8 : 7;
      if (!android || !HasAll(c, {2, 3, 4, 5, textColumn})) return false;
      const std::u16string& mime = c.At(2);
      uint8_t mark;
      if (mime == u"5") {
        mark = 1;
      } else if (mime == u"6" || mime == u"7") {
        mark = 0;
      } else {
        return false;
      }
      if (c.At(3).empty() || c.At(4).empty() || c.At(5).empty()) return false;
      return AddPart(out, c.Int64(3), mark, c, textColumn);
    }
    case 3:
    case 4: {
      if (!android || !HasAll(c, {2, 4, 8, 11, 12})) return false;
      SmsRecord& r = Draft(out.drafts.sms);
      TakeText(r.full, 1, r.number, c, {2});
      r.time = c.Int64(4);
      r.status = c.UInt8(8);
      if (r.status != 1 && r.status != 2) {
        if (!c.Has(9)) return false;
        r.status = c.UInt8(9);
      }
      if (category == 4 && SubjectBodyAtC10(c)) {
        TakeText(r.full, 4, r.content, c, {10, 11});
      } else {
        TakeText(r.full, 4, r.content, c, {11, 12});
      }
      return AddSms(out, r);
    }
    case 5:
    case 6:
    case 7:
    case 8: {
      const size_t nameColumn = category == 6 ? 7 : 6;
      const size_t locationColumn = category == 5 ? 12 : category == 7 ? 10 : 0;
      if (!android || !HasAll(c, {1, 2, 3, 4, nameColumn})) return false;
      if (locationColumn != 0 && !c.Has(locationColumn)) return false;
      CallRecord& r = Draft(out.drafts.call);
      TakeText(r.full, 2, r.number, c, {1});
      r.time = c.Int64(2);
      r.count = c.UInt32(3);
      r.callType = c.UInt8(4);
      TakeText(r.full, 1, r.name, c, {nameColumn});
      if (locationColumn != 0) TakeText(r.full, 3, r.location, c, {locationColumn});
      return AddCall(out, r);
    }
    case 9:
    case 10:
    case 11: {
      const size_t nameColumn = category == 11 ? 8 : 7;
      const size_t locationColumn = category == 9 ? 14 : category == 11 ? 12 : 0;
      const size_t contentColumn = category == 9 ? 26 : category == 10 ? 17 : 19;
      if (!android || !HasAll(c, {1, 3, 4, 5, nameColumn, contentColumn})) return false;
      if (locationColumn != 0 && !c.Has(locationColumn)) return false;
      if (category == 9 && (!HasAll(c, {18, 21}) || c.At(18).empty() || c.At(21).empty())) {
        return false;
      }
      ContactEvent& r = Draft(out.drafts.event);
      TakeText(r.full, 2, r.number, c, {1});
      r.time = c.Int64(3);
      r.count = c.UInt32(4);
      r.direction = c.UInt8(5);
      TakeText(r.full, 1, r.name, c, {nameColumn});
      if (locationColumn != 0) TakeText(r.full, 3, r.location, c, {locationColumn});
      TakeText(r.full, 7, r.content, c, {contentColumn});
      return AddEvent(out, r);
    }
    case 12: {
      if (!ios || !HasAll(c, {1, 2, 18}) || c.At(18).empty()) return false;
      ContactPart part{0, c.At(2) + c.At(1)};
      if (part.text.empty()) return false;
      if (&c.FullAt(1) != &c.At(1) || &c.FullAt(2) != &c.At(2))
        part.full = c.FullAt(2) + c.FullAt(1);
      out.contactParts.emplace(static_cast<int64_t>(rowid.value), std::move(part));
      return true;
    }
    case 13: {
      if (!ios || c.Count() != 6 || !IsMultiValueKind(c)) return false;
      return AddPart(out, c.Int64(1), 1, c, 5);
    }
    case 14: {
      if (!ios || !HasAll(c, {1, 2, 3})) return false;
      SmsRecord& r = Draft(out.drafts.sms);
      TakeText(r.full, 1, r.number, c, {1});
      r.time = c.Int64(2);
      TakeText(r.full, 4, r.content, c, {3});
      r.status = 0;
      return AddSms(out, r);
    }
    case 15: {
      if (!android || !HasAll(c, {1, 3, 11})) return false;
      WeChatRecord& r = Draft(out.drafts.weChat);
      TakeText(r.full, 1, r.contact, c, {1});
      r.time = c.Int64(3);
      TakeText(r.full, 3, r.content, c, {11});
      if (!PlausibleTime(r.time) || (r.contact.empty() && r.content.empty())) return false;
      out.weChatRecords.push_back(r);
      return true;
    }
    case 16: {
      if (!android || !HasAll(c, {2, 5, 10, 13})) return false;
      SmsRecord& r = Draft(out.drafts.sms);
      TakeText(r.full, 1, r.number, c, {2});
      r.time = c.Int64(5);
      r.status = c.UInt8(10);
      TakeText(r.full, 4, r.content, c, {13});
      return AddSms(out, r);
    }
    default:
      return ExtractCurrentLayout(out, platform, category, c, rowid);
  }
}

}  // namespace velkor
