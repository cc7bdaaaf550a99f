// Images of failing storage for the reliability tests: rows placed as raw
// table cells at known offsets, a source that fails reads touching chosen
// ranges, a recording log, and the velkor program run as a child process.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "engine/image_source.h"
#include "engine/piecewise_read.h"
#include "engine/reporting.h"

namespace velkor::reliability {

inline constexpr uint64_t kMiB = 1 << 20;

using Column = std::variant<int64_t, std::string>;

// The leaf cell of a row: payload length, rowid, header, bodies.
std::vector<uint8_t> Cell(uint64_t rowid, const std::vector<Column>& columns);
// A message row as an iOS message table holds it (number, time, text).
std::vector<uint8_t> MessageCell(uint64_t rowid, const std::string& text);
// A person row of an iOS address book; its name is first + last.
std::vector<uint8_t> PersonCell(uint64_t rowid, const std::string& last, const std::string& first);

// Places a byte run at offset; returns the range it covers.
ByteRange Place(std::vector<uint8_t>& image, uint64_t offset, const std::vector<uint8_t>& bytes);

// Reads touching a bad range either give nothing (wholeRead) or stop at its
// first byte, as at a bad sector; chunk (0: none) caps every read's length.
struct Faults {
  std::vector<ByteRange> bad;
  bool wholeRead = false;
  size_t chunk = 0;
};

class FailingSource final : public ImageSource {
 public:
  FailingSource(const std::vector<uint8_t>* bytes, Faults faults)
      : bytes_(bytes), faults_(std::move(faults)) {}
  uint64_t Size() const override { return bytes_->size(); }
  size_t Read(uint64_t offset, void* buffer, size_t count) override;

 private:
  const std::vector<uint8_t>* bytes_;
  Faults faults_;
};

// Opens the named images from memory, each with its faults; other paths fail.
struct MemoryImages {
  std::map<std::filesystem::path, std::vector<uint8_t>> bytes;
  std::map<std::filesystem::path, Faults> faults;
  ImageOpener Opener() const;
};

struct RecordingLog final : LogSink {
  std::vector<std::u16string> texts;
  void Append(const LogEntry& entry) override { texts.push_back(entry.text); }
};

// Sets its stop flag at the first step or position, as a user's stop
// arrives during the first window or file.
struct StopOnFirstProgress final : ProgressSink {
  std::atomic<bool> stop{false};
  void ProgressRange(uint32_t) override {}
  void ProgressPos(uint32_t) override { stop = true; }
  void ProgressStep() override { stop = true; }
  void ProgressText(std::u16string_view) override {}
};

// A fresh folder under the temporary folder, removed with its contents.
struct TempFolder {
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  std::filesystem::path path;
};

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);

struct RunResult {
  int status = -1;  // exit status; -1 when killed by a signal
  std::string out;
  std::string err;
};
// Runs velkor with args; with signalAfterMs > 0 sends SIGTERM that long after
// the start.
RunResult RunVelkor(const std::vector<std::string>& args, int signalAfterMs = 0);

}  // namespace velkor::reliability
