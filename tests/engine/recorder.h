// A progress and log receiver that remembers everything, for the scan tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/reporting.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {

class Recorder : public ProgressSink, public LogSink {
 public:
  void ProgressRange(uint32_t total) override {
    events.push_back("range " + std::to_string(total));
    if (onEvent) onEvent();
  }
  void ProgressPos(uint32_t position) override {
    events.push_back("pos " + std::to_string(position));
    if (onEvent) onEvent();
  }
  void ProgressStep() override {
    events.push_back("step");
    if (onEvent) onEvent();
  }
  void ProgressText(std::u16string_view text) override { texts.push_back(ToUtf8(text)); }
  void Append(const LogEntry& entry) override {
    logs.push_back(std::to_string(entry.level) + " " + ToUtf8(entry.title) + " " +
                   ToUtf8(entry.text));
  }

  std::vector<std::string> events;
  std::vector<std::string> logs;
  std::vector<std::string> texts;
  std::function<void()> onEvent;
};

}  // namespace velkor
