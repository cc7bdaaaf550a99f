#include "tests/support/test_support.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "engine/text_codec.h"

namespace velkor::test {
namespace {

class FaultySource final : public ImageSource {
 public:
  FaultySource(std::unique_ptr<ImageSource> inner, ReadFaults faults)
      : inner_(std::move(inner)), faults_(std::move(faults)) {}
  uint64_t Size() const override { return inner_->Size(); }
  size_t Read(uint64_t offset, void* buffer, size_t count) override {
    if (faults_.beforeRead) faults_.beforeRead(offset);
    if (offset >= inner_->Size()) return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, inner_->Size() - offset));
    if (faults_.chunk != 0) count = std::min(count, faults_.chunk);
    for (const ByteRange& bad : faults_.bad) {
      if (bad.offset >= offset + count || bad.End() <= offset) continue;
      if (faults_.wholeRead || bad.offset <= offset) return 0;
      count = static_cast<size_t>(bad.offset - offset);
    }
    return inner_->Read(offset, buffer, count);
  }

 private:
  std::unique_ptr<ImageSource> inner_;
  ReadFaults faults_;
};

}  // namespace

void Recorder::ProgressText(std::u16string_view text) {
  texts.push_back(ToUtf8(text));
}

void Recorder::Append(const LogEntry& entry) {
  logTexts.push_back(entry.text);
  logs.push_back(std::to_string(entry.level) + " " + ToUtf8(entry.title) + " " +
                 ToUtf8(entry.text));
}

ImageOpener FaultyOpener(ImageOpener inner, ReadFaults faults) {
  return [inner = std::move(inner), faults = std::move(faults)](
             const std::filesystem::path& path) -> std::unique_ptr<ImageSource> {
    std::unique_ptr<ImageSource> source = inner(path);
    if (!source) return nullptr;
    return std::make_unique<FaultySource>(std::move(source), faults);
  };
}

ImageOpener MemoryOpener(Bytes image) {
  auto shared = std::make_shared<const Bytes>(std::move(image));
  return [shared](const std::filesystem::path&) -> std::unique_ptr<ImageSource> {
    return std::make_unique<MemoryImageSource>(*shared);
  };
}

ImageOpener MemoryImages::Opener() const {
  return [this](const std::filesystem::path& path) -> std::unique_ptr<ImageSource> {
    const auto found = bytes.find(path);
    if (found == bytes.end()) return nullptr;
    const auto faulted = faults.find(path);
    return FaultyOpener(MemoryOpener(found->second),
                        faulted == faults.end() ? ReadFaults{} : faulted->second)(path);
  };
}

ByteRange Place(Bytes& image, uint64_t offset, const Bytes& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
  return {offset, bytes.size()};
}

int RunVelkor(const std::vector<std::string>& args, std::string& output, uint64_t fileLimit,
              int termAfterMs) {
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
  // Read while the timer runs, so that the program never blocks on a full pipe.
  std::thread term([pid, termAfterMs] {
    if (pid <= 0 || termAfterMs <= 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(termAfterMs));
    ::kill(pid, SIGTERM);
  });
  output.clear();
  char buffer[4096];
  for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    output.append(buffer, static_cast<size_t>(got));
  }
  ::close(fds[0]);
  term.join();
  int status = 0;
  const bool exited = pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status);
  return exited ? WEXITSTATUS(status) : -1;
}

std::string TabbedLines(const std::string& output) {
  std::string lines;
  for (size_t at = 0, end; at < output.size(); at = end + 1) {
    end = std::min(output.find('\n', at), output.size());
    const std::string line = output.substr(at, end - at + 1);
    if (line.find('\t') != std::string::npos) lines += line;
  }
  return lines;
}

std::string CivilTimeText(uint32_t seconds) {
  // Days to year, month, day on the proleptic Gregorian calendar, counting
  // in 400-year eras that start on March 1st.
  const int64_t z = seconds / 86400 + 719468;
  const int64_t era = z / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  const uint32_t rest = seconds % 86400;
  return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) + " " +
         std::to_string(rest / 3600) + ":" + std::to_string(rest % 3600 / 60) + ":" +
         std::to_string(rest % 60);
}

TempFolder::TempFolder() {
  // ctest runs each test in its own process, in parallel: keep them apart.
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  path = std::filesystem::temp_directory_path() /
         ("velkor_" + std::string(info ? info->name() : "test") + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
}

TempFolder::~TempFolder() {
  std::filesystem::remove_all(path);
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes ReadBytes(const std::filesystem::path& path) {
  const std::string text = ReadText(path);
  return {text.begin(), text.end()};
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
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

}  // namespace velkor::test
