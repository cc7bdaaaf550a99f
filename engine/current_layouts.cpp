#include <bit>

#include "engine/extraction_support.h"
#include "engine/ios_dates.h"
#include "engine/number_parse.h"
#include "engine/scan_input.h"

namespace velkor {
namespace {

bool InRange(const std::u16string& text, int64_t low, int64_t high) {
  if (text.empty()) return false;
  const int64_t v = ParseInt64(text);
  return v >= low && v <= high;
}

// A phone value of the address book or a call log: a dialled number that may
// also hold pauses, extensions and service codes.
bool LooksLikePhoneValue(const std::u16string& text) {
  return LooksLikePhoneNumber(text, u".*#,;");
}

// A record guid as the address book writes it: hex digits and dashes, such
// as 8F14E45F-CEEA-467F-A0E6-3F0A1F5B2C1D. Core Data tables, whose third
// column Z_OPT may be 3 too, have no such column at c6.
bool LooksLikeGuid(const std::u16string& text) {
  if (text.size() < 16) return false;
  for (char16_t ch : text) {
    const bool hex =
        (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f');
    if (!hex && ch != u'-') return false;
  }
  return true;
}

// ZCALLTYPE: 1 telephony, 8 FaceTime video, 16 FaceTime audio.
bool IsCallRecordType(const std::u16string& text) {
  return text == u"1" || text == u"8" || text == u"16";
}

// A call's other end: a phone number, or the address of a FaceTime call.
bool IsCallAddress(const std::u16string& text) {
  return LooksLikePhoneValue(text) || text.find(u'@') != std::u16string::npos;
}

bool IsMessageService(const std::u16string& text) {
  return text == u"SMS" || text == u"iMessage" || text == u"RCS" || text == u"MMS";
}

// Android call types 1 to 7 (incoming, outgoing, missed, voicemail,
// rejected, blocked, answered elsewhere); presentation 1 (allowed) to 4. The
// number is a phone number, or empty when the caller withheld it.
bool AndroidCallGates(const ColumnMap& c, size_t dateColumn, size_t typeColumn) {
  const bool numberFits = c.At(1).empty() ? !InRange(c.At(2), 1, 1) : LooksLikePhoneValue(c.At(1));
  return numberFits && InRange(c.At(2), 1, 4) && PlausibleDate(c.Int64(dateColumn) / 1000) &&
         InRange(c.At(typeColumn), 1, 7);
}

bool AndroidCall(RecordBatch& out, const ColumnMap& c, size_t dateColumn, size_t typeColumn,
                 size_t nameColumn, size_t locationColumn) {
  if (!HasAll(c, {1, 2, dateColumn, dateColumn + 1, typeColumn})) return false;
  if (!AndroidCallGates(c, dateColumn, typeColumn)) return false;
  CallRecord& r = Draft(out.drafts.call);
  TakeText(r.full, 2, r.number, c, {1});
  r.time = c.Int64(dateColumn);
  r.count = c.UInt32(dateColumn + 1);
  r.callType = c.UInt8(typeColumn);
  if (c.Has(nameColumn)) TakeText(r.full, 1, r.name, c, {nameColumn});
  if (locationColumn != 0 && c.Has(locationColumn)) {
    TakeText(r.full, 3, r.location, c, {locationColumn});
  }
  return AddCall(out, r);
}

// ZDATE and ZDURATION are REAL columns: 8-byte floats, which the decoder
// shows as their bit pattern, or small integers where SQLite stored a value
// without fraction as one. No plausible time or duration is an integer at
// or above 2^52, and every positive float's bit pattern is.
double StoredReal(const std::u16string& text) {
  const int64_t v = ParseInt64(text);
  if (v < (int64_t{1} << 52)) return static_cast<double>(v);
  return std::bit_cast<double>(static_cast<uint64_t>(v));
}

}  // namespace

// Which column carries which field in the current layouts:
//
//   cat  platform  target          fields (cN = column N) and value gates
//   17   android   short messages  as 3: number c2, time c4 (2005 to 2035), status c8
//                                  (else c9), content c11 + c12; type c9 1 to 6
//   18   android   calls           number c1, time c5, count c6, type c8, name c16,
//                                  location c22; presentation c2 1 to 4
//   19   android   calls           number c1, time c3, count c4, type c5, name c14
//   20   android   contact parts   c2 "5" number / "6","7" name, key i64(c3), text c9
//   21   iOS       short messages  handle c5 (joined to a handle's number), content c2,
//                                  time c15 (2001 epoch), sent when c21 = 1; service c11
//   22   iOS       handle          key rowid, number c1; service c3
//   23   iOS       contact parts   number c5 when c2 = 3 and a phone value, key i64(c1),
//                                  guid c6
//   24   iOS       calls           number c1, time c2 (Unix s), count c3, flags c4, name c6
//   25   iOS       calls           number c17, time c15, count c16 (floats), name c20,
//                                  location c19, dialled c12, answered c3; call type c5
bool ExtractCurrentLayout(RecordBatch& out, uint8_t platform, RecordCategory category,
                          const ColumnMap& c, const Varint& rowid) {
  const bool android = platform == kPlatformAndroid;
  const bool ios = platform == kPlatformIos || platform == kPlatformItunes;
  switch (category) {
    case kCategoryAndroidSms: {
      if (!android || !HasAll(c, {2, 4, 8, 9, 11, 12})) return false;
      if (!PlausibleDate(c.Int64(4) / 1000) || !InRange(c.At(9), 1, 6)) return false;
      SmsRecord& r = Draft(out.drafts.sms);
      TakeText(r.full, 1, r.number, c, {2});
      r.time = c.Int64(4);
      r.status = c.UInt8(8);
      if (r.status != 1 && r.status != 2) r.status = c.UInt8(9);
      TakeText(r.full, 4, r.content, c, {11, 12});
      return AddSms(out, r);
    }
    case kCategoryCallLogDb:
      return android && AndroidCall(out, c, 5, 8, 16, 22);
    case kCategoryContactsCalls:
      return android && AndroidCall(out, c, 3, 5, 14, 0);
    case kCategoryHashIdData: {
      if (!android || !HasAll(c, {2, 3, 9}) || c.At(3).empty()) return false;
      const std::u16string& mime = c.At(2);
      const bool number = mime == u"5";
      if (!number && mime != u"6" && mime != u"7") return false;
      return AddPart(out, c.Int64(3), number ? 1 : 0, c, 9);
    }
    case kCategoryIosMessage: {
      if (!ios || !HasAll(c, {2, 5, 11, 15, 21}) || !IsMessageService(c.At(11))) return false;
      const int64_t time = IosMessageTime(c.Int64(15));
      const int64_t handle = c.Int64(5);
      if (!PlausibleDate(time) || (c.At(2).empty() && handle <= 0)) return false;
      SmsRecord& r = Draft(out.drafts.sms);
      TakeText(r.full, 4, r.content, c, {2});
      r.time = time;
      r.status = c.At(21) == u"1" ? 2 : 1;
      if (handle > 0) out.messageHandles.push_back({out.smsRecords.size(), handle});
      out.smsRecords.push_back(r);
      return true;
    }
    case kCategoryIosHandle: {
      if (!ios || !HasAll(c, {1, 3}) || !IsMessageService(c.At(3))) return false;
      return AddPart(out, static_cast<int64_t>(rowid.value), kMarkHandle, c, 1);
    }
    case kCategoryMultiValueGuid: {
      if (!ios || c.Count() != 7 || c.At(2) != u"3" || !LooksLikePhoneValue(c.At(5)) ||
          !LooksLikeGuid(c.At(6))) {
        return false;
      }
      return AddPart(out, c.Int64(1), 1, c, 5);
    }
    case kCategoryIosCallHistory: {
      if (!ios || !HasAll(c, {1, 2, 3, 4, 6}) || !InRange(c.At(4), 0, 255)) return false;
      const int64_t seconds = c.Int64(2);
      if (!PlausibleDate(seconds)) return false;
      CallRecord& r = Draft(out.drafts.call);
      TakeText(r.full, 2, r.number, c, {1});
      TakeText(r.full, 1, r.name, c, {6});
      r.time = seconds * 1000;
      r.count = c.UInt32(3);
      // Bit 0 of the flags marks a dialled call; an incoming one that lasted
      // nothing was missed.
      const uint32_t flags = c.UInt32(4);
      r.callType = (flags & 1) != 0 ? 2 : r.count == 0 ? 3 : 1;
      return AddCall(out, r);
    }
    case kCategoryCallRecord: {
      if (!ios || !HasAll(c, {3, 5, 12, 15, 16, 17, 19, 20})) return false;
      if (!InRange(c.At(3), 0, 1) || !InRange(c.At(12), 0, 1) || !IsCallRecordType(c.At(5)) ||
          !IsCallAddress(c.At(17))) {
        return false;
      }
      const double date = StoredReal(c.At(15));
      const double duration = StoredReal(c.At(16));
      const int64_t seconds = IosSecondsToUnix(date);
      if (!PlausibleDate(seconds) || !(duration >= 0 && duration < 1e7)) return false;
      CallRecord& r = Draft(out.drafts.call);
      TakeText(r.full, 2, r.number, c, {17});
      TakeText(r.full, 1, r.name, c, {20});
      TakeText(r.full, 3, r.location, c, {19});
      r.time = IosSecondsToUnixMillis(date);
      r.count = static_cast<uint32_t>(duration + 0.5);
      r.callType = c.At(12) == u"1" ? 2 : c.At(3) == u"1" ? 1 : 3;
      return AddCall(out, r);
    }
    default:
      return false;
  }
}

}  // namespace velkor
