#include <fcntl.h>
#include <openssl/evp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "engine/platform.h"
#include "engine/text_codec.h"

namespace velkor::platform {

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::filesystem::path& path) {
  // O_NONBLOCK keeps a FIFO planted in a backup folder from hanging the scan;
  // it changes nothing for regular files.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISBLK(info.st_mode))) {
    ::close(fd);
    return std::nullopt;
  }
  uint64_t size = static_cast<uint64_t>(info.st_size);
  if (S_ISBLK(info.st_mode)) {
    const off_t end = ::lseek(fd, 0, SEEK_END);
    size = end < 0 ? 0 : static_cast<uint64_t>(end);
  }
  // The scans read front to back once; tell the kernel so it reads ahead.
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return ReadOnlyFile(fd, size);
}

ReadOnlyFile::~ReadOnlyFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

size_t ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return 0;
  for (;;) {
    const ssize_t got =
        ::pread(static_cast<int>(handle_), buffer, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    return got < 0 ? 0 : static_cast<size_t>(got);
  }
}

std::FILE* OpenForWriting(const std::filesystem::path& path) {
  return std::fopen(path.c_str(), "wb");
}

bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

unsigned long ProcessId() {
  return static_cast<unsigned long>(::getpid());
}

std::string PathUtf8(const std::filesystem::path& path) {
  return path.native();
}

std::u16string PathUtf16(const std::filesystem::path& path) {
  return FromUtf8(path.native());
}

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(text);
}

std::filesystem::path PathFromUtf16(std::u16string_view text) {
  return std::filesystem::path(ToUtf8(text));
}

std::u16string PortableRelativeText(const std::filesystem::path& relative) {
  return PathUtf16(relative);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void PrepareConsole() {}

bool IsTerminal(std::FILE* stream) {
  return ::isatty(::fileno(stream)) == 1;
}

namespace {

void (*interruptCallback)(int) = nullptr;

void OnSignal(int signal) {
  if (interruptCallback != nullptr) interruptCallback(128 + signal);
}

}  // namespace

void OnInterrupt(void (*onInterrupt)(int)) {
  interruptCallback = onInterrupt;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

void ExitImmediately(int status) {
  ::_exit(status);
}

struct Sha256::State {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  bool valid = context != nullptr && EVP_DigestInit_ex(context, EVP_sha256(), nullptr) == 1;
  ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {}
Sha256::~Sha256() = default;

bool Sha256::Update(std::span<const uint8_t> bytes) {
  state_->valid =
      state_->valid && EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()) == 1;
  return state_->valid;
}

std::optional<std::array<uint8_t, 32>> Sha256::Finish() {
  std::array<uint8_t, 32> digest{};
  unsigned int length = 0;
  const bool done = state_->valid &&
                    EVP_DigestFinal_ex(state_->context, digest.data(), &length) == 1 &&
                    length == digest.size();
  state_->valid = false;  // a context is finished once
  if (!done) return std::nullopt;
  return digest;
}

}  // namespace velkor::platform
