#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which they need.
#include <bcrypt.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdlib>

#include "engine/platform.h"
#include "engine/text_codec.h"

namespace velkor::platform {
namespace {

HANDLE AsHandle(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// A volume or a whole disk (\\.\PhysicalDrive0) has no file size; the disk
// driver tells its length instead.
std::optional<uint64_t> MeasuredSize(HANDLE file) {
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file, &size) != 0) return static_cast<uint64_t>(size.QuadPart);
  GET_LENGTH_INFORMATION length{};
  DWORD returned = 0;
  if (::DeviceIoControl(file, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length,
                        &returned, nullptr) != 0) {
    return static_cast<uint64_t>(length.Length.QuadPart);
  }
  return std::nullopt;
}

}  // namespace

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::filesystem::path& path) {
  // Sharing writes and deletes too: an image may be open in another program,
  // and the examiner's copy must never be locked by the scan.
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  // Folders do not open without backup semantics; pipes and consoles are
  // not disks.
  const std::optional<uint64_t> size =
      ::GetFileType(file) == FILE_TYPE_DISK ? MeasuredSize(file) : std::nullopt;
  if (!size) {
    ::CloseHandle(file);
    return std::nullopt;
  }
  return ReadOnlyFile(reinterpret_cast<intptr_t>(file), *size);
}

ReadOnlyFile::~ReadOnlyFile() {
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
}

size_t ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) {
  // The offset goes in the OVERLAPPED structure, so reads from several
  // threads never race for a shared file position.
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const DWORD asked = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
  DWORD got = 0;
  if (::ReadFile(AsHandle(handle_), buffer, asked, &got, &at) == 0) return 0;
  return got;
}

std::FILE* OpenForWriting(const std::filesystem::path& path) {
  return ::_wfopen(path.c_str(), L"wb");
}

bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

unsigned long ProcessId() {
  return ::GetCurrentProcessId();
}

std::u16string PathUtf16(const std::filesystem::path& path) {
  const std::wstring& native = path.native();
  return std::u16string(native.begin(), native.end());
}

std::string PathUtf8(const std::filesystem::path& path) {
  return ToUtf8(PathUtf16(path));
}

std::filesystem::path PathFromUtf16(std::u16string_view text) {
  return std::filesystem::path(std::wstring(text.begin(), text.end()));
}

std::filesystem::path PathFromUtf8(std::string_view text) {
  return PathFromUtf16(FromUtf8(text));
}

std::u16string PortableRelativeText(const std::filesystem::path& relative) {
  const std::wstring generic = relative.generic_wstring();
  return std::u16string(generic.begin(), generic.end());
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    const std::wstring_view argument(wide[i]);
    arguments.push_back(ToUtf8(std::u16string(argument.begin(), argument.end())));
  }
  ::LocalFree(wide);
  return arguments;
}

void PrepareConsole() {
  ::SetConsoleOutputCP(CP_UTF8);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

bool IsTerminal(std::FILE* stream) {
  return ::_isatty(::_fileno(stream)) != 0;
}

namespace {

void (*interruptCallback)(int) = nullptr;

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (interruptCallback == nullptr) return FALSE;
  // 130 and 143 as a POSIX shell reports SIGINT and SIGTERM, so that
  // scripts read the same status on both systems.
  interruptCallback(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? 130 : 143);
  return TRUE;
}

}  // namespace

void OnInterrupt(void (*onInterrupt)(int)) {
  interruptCallback = onInterrupt;
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void ExitImmediately(int status) {
  std::_Exit(status);
}

struct Sha256::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool valid = false;
  State() {
    valid = BCRYPT_SUCCESS(
                ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) &&
            BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
  }
  ~State() {
    if (hash != nullptr) ::BCryptDestroyHash(hash);
    if (algorithm != nullptr) ::BCryptCloseAlgorithmProvider(algorithm, 0);
  }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {}
Sha256::~Sha256() = default;

bool Sha256::Update(std::span<const uint8_t> bytes) {
  // The system call takes at most 4 GiB at a time.
  while (state_->valid && !bytes.empty()) {
    const ULONG part = static_cast<ULONG>(std::min<size_t>(bytes.size(), 1u << 30));
    state_->valid =
        BCRYPT_SUCCESS(::BCryptHashData(state_->hash, const_cast<PUCHAR>(bytes.data()), part, 0));
    bytes = bytes.subspan(part);
  }
  return state_->valid;
}

std::optional<std::array<uint8_t, 32>> Sha256::Finish() {
  std::array<uint8_t, 32> digest{};
  const bool done =
      state_->valid && BCRYPT_SUCCESS(::BCryptFinishHash(state_->hash, digest.data(),
                                                         static_cast<ULONG>(digest.size()), 0));
  state_->valid = false;  // a hash is finished once
  if (!done) return std::nullopt;
  return digest;
}

}  // namespace velkor::platform
