// The time texts of the lists.
#include "engine/record_time.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/record_rows.h"
#include "engine/scan_input.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

std::string Time(uint32_t seconds) {
  return ToUtf8(FormatRecordTime(seconds));
}

// Days since 1970-01-01 to a civil date, by the era arithmetic that does not
// walk year by year; an independent check of the year and month loops.
std::string CivilText(uint32_t seconds) {
  int64_t z = seconds / 86400 + 719468;
  const int64_t era = z / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  const uint32_t rest = seconds % 86400;
  char text[64];
  std::snprintf(text, sizeof text, "%lld-%lld-%lld %u:%u:%u", static_cast<long long>(y),
                static_cast<long long>(m), static_cast<long long>(d), rest / 3600, rest % 3600 / 60,
                rest % 60);
  return text;
}

TEST(FormatRecordTime, KnownInstants) {
  EXPECT_EQ(Time(0), "1970-1-1 0:0:0");
  EXPECT_EQ(Time(951782400), "2000-2-29 0:0:0");
  EXPECT_EQ(Time(1000000000), "2001-9-9 1:46:40");
  EXPECT_EQ(Time(1234567890), "2009-2-13 23:31:30");
  EXPECT_EQ(Time(1330934649), "2012-3-5 8:4:9");
  EXPECT_EQ(Time(4294967295u), "2106-2-7 6:28:15");
}

TEST(FormatRecordTime, AgreesWithCivilCalendarEverywhere) {
  // Every day boundary and its last second, plus a stride through all
  // 32-bit values.
  for (uint64_t s = 0; s <= 0xFFFFFFFFull; s += 86400) {
    ASSERT_EQ(Time(static_cast<uint32_t>(s)), CivilText(static_cast<uint32_t>(s)));
    if (s >= 1) {
      ASSERT_EQ(Time(static_cast<uint32_t>(s - 1)), CivilText(static_cast<uint32_t>(s - 1)));
    }
  }
  for (uint64_t s = 7; s <= 0xFFFFFFFFull; s += 104729) {
    ASSERT_EQ(Time(static_cast<uint32_t>(s)), CivilText(static_cast<uint32_t>(s)));
  }
}

TEST(RecordTimeText, MillisecondsAndSeconds) {
  EXPECT_EQ(ToUtf8(RecordTimeText(1234567890000, false)), "2009-2-13 23:31:30");
  EXPECT_EQ(ToUtf8(RecordTimeText(1234567890, true)), "2009-2-13 23:31:30");
  EXPECT_EQ(ToUtf8(RecordTimeText(1234567890, false)), "1970-1-15 6:56:7");
  // Only the low 32 bits of the seconds count.
  EXPECT_EQ(ToUtf8(RecordTimeText(int64_t{1} << 32, true)), "1970-1-1 0:0:0");
  // A negative time is a huge unsigned one.
  EXPECT_EQ(ToUtf8(RecordTimeText(-1, true)), Time(0xFFFFFFFFu));
}

TEST(SmsTimeUnit, SecondsOnIosAndInBackups) {
  EXPECT_FALSE(SmsTimeInSeconds(kPlatformAndroid));
  EXPECT_TRUE(SmsTimeInSeconds(kPlatformIos));
  // Backup folders hold iOS databases, whose message times count seconds.
  EXPECT_TRUE(SmsTimeInSeconds(kPlatformItunes));
}

}  // namespace
}  // namespace velkor
