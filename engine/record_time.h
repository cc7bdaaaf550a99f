// The time text of the record lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velkor {

// Seconds since 1970-01-01 00:00 as "%d-%d-%d %d:%d:%d" without leading
// zeros and without any time-zone shift: 2012-03-05 08:04:09 reads
// "2012-3-5 8:4:9".
std::u16string FormatRecordTime(uint32_t seconds);
// The same text written into out, reusing its storage.
void AssignRecordTime(std::u16string& out, uint32_t seconds);
// The most code units of a time text: "2106-12-31 23:59:59".
inline constexpr size_t kMaxRecordTimeUnits = 19;
// The same text written at out; returns how many units.
size_t RecordTimeUnits(uint32_t seconds, char16_t* out);
// RecordTimeUnits for one time after another, keeping the text of the last
// date.
class RecordTimeWriter {
 public:
  size_t Write(uint32_t seconds, char16_t* out);

 private:
  uint32_t day_ = 0;
  size_t dateUnits_ = 0;    // 0 until a date is kept
  char16_t date_[11] = {};  // "2106-12-31" and the spare unit SmallDecimal stores
};

// The same instant as ISO 8601 UTC, "2012-03-05T08:04:09Z", by the civil
// calendar of <chrono> (not the arithmetic of the list text).
std::string IsoUtcTime(uint32_t seconds);

}  // namespace velkor
