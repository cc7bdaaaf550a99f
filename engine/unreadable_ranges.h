// The unreadable ranges of one file as a scan meets them, window after
// window: neighbouring ranges, also across windows, are joined and each
// joined range is logged and recorded once, when it is complete.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "engine/piecewise_read.h"
#include "engine/scan_input.h"

namespace velkor {

class UnreadableRanges {
 public:
  UnreadableRanges(LogSink* log, std::filesystem::path file, ScanResult& result)
      : log_(log), file_(std::move(file)), result_(result) {}
  ~UnreadableRanges() { Finish(); }
  UnreadableRanges(const UnreadableRanges&) = delete;
  UnreadableRanges& operator=(const UnreadableRanges&) = delete;

  // The unreadable bytes of the window [offset, offset + length); ranges
  // outside it (the slack read after it) are left to the next window. A
  // window where a new range starts logs its failed read as it always was,
  // at the window's offset; one that only continues the open range does not.
  void AddWindow(uint64_t offset, uint64_t length, const std::vector<ByteRange>& ranges);
  // Logs and records the range still open.
  void Finish();

 private:
  LogSink* log_;
  std::filesystem::path file_;
  ScanResult& result_;
  std::optional<ByteRange> open_;
};

}  // namespace velkor
