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

void LogTaskEvent(LogSink* log, std::u16string_view title, uint8_t level, int event,
                  std::u16string_view path) {
  Send(log, title, level, TaskEventText(event, path));
}

}  // namespace velkor
