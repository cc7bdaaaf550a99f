#include "engine/record_time.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "engine/text_format.h"

namespace velkor {
namespace {

// Writes value (below 100) without a leading zero and returns 1 or 2; both
// units at out are always stored, so the choice needs no branch.
size_t SmallDecimal(uint32_t value, char16_t* out) {
  const bool twoDigits = value >= 10;
  out[0] = static_cast<char16_t>(u'0' + (twoDigits ? value / 10 : value));
  out[1] = static_cast<char16_t>(u'0' + value % 10);
  return twoDigits ? 2 : 1;
}

// The date is counted in 400-year eras of 146097 days that start on March 1,
// so the leap day ends each era year and the month lengths repeat every five
// months from March. Invariant: dayOfEra stays in [0, 146097) and
// dayOfYear in [0, 366), so month and day land in their calendar ranges. A
// 32-bit count of seconds reaches at most the year 2106.
size_t DateUnits(uint32_t daysSince1970, char16_t* out) {
  const uint32_t days = daysSince1970 + 719468;  // from 0000-03-01
  const uint32_t era = days / 146097;
  const uint32_t dayOfEra = days - era * 146097;
  const uint32_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const uint32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const uint32_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  const uint32_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
  const uint32_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
  const uint32_t year = era * 400 + yearOfEra + (month <= 2 ? 1 : 0);

  size_t n = DecimalUnits(year, out);
  out[n++] = u'-';
  n += SmallDecimal(month, out + n);
  out[n++] = u'-';
  n += SmallDecimal(day, out + n);
  return n;
}

}  // namespace

// The date part is kept while the day stays the same: the rows of a table
// mostly come in time order, many a day.
size_t RecordTimeWriter::Write(uint32_t seconds, char16_t* out) {
  const uint32_t day = seconds / 86400;
  if (day != day_ || dateUnits_ == 0) {
    day_ = day;
    dateUnits_ = DateUnits(day, date_);
  }
  std::copy_n(date_, dateUnits_, out);
  size_t n = dateUnits_;
  const uint32_t rest = seconds % 86400;
  const uint32_t parts[3] = {rest / 3600, rest % 3600 / 60, rest % 60};
  const char16_t separators[3] = {u' ', u':', u':'};
  for (size_t i = 0; i < 3; ++i) {
    out[n++] = separators[i];
    n += SmallDecimal(parts[i], out + n);
  }
  return n;
}

size_t RecordTimeUnits(uint32_t seconds, char16_t* out) {
  return RecordTimeWriter().Write(seconds, out);
}

void AssignRecordTime(std::u16string& out, uint32_t seconds) {
  char16_t units[kMaxRecordTimeUnits];
  out.assign(units, RecordTimeUnits(seconds, units));
}

std::u16string FormatRecordTime(uint32_t seconds) {
  std::u16string out;
  AssignRecordTime(out, seconds);
  return out;
}

std::string IsoUtcTime(uint32_t seconds) {
  using namespace std::chrono;
  const sys_seconds instant{std::chrono::seconds{seconds}};
  const sys_days day = floor<days>(instant);
  const year_month_day date{day};
  const hh_mm_ss time{instant - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

}  // namespace velkor
