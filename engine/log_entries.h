// The log lines every part of the program writes. Each operation builds one
// LogEntry and hands it to the sink; a null sink drops it.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/reporting.h"

namespace velkor {

enum class TaskEvent : uint8_t {
  kNewTaskStart = 0,  // "新建任务:%s,请稍等..."
  kNewTaskEnd = 1,    // "新建任务结束"
  kScanStart = 2,     // "扫描%s,请稍等..."
  kScanEnd = 3,       // "扫描结束"
  kSaveStart = 4,     // "保存路径%s,请稍等..."
  kSaveEnd = 5,       // "保存结束"
};

// Titles used by the senders; "error" and "Error" are different senders.
inline constexpr std::u16string_view kTitleError = u"error";
inline constexpr std::u16string_view kTitleSaveError = u"Error";
inline constexpr std::u16string_view kTitleSave = u"Save";
inline constexpr std::u16string_view kTitleScan = u"Scan";
inline constexpr std::u16string_view kTitleNewTask = u"New Task";
inline constexpr uint8_t kLevelNormal = 0;
inline constexpr uint8_t kLevelWarning = 2;
inline constexpr uint8_t kLevelError = 3;

void LogOpenFailed(LogSink* log, std::u16string_view title, std::u16string_view path,
                   uint8_t level);
void LogReadFailed(LogSink* log, std::u16string_view title, std::u16string_view path, uint8_t level,
                   int64_t offset);
void LogSaveFailed(LogSink* log, std::u16string_view title, std::u16string_view name,
                   uint8_t level);
// A joined run of bytes of path that no read gave (title "error").
void LogUnreadableRange(LogSink* log, std::u16string_view path, uint64_t offset, uint64_t length);
// The stop flag ended a scan; offset is the first byte not scanned (title
// "Scan").
void LogScanStopped(LogSink* log, uint64_t offset);
// A carved file saved only up to an unreadable range (title "Save").
void LogSaveIncomplete(LogSink* log, std::u16string_view path, uint64_t offset, uint64_t length);
// The stop flag ended a save before count files were written (title "Save").
void LogSaveStopped(LogSink* log, uint64_t count);
// Events above 5 give an entry with an empty text.
void LogTaskEvent(LogSink* log, std::u16string_view title, uint8_t level, int event,
                  std::u16string_view path);

// The entry texts, for callers that show them without a sink.
std::u16string OpenFailedText(std::u16string_view path);
std::u16string ReadFailedText(std::u16string_view path, int64_t offset);
std::u16string SaveFailedText(std::u16string_view name);
std::u16string TaskEventText(int event, std::u16string_view path);
std::u16string UnreadableRangeText(std::u16string_view path, uint64_t offset, uint64_t length);
std::u16string ScanStoppedText(uint64_t offset);
std::u16string SaveIncompleteText(std::u16string_view path, uint64_t offset, uint64_t length);
std::u16string SaveStoppedText(uint64_t count);

}  // namespace velkor
