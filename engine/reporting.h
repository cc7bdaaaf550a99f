// How the engine tells the outside world what it is doing. The engine never
// touches a window: the desktop program adapts these interfaces to widgets,
// the command line to stderr, tests to recorders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkor {

// One row of the activity log. Level is the row colour: 0 black, 1 green,
// 2 orange, 3 red.
struct LogEntry {
  uint8_t level = 0;
  std::u16string title;
  std::u16string text;
};

// Receives the progress events of a long operation. A call returns only when
// the receiver has handled it, so the values are never stale.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void ProgressRange(uint32_t total) = 0;   // WM_PROGRESS_RANGE
  virtual void ProgressPos(uint32_t position) = 0;  // WM_PROGRESS_POS
  virtual void ProgressStep() = 0;                  // WM_PROGRESS_STEP
  // The line shown above the bar ("已经搜索到 N 条记录"); the text is only
  // valid during the call.
  virtual void ProgressText(std::u16string_view text) = 0;
};

// Receives log entries (WM_LOG_APPEND). The entry is only valid during the
// call; a receiver copies what it keeps.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void Append(const LogEntry& entry) = 0;
};

}  // namespace velkor
