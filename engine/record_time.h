// The time text of the record lists.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

// Seconds since 1970-01-01 00:00 as "%d-%d-%d %d:%d:%d" without leading
// zeros and without any time-zone shift: 2012-03-05 08:04:09 reads
// "2012-3-5 8:4:9".
std::u16string FormatRecordTime(uint32_t seconds);
// The same text written into out, reusing its storage.
void AssignRecordTime(std::u16string& out, uint32_t seconds);

// The same instant as ISO 8601 UTC, "2012-03-05T08:04:09Z", by the civil
// calendar of <chrono> (not the loops of the list text).
std::string IsoUtcTime(uint32_t seconds);

}  // namespace velkor
