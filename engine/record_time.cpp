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
std::u16string FormatRecordTime(uint32_t seconds) {
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

  return Concat({DecimalText(year), u"-", DecimalText(month + 1), u"-", DecimalText(days + 1), u" ",
                 DecimalText(rest / 3600), u":", DecimalText(rest % 3600 / 60), u":",
                 DecimalText(rest % 60)});
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
