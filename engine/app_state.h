// The three process-wide values shared between the user-interface thread and
// the one worker thread. Everything else is owned by a ScanTask or a window.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace velkor {

// Rewritten by the scans, read by whoever draws the progress text. Guarded so
// that a reader on another thread never sees a half-written string.
class ProgressText {
 public:
  void Set(std::u16string text);
  std::u16string Get() const;

 private:
  mutable std::mutex mutex_;
  std::u16string text_;
};

}  // namespace velkor

// Set by the Stop command, cleared before each worker starts, polled by the
// scan loops once per window.
extern std::atomic<int> g_bStop;
// 1 while a worker runs; every long command refuses to start meanwhile.
extern std::atomic<int> g_bBusy;
extern velkor::ProgressText g_strProgress;
