#include "tests/faults/fault_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>

namespace velkor::faults {

size_t FaultySource::Read(uint64_t offset, void* buffer, size_t count) {
  if (faults_.beforeRead) faults_.beforeRead(offset);
  const uint64_t badEnd =
      faults_.failFrom + std::min(faults_.failLength, UINT64_MAX - faults_.failFrom);
  if (offset >= faults_.failFrom && offset < badEnd) return 0;
  if (offset < faults_.failFrom) {
    count = static_cast<size_t>(std::min<uint64_t>(count, faults_.failFrom - offset));
  }
  if (faults_.chunk != 0) count = std::min(count, faults_.chunk);
  return inner_->Read(offset, buffer, count);
}

ImageOpener FaultyOpener(ImageOpener inner, ReadFaults faults) {
  return [inner = std::move(inner), faults = std::move(faults)](
             const std::filesystem::path& path) -> std::unique_ptr<ImageSource> {
    std::unique_ptr<ImageSource> source = inner(path);
    if (!source) return nullptr;
    return std::make_unique<FaultySource>(std::move(source), faults);
  };
}

FileSizeLimit::FileSizeLimit(uint64_t bytes) {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  soft_ = limit.rlim_cur;
  hard_ = limit.rlim_max;
  oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  limit.rlim_cur = soft_;
  limit.rlim_max = hard_;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  ::signal(SIGXFSZ, oldHandler_);
}

int RunVelkor(const std::vector<std::string>& args, std::string& output, uint64_t fileLimit) {
  std::vector<char*> argv = {const_cast<char*>(VELKOR_CLI_PATH)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  // A pipe, not a file, so that the size limit does not cut the messages.
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], 1);
    ::dup2(fds[1], 2);
    ::close(fds[0]);
    ::close(fds[1]);
    if (fileLimit != 0) {
      // Ignored stays ignored across exec: the program sees EFBIG, not a signal.
      ::signal(SIGXFSZ, SIG_IGN);
      rlimit limit{};
      ::getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = fileLimit;
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execv(VELKOR_CLI_PATH, argv.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  output.clear();
  char buffer[4096];
  for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    output.append(buffer, static_cast<size_t>(got));
  }
  ::close(fds[0]);
  int status = 0;
  const bool exited = pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status);
  return exited ? WEXITSTATUS(status) : -1;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace velkor::faults
