// Times of iOS databases: Core Data and the message store count from
// 2001-01-01 00:00 UTC, in seconds (floats in Core Data) or, in the message
// store since iOS 11, in nanoseconds.
#pragma once

#include <cmath>
#include <cstdint>

namespace velkor {

inline constexpr int64_t kIosEpochUnixSeconds = 978307200;  // 2001-01-01 00:00 UTC

// A message date of iOS 6 and later as Unix seconds. Seconds since 2001
// stay below 10^10 until the year 2318 and nanoseconds since 2001 pass 10^10
// 10 s after the epoch, so the magnitude tells the unit.
inline int64_t IosMessageTime(int64_t stored) {
  constexpr int64_t kNanosecondsFrom = 10000000000;
  const int64_t seconds = stored >= kNanosecondsFrom ? stored / 1000000000 : stored;
  return seconds + kIosEpochUnixSeconds;
}

// Core Data seconds since 2001 as Unix seconds and milliseconds; values out
// of range (NaN included) give 0, which no time check passes.
inline int64_t IosSecondsToUnix(double stored) {
  if (!(std::fabs(stored) < 1e11)) return 0;
  return static_cast<int64_t>(std::floor(stored)) + kIosEpochUnixSeconds;
}
inline int64_t IosSecondsToUnixMillis(double stored) {
  if (!(std::fabs(stored) < 1e11)) return 0;
  return static_cast<int64_t>(std::floor(stored * 1000.0)) + kIosEpochUnixSeconds * 1000;
}

}  // namespace velkor
