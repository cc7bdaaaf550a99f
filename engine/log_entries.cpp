#include "engine/log_entries.h"

#include <string>

#include "engine/text_format.h"

namespace velkor {

std::u16string OpenFailedText(std::u16string_view path) {
  return Concat({u"打開/創建設備", path, u"失敗"});
}

std::u16string ReadFailedText(std::u16string_view path, int64_t offset) {
  return Concat({u"讀取設備", path, u",位置", DecimalText(offset), u"失敗"});
}

std::u16string SaveFailedText(std::u16string_view name) {
  return Concat({u"保存", name, u"失败"});
}

std::u16string UnreadableRangeText(std::u16string_view path, uint64_t offset, uint64_t length) {
  return Concat({u"无法读取", path, u": 偏移 ", DecimalText(offset), u", 长度 ",
                 DecimalText(length), u" 字节"});
}

std::u16string ScanStoppedText(uint64_t offset) {
  return Concat({u"扫描已停止于偏移 ", DecimalText(offset)});
}

std::u16string SaveIncompleteText(std::u16string_view path, uint64_t offset, uint64_t length) {
  return Concat({u"保存", path, u"不完整: 偏移 ", DecimalText(offset), u" 起 ", DecimalText(length),
                 u" 字节无法读取"});
}

std::u16string SaveStoppedText(uint64_t count) {
  return Concat({u"保存已停止, ", DecimalText(count), u" 个文件未保存"});
}

std::u16string TaskEventText(int event, std::u16string_view path) {
  switch (event) {
    case 0:
      return Concat({u"新建任务:", path, u",请稍等..."});
    case 1:
      return u"新建任务结束";
    case 2:
      return Concat({u"扫描", path, u",请稍等..."});
    case 3:
      return u"扫描结束";
    case 4:
      return Concat({u"保存路径", path, u",请稍等..."});
    case 5:
      return u"保存结束";
    default:
      return {};
  }
}

namespace {
void Send(LogSink* log, std::u16string_view title, uint8_t level, std::u16string text) {
  if (log == nullptr) return;
  log->Append(LogEntry{level, std::u16string(title), std::move(text)});
}
}  // namespace

void LogOpenFailed(LogSink* log, std::u16string_view title, std::u16string_view path,
                   uint8_t level) {
  Send(log, title, level, OpenFailedText(path));
}

void LogReadFailed(LogSink* log, std::u16string_view title, std::u16string_view path, uint8_t level,
                   int64_t offset) {
  Send(log, title, level, ReadFailedText(path, offset));
}

void LogSaveFailed(LogSink* log, std::u16string_view title, std::u16string_view name,
                   uint8_t level) {
  Send(log, title, level, SaveFailedText(name));
}

void LogUnreadableRange(LogSink* log, std::u16string_view path, uint64_t offset, uint64_t length) {
  Send(log, kTitleError, kLevelError, UnreadableRangeText(path, offset, length));
}

void LogScanStopped(LogSink* log, uint64_t offset) {
  Send(log, kTitleScan, kLevelWarning, ScanStoppedText(offset));
}

void LogSaveIncomplete(LogSink* log, std::u16string_view path, uint64_t offset, uint64_t length) {
  Send(log, kTitleSave, kLevelError, SaveIncompleteText(path, offset, length));
}

void LogSaveStopped(LogSink* log, uint64_t count) {
  Send(log, kTitleSave, kLevelWarning, SaveStoppedText(count));
}

void LogTaskEvent(LogSink* log, std::u16string_view title, uint8_t level, int event,
                  std::u16string_view path) {
  Send(log, title, level, TaskEventText(event, path));
}

}  // namespace velkor
