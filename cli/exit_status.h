// The command line's exit statuses, and which one a run ends with when
// several apply.
#pragma once

#include "engine/scan_input.h"

namespace velkor::cli {

inline constexpr int kExitComplete = 0;
inline constexpr int kExitFailed = 1;      // cannot open, list or write
inline constexpr int kExitMistake = 2;     // command line or scan parameters
inline constexpr int kExitStopped = 3;     // Ctrl-C or SIGTERM ended the run early
inline constexpr int kExitUnreadable = 4;  // finished, but some bytes could not be read

// The status that says more: 2 over 1 over 3 over 4 over 0.
inline int WorseExitStatus(int a, int b) {
  auto rank = [](int status) {
    switch (status) {
      case kExitMistake:
        return 4;
      case kExitFailed:
        return 3;
      case kExitStopped:
        return 2;
      case kExitUnreadable:
        return 1;
      default:
        return 0;
    }
  };
  return rank(a) >= rank(b) ? a : b;
}

// What a scan that opened its image ends with.
inline int ScanExitStatus(const ScanResult& result) {
  if (result.listingCut) return kExitFailed;
  if (result.stopped) return kExitStopped;
  return result.unreadable.empty() ? kExitComplete : kExitUnreadable;
}

}  // namespace velkor::cli
