// The installed command line run as a user runs it: POSIX only (the Windows
// build's end-to-end comparison runs the .exe from scripts/windows instead).
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "tests/support/test_support.h"

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
      const rlimit limit{fileLimit, fileLimit};
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

}  // namespace velkor::test
