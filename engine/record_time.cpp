#include "engine/record_time.h"

#include <chrono>
#include <cstdio>

#include "engine/text_format.h"

namespace velkor {
namespace {

constexpr bool IsLeap(uint32_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

// Invariant of both loops: days counts the whole days from the start of the
// current year (then month) to the instant, so it ends below that period's
// length. A 32-bit count of seconds reaches at most the year 2106.
void AssignRecordTime(std::u16string& out, uint32_t seconds) {
  uint32_t days = seconds / 86400;
  const uint32_t rest = seconds % 86400;

  uint32_t year = 1970;
  for (;;) {
    const uint32_t yearLength = IsLeap(year) ? 366 : 365;
    if (days < yearLength) break;
    days -= yearLength;
    ++year;
  }

  const uint32_t monthLength[12] = {
      31, IsLeap(year) ? 29u : 28u, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  uint32_t month = 0;
  while (month < 11 && days >= monthLength[month]) {
    days -= monthLength[month];
    ++month;
  }

  const uint32_t parts[6] = {year, month + 1, days + 1, rest / 3600, rest % 3600 / 60, rest % 60};
  const char16_t separators[6] = {0, u'-', u'-', u' ', u':', u':'};
  out.clear();
  for (size_t i = 0; i < 6; ++i) {
    if (separators[i] != 0) out.push_back(separators[i]);
    AppendDecimal(out, parts[i]);
  }
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
