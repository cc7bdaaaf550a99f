// The command line's stand-ins for the progress dialog and the log pane:
// progress text on one stderr line (rewritten in place on a terminal), every
// log entry as a line of its own, and Ctrl-C mapped to the stop flag.
#pragma once

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/reporting.h"
#include "engine/scan_input.h"

namespace velkor::cli {

class ConsoleProgress final : public ProgressSink {
 public:
  ConsoleProgress();
  void ProgressRange(uint32_t total) override;
  void ProgressPos(uint32_t position) override;
  void ProgressStep() override;
  // Kept for the next line drawn; drawing it now would add lines to a log.
  void ProgressText(std::u16string_view text) override;
  // Ends the rewritten line so that later output starts on a fresh line.
  void Finish();

 private:
  void Draw();
  bool terminal_;
  bool drawn_ = false;
  std::u16string text_;
  uint32_t total_ = 0;
  uint32_t position_ = 0;
};

// "[title] text" on stderr, one line per entry.
class ConsoleLog final : public LogSink {
 public:
  explicit ConsoleLog(ConsoleProgress* progress) : progress_(progress) {}
  void Append(const LogEntry& entry) override;

 private:
  ConsoleProgress* progress_;
};

// First Ctrl-C or SIGTERM sets the returned flag (the scan finishes its
// window and writes what it has); a second one ends the process.
const std::atomic<bool>* InstallStopOnInterrupt();
// Lets the next Ctrl-C stop the next step instead of ending the process.
void ClearStopRequest();

// The console's progress line and log, attached to the input of a scan of the
// image named on the command line.
struct ConsoleSession {
  ConsoleProgress progress;
  ConsoleLog log{&progress};
  void Attach(ScanInput& input, const std::filesystem::path& image);
};

// Writes UTF-16 text to a stdio stream as UTF-8.
void PrintText(std::FILE* stream, std::u16string_view text);
// text with every C0 and C1 control and DEL as \xNN and every bidi embedding,
// override or isolate as \u{NNNN}; the log and the progress line print
// through it, since names in them come from the image.
std::u16string EscapedText(std::u16string_view text);
void PrintUntrusted(std::FILE* stream, std::u16string_view text);

}  // namespace velkor::cli
