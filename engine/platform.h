// Everything the core and the command line ask of the operating system, in
// one place. platform_posix.cpp implements it for Linux (and other POSIX
// systems), platform_windows.cpp for Windows; no other file of the core
// tests which system it is built for.
//
// Paths are std::filesystem::path everywhere, which is UTF-8 bytes on POSIX
// and UTF-16 on Windows; the functions below convert at that edge so that a
// Chinese file name works whatever the system's locale or ANSI code page.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velkor::platform {

// A file or block device opened read-only for positioned reads, shared with
// programs that may still write it. The size is measured once, at opening.
class ReadOnlyFile {
 public:
  // Nothing when the path cannot be opened or is neither a regular file nor
  // a device (a folder, a pipe).
  static std::optional<ReadOnlyFile> Open(const std::filesystem::path& path);
  ReadOnlyFile(ReadOnlyFile&& other) noexcept : handle_(other.handle_), size_(other.size_) {
    other.handle_ = -1;
  }
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept {
    std::swap(handle_, other.handle_);
    std::swap(size_, other.size_);
    return *this;
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile();

  uint64_t Size() const { return size_; }
  // One read at a 64-bit offset: may return fewer bytes than asked; 0 at the
  // end of the file or when the storage fails.
  size_t ReadAt(uint64_t offset, void* buffer, size_t count);

 private:
  ReadOnlyFile(intptr_t handle, uint64_t size) : handle_(handle), size_(size) {}
  intptr_t handle_;  // a file descriptor or a HANDLE; -1 when moved from
  uint64_t size_;
};

// A new file for binary writing (truncating one that is there).
std::FILE* OpenForWriting(const std::filesystem::path& path);
// Puts from at to in one step, replacing a file that is there; both in the
// same folder. False when the system refused.
bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to);
// Tells this process's temporary files from another's.
unsigned long ProcessId();

// Paths as UTF-8 and UTF-16 text and back. A POSIX name's bytes are its
// UTF-8 as they are, so that a message names the very file; as UTF-16, bytes
// that are not UTF-8 show as U+FFFD, as do lone surrogates of a Windows name
// in UTF-8.
std::string PathUtf8(const std::filesystem::path& path);
std::u16string PathUtf16(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(std::string_view text);
std::filesystem::path PathFromUtf16(std::u16string_view text);
// A path relative to a folder with '/' between its parts on every system,
// so that exports name a backup file the same way everywhere.
std::u16string PortableRelativeText(const std::filesystem::path& relative);

// The command line as UTF-8, whatever the console's code page (Windows hands
// main() the arguments in the ANSI code page, which cannot hold every name).
std::vector<std::string> Utf8Arguments(int argc, char** argv);
// Makes stdout and stderr take UTF-8 bytes as they are: a console shows them
// as UTF-8, and no line end is rewritten, so that a list printed to a file
// is the same bytes on every system.
void PrepareConsole();
bool IsTerminal(std::FILE* stream);

// Calls onInterrupt from the system's handler for Ctrl-C, Ctrl-Break, the
// console being closed or SIGTERM, with the exit status a process ended by
// it shows (128 + the signal's number). The callback must be
// async-signal-safe.
void OnInterrupt(void (*onInterrupt)(int exitStatus));
// Ends the process at once, without flushing or running destructors.
[[noreturn]] void ExitImmediately(int status);

// SHA-256 from the system's own cryptography (libcrypto on Linux, CNG on
// Windows).
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;
  // False once any step failed; the digest is then not to be used.
  bool Update(std::span<const uint8_t> bytes);
  std::optional<std::array<uint8_t, 32>> Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace velkor::platform
