#include "tests/support/test_support.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace velkor::test {

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

}  // namespace velkor::test
