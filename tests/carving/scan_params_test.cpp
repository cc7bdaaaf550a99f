// The scan dialog's fields: defaults, parsing and the confirm rules.
#include "carving/scan_params.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace velkor {
namespace {

constexpr uint64_t kMax64 = std::numeric_limits<uint64_t>::max();

TEST(ScanParams, FieldsAreReadUpToTheFirstNonDigit) {
  const struct {
    std::u16string text;
    uint64_t value;
    int32_t blockSize;
  } cases[] = {{u"", 0, 0},
               {u"0", 0, 0},
               {u"4096", 4096, 4096},
               {u"12abc", 12, 12},
               {u" 12", 0, 0},  // no white space is skipped
               {u"-5", 0, 0},   // nor a sign
               {u"٣", 0, 0},    // only ASCII digits count
               {u"2147483647", 2147483647, 2147483647},
               {u"2147483648", 2147483648, 2147483647},  // block size held at the 32-bit limit
               {u"18446744073709551615", kMax64, 2147483647},
               {u"18446744073709551616", kMax64, 2147483647},  // held, not wrapped
               {u"99999999999999999999999", kMax64, 2147483647}};
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDecimalField(c.text), c.value);
    EXPECT_EQ(ParseBlockSizeField(c.text), c.blockSize);
  }
}

TEST(ScanParams, ConfirmAcceptsRangesWithinTheWholeSectors) {
  const uint64_t image = 1000000;  // 1953 whole sectors
  const struct {
    ScanDialogFields fields;
    bool valid;
  } cases[] = {
      {DefaultScanFields(image), true},
      {{u"0", u"1953", u"4096", u"104857600"}, true},
      {{u"0", u"1954", u"4096", u"104857600"}, false},  // one sector too many
      {{u"1952", u"1", u"4096", u"104857600"}, true},
      {{u"1953", u"1", u"4096", u"104857600"}, false},
      {{u"10", u"1953", u"4096", u"104857600"}, false},  // default size from position 10
      {{u"0", u"0", u"4096", u"104857600"}, false},
      {{u"0", u"", u"4096", u"104857600"}, false},
      {{u"0", u"1", u"0", u"104857600"}, false},
      {{u"0", u"1", u"1", u"104857600"}, true},
      {{u"0", u"1", u"4096", u"0"}, false},
      {{u"0", u"1", u"4096", u"18446744073709551615"}, true},
      {{u"", u"1", u"4096", u"1"}, true},  // empty position is 0
      // Sums that wrap in 64 bits must not pass as small ones.
      {{u"18446744073709551615", u"1", u"4096", u"1"}, false},
      {{u"1", u"18446744073709551615", u"4096", u"1"}, false},
      {{u"36028797018963968", u"1", u"4096", u"1"}, false}  // 2^55 sectors = 2^64 bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConfirmScanParams(kModeVideos, image, c.fields, 0x21).has_value(), c.valid)
        << std::string(c.fields.position.begin(), c.fields.position.end()) << " "
        << std::string(c.fields.size.begin(), c.fields.size.end());
  }
  EXPECT_EQ(DefaultScanFields(511).size, u"0");
}

}  // namespace
}  // namespace velkor
