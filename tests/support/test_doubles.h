// Stand-ins the tests and the fuzz targets share: a recorder of progress and
// log events, images in memory, an image source that fails the way real
// storage does, and whole-file reads and writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/image_source.h"
#include "engine/piecewise_read.h"
#include "engine/reporting.h"
#include "engine/text_codec.h"

namespace velkor::test {

using Bytes = std::vector<uint8_t>;
inline constexpr uint64_t kMiB = uint64_t{1} << 20;

// Progress as "range N", "pos N", "step"; texts and log lines as UTF-8, log
// lines as "level title text". onEvent runs inside every progress event.
class Recorder : public ProgressSink, public LogSink {
 public:
  void ProgressRange(uint32_t total) override { Event("range " + std::to_string(total)); }
  void ProgressPos(uint32_t position) override { Event("pos " + std::to_string(position)); }
  void ProgressStep() override { Event("step"); }
  void ProgressText(std::u16string_view text) override { texts.push_back(ToUtf8(text)); }
  void Append(const LogEntry& entry) override {
    logTexts.push_back(entry.text);
    logs.push_back(std::to_string(entry.level) + " " + ToUtf8(entry.title) + " " +
                   ToUtf8(entry.text));
  }

  std::vector<std::string> events, texts, logs;
  std::vector<std::u16string> logTexts;  // the text of each log line alone
  std::function<void(const std::string&)> onEvent;

 private:
  void Event(std::string event) {
    events.push_back(std::move(event));
    if (onEvent) onEvent(events.back());
  }
};

// Reads touching a bad range give nothing (wholeRead) or stop at its first
// byte, as at a bad sector; chunk caps one read (0: no cap), as a pipe does.
struct ReadFaults {
  std::vector<ByteRange> bad = {};
  bool wholeRead = false;
  size_t chunk = 0;
};

// inner's source served through the faults; null stays null.
ImageOpener FaultyOpener(ImageOpener inner, ReadFaults faults);
ImageOpener MemoryOpener(Bytes image);  // every path opens as these bytes
// Copies bytes into image at offset; returns the range they cover.
ByteRange Place(Bytes& image, uint64_t offset, const Bytes& bytes);

Bytes ReadBytes(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace velkor::test
