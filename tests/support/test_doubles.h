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
  void ProgressText(std::u16string_view text) override;
  void Append(const LogEntry& entry) override;

  std::vector<std::string> events;
  std::vector<std::string> texts;
  std::vector<std::string> logs;
  std::vector<std::u16string> logTexts;  // the text of each log line alone
  std::function<void(const std::string&)> onEvent;

 private:
  void Event(std::string event) {
    events.push_back(std::move(event));
    if (onEvent) onEvent(events.back());
  }
};

struct ReadFaults {
  // Reads touching a bad range either give nothing (wholeRead) or stop at its
  // first byte, as at a bad sector.
  std::vector<ByteRange> bad = {};
  bool wholeRead = false;
  // Most bytes one read returns (0: no limit), as a pipe or network share.
  size_t chunk = 0;
};

// Opens with inner, then serves the source through the faults; null stays null.
ImageOpener FaultyOpener(ImageOpener inner, ReadFaults faults);
// Every path opens as the same bytes in memory.
ImageOpener MemoryOpener(Bytes image);

// Copies bytes into image at offset; returns the range they cover.
ByteRange Place(Bytes& image, uint64_t offset, const Bytes& bytes);

Bytes ReadBytes(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace velkor::test
