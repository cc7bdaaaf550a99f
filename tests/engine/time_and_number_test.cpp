// The time texts of the lists and the number parsing of decoded columns.
#include "engine/record_time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/number_parse.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"
#include "tests/support/test_support.h"

namespace velkor {
namespace {

std::string Time(uint32_t seconds) {
  return ToUtf8(FormatRecordTime(seconds));
}

// Every day boundary and its last second, plus a stride through all 32-bit
// values, against the era arithmetic of the civil calendar; the writer that
// keeps its last date also sees a later second of the same day.
TEST(FormatRecordTime, AgreesWithCivilCalendarEverywhere) {
  RecordTimeWriter writer;
  const auto written = [&writer](uint32_t seconds) {
    char16_t units[kMaxRecordTimeUnits];
    return ToUtf8({units, writer.Write(seconds, units)});
  };
  for (uint64_t s = 0; s <= 0xFFFFFFFFull; s += 86400) {
    ASSERT_EQ(Time(static_cast<uint32_t>(s)), test::CivilTimeText(static_cast<uint32_t>(s)));
    const auto before = static_cast<uint32_t>(s - 1);  // wraps to the last second at 0
    ASSERT_EQ(Time(before), test::CivilTimeText(before));
    const auto later = static_cast<uint32_t>(std::min<uint64_t>(s + 86399 - s % 7, 0xFFFFFFFF));
    ASSERT_EQ(written(static_cast<uint32_t>(s)), test::CivilTimeText(static_cast<uint32_t>(s)));
    ASSERT_EQ(written(later), test::CivilTimeText(later));
  }
  for (uint64_t s = 7; s <= 0xFFFFFFFFull; s += 104729) {
    ASSERT_EQ(Time(static_cast<uint32_t>(s)), test::CivilTimeText(static_cast<uint32_t>(s)));
  }
}

// The last and first values of every digit count, against the standard
// library.
TEST(DecimalText, AgreesWithToStringAtEveryDigitCount) {
  for (uint64_t power = 1;; power *= 10) {
    for (const uint64_t value : {power - 1, power, power + 1}) {
      ASSERT_EQ(ToUtf8(DecimalText(value)), std::to_string(value));
    }
    if (power > UINT64_MAX / 10) break;
  }
  EXPECT_EQ(ToUtf8(DecimalText(UINT64_MAX)), std::to_string(UINT64_MAX));
}

TEST(NumberParse, SignsWhiteSpaceAndLimits) {
  const struct {
    const char16_t* text;
    int64_t signed64;
    uint32_t unsigned32;
  } cases[] = {{u"", 0, 0},
               {u"x1", 0, 0},
               {u" \t12x", 12, 12},
               {u"-5", -5, 0xFFFFFFFBu},
               {u"+5", 5, 5},
               {u"-1", -1, 0xFFFFFFFFu},
               {u"-0", 0, 0},
               {u"4294967296", 4294967296, 0xFFFFFFFFu},
               {u"9223372036854775808", INT64_MAX, 0xFFFFFFFFu},
               {u"-9223372036854775809", INT64_MIN, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(ParseInt64(c.text), c.signed64) << ToUtf8(c.text);
    EXPECT_EQ(ParseUInt32(c.text), c.unsigned32) << ToUtf8(c.text);
  }
}

}  // namespace
}  // namespace velkor
