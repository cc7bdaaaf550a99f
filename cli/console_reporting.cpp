#include "cli/console_reporting.h"

#include <algorithm>
#include <cstdio>

#include "engine/platform.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor::cli {

void PrintText(std::FILE* stream, std::u16string_view text) {
  const std::string utf8 = ToUtf8(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

// Names from a backup folder are the phone's, not ours: a control character
// could move the cursor, clear the line or recolour the terminal, and a bidi
// override could show a name reversed. Each such character is printed as its
// code instead.
std::u16string EscapedText(std::u16string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
      out += u"\\x";
      out += static_cast<char16_t>(kHex[c >> 4]);
      out += static_cast<char16_t>(kHex[c & 0xF]);
    } else if ((c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)) {
      out += u"\\u{";
      for (int shift = 12; shift >= 0; shift -= 4)
        out += static_cast<char16_t>(kHex[(c >> shift) & 0xF]);
      out += u'}';
    } else {
      out += c;
    }
  }
  return out;
}

void PrintUntrusted(std::FILE* stream, std::u16string_view text) {
  PrintText(stream, EscapedText(text));
}

ConsoleProgress::ConsoleProgress() : terminal_(platform::IsTerminal(stderr)) {}

void ConsoleProgress::ProgressRange(uint32_t total) {
  total_ = total;
  position_ = 0;
  Draw();
}

void ConsoleProgress::ProgressPos(uint32_t position) {
  position_ = position + 1;
  Draw();
}

void ConsoleProgress::ProgressStep() {
  ++position_;
  Draw();
}

void ConsoleProgress::ProgressText(std::u16string_view text) {
  text_.assign(text);
}

// On a terminal the line is rewritten after every window. Into a file or a
// pipe only every tenth of the range is written, so a scan of a large image
// does not leave a line per mebibyte behind.
void ConsoleProgress::Draw() {
  if (!terminal_) {
    const uint64_t tenth = total_ / 10 == 0 ? 1 : total_ / 10;
    if (position_ % tenth != 0 && position_ != total_) return;
  }
  std::fputs(terminal_ ? "\r\x1b[K" : "", stderr);
  PrintUntrusted(stderr, text_);
  std::fprintf(stderr, " (%u/%u)", std::min(position_, total_), total_);
  std::fputs(terminal_ ? "" : "\n", stderr);
  std::fflush(stderr);
  drawn_ = terminal_;
}

void ConsoleProgress::Finish() {
  if (drawn_) std::fputc('\n', stderr);
  drawn_ = false;
}

void ConsoleSession::Attach(ScanInput& input, const std::filesystem::path& image) {
  input.progress = &progress;
  input.log = &log;
  input.imagePath = image;
}

void ConsoleLog::Append(const LogEntry& entry) {
  if (progress_ != nullptr) progress_->Finish();
  std::fputc('[', stderr);
  PrintUntrusted(stderr, entry.title);
  std::fputs("] ", stderr);
  PrintUntrusted(stderr, entry.text);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

namespace {

// Lock-free, so the handler may touch it.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnInterrupt(int exitStatus) {
  // The first Ctrl-C (or SIGTERM) lets the scan finish its window and write
  // its results; a second one means the user does not want to wait. Files
  // being written then stay under their hidden partial names.
  if (interrupted.exchange(true)) platform::ExitImmediately(exitStatus);
}

}  // namespace

const std::atomic<bool>* InstallStopOnInterrupt() {
  platform::OnInterrupt(OnInterrupt);
  return &interrupted;
}

void ClearStopRequest() {
  interrupted.store(false);
}

}  // namespace velkor::cli
