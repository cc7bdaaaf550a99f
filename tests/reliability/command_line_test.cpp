// The command line on awkward input: names that are not UTF-8 or hold
// control characters, a stop by SIGTERM, a write killed midway, and mistakes
// caught before a scan starts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/exit_status.h"
#include "engine/output_file.h"
#include "tests/support/cell_bytes.h"
#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

// An image of messages, one every 3001 bytes, with a PNG signature at 0.
std::vector<uint8_t> MessageImage(size_t* rows = nullptr) {
  std::vector<uint8_t> bytes(kMiB + 4096);
  Place(bytes, 0, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  uint64_t i = 0;
  for (uint64_t at = 4096; at + 200 < bytes.size(); at += 3001, ++i) {
    Place(bytes, at, IosSmsCell("10086", 1600000000, "m" + std::to_string(i), i + 1));
  }
  if (rows != nullptr) *rows = i;
  return bytes;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// File names are bytes: none of them has to be UTF-8.
TEST(CommandLine, NamesThatAreNotUtf8Work) {
  TempFolder temp;
  const fs::path image = temp.path / "img\xff.bin";
  const fs::path backup = temp.path / "backup\xfd";
  fs::create_directories(backup);
  size_t rows = 0;
  WriteBytes(image, MessageImage(&rows));
  WriteBytes(backup / "f\xfe", MessageImage());
  const std::string counted = "短信箱 " + std::to_string(rows) + "\n";
  const struct {
    std::vector<std::string> args;
    fs::path written;
    std::string counted;  // a count line of stderr
  } cases[] = {
      {{"records", image, "--platform", "ios", "--out", temp.path / "out\xfe"},
       temp.path / "out\xfe" / "信息.txt",
       counted},
      {{"records", backup, "--platform", "itunes", "--out", temp.path / "out\xfc"},
       temp.path / "out\xfc" / "信息.txt",
       counted},
      {{"pictures", image, "--out", temp.path / "pics\xfe", "--formats", "png"},
       temp.path / "pics\xfe" / "0.png",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    std::string output;
    EXPECT_EQ(RunVelkor(c.args, output), cli::kExitComplete) << output;
    EXPECT_TRUE(Contains(output, c.counted)) << output;
    EXPECT_GT(fs::file_size(c.written), 2u);
  }
}

TEST(CommandLine, SigtermStopsTheScanAndTheResultsAreWritten) {
  TempFolder temp;
  const fs::path image = temp.path / "big.img";
  // Sparse: 64 GiB of holes take seconds to scan and no disk space.
  WriteBytes(image, {});
  fs::resize_file(image, 64ull << 30);
  std::string output;
  EXPECT_EQ(RunVelkor({"records", image, "--threads", "1", "--out", temp.path / "out"}, output, 0,
                      /*termAfterMs=*/300),
            cli::kExitStopped)
      << output;
  EXPECT_TRUE(Contains(output, "[Scan] 扫描已停止于偏移 ")) << output;
  EXPECT_TRUE(fs::exists(temp.path / "out" / "信息.txt"));
}

TEST(ExitStatus, TheMostTellingOneWins) {
  using namespace cli;
  const struct {
    bool stopped, unreadable, listingCut;
    int expected;
  } scans[] = {
      {false, false, false, kExitComplete},
      {false, true, false, kExitUnreadable},
      {true, true, false, kExitStopped},
      {true, true, true, kExitFailed},
  };
  for (const auto& s : scans) {
    ScanResult result;
    result.stopped = s.stopped;
    result.listingCut = s.listingCut;
    if (s.unreadable) result.unreadable.push_back({0, 1, "x"});
    EXPECT_EQ(ScanExitStatus(result), s.expected);
  }
  const int order[] = {kExitMistake, kExitFailed, kExitStopped, kExitUnreadable, kExitComplete};
  for (size_t i = 0; i < std::size(order); ++i) {
    for (size_t j = i; j < std::size(order); ++j) {
      EXPECT_EQ(WorseExitStatus(order[i], order[j]), order[i]);
      EXPECT_EQ(WorseExitStatus(order[j], order[i]), order[i]);
    }
  }
}

// A writer killed midway leaves what was there before, or nothing, under
// the final name.
TEST(KilledWrite, LeavesThePreviousFileOrNone) {
  for (const bool previous : {false, true}) {
    SCOPED_TRACE(previous);
    TempFolder temp;
    const fs::path path = temp.path / "信息.txt";
    if (previous) WriteBytes(path, {1, 2, 3});
    const pid_t child = ::fork();
    if (child == 0) {
      WriteWholeFile(path, [](std::FILE* file) {
        const std::vector<char> half(100000, 'x');
        std::fwrite(half.data(), 1, half.size(), file);
        std::fflush(file);
        ::raise(SIGKILL);
        return true;
      });
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    if (previous) {
      EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{1, 2, 3}));
    } else {
      EXPECT_FALSE(fs::exists(path));
    }
  }
}

TEST(CommandLine, MistakesAreCaughtBeforeTheScan) {
  TempFolder temp;
  const fs::path image = temp.path / "phone.img";
  WriteBytes(image, MessageImage());
  const std::string tooMany = std::to_string(4 * std::max(1l, ::sysconf(_SC_NPROCESSORS_ONLN)) + 1);
  const struct {
    std::vector<std::string> args;
    int status;
    std::string said;
  } cases[] = {
      {{"records", image, "--threads", tooMany, "--out", temp.path / "o"},
       cli::kExitMistake,
       "threads is more than 4 per core"},
      {{"records", image, "--out", image / "o"}, cli::kExitFailed, "cannot write into"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    std::string output;
    EXPECT_EQ(RunVelkor(c.args, output), c.status);
    EXPECT_TRUE(Contains(output, c.said)) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
  }
}

// Names from a backup folder reach the console with their controls shown as
// codes: no escape sequence of the phone's reaches the terminal.
TEST(CommandLine, ControlCharactersInNamesArePrintedAsCodes) {
  TempFolder temp;
  const fs::path backup = temp.path / "backup";
  fs::create_directories(backup);
  // A FIFO cannot be scanned, so its name is logged.
  const fs::path fifo = backup / "a\x1b[2J\x7f\xc2\x85\xe2\x80\xae.db";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string output;
  RunVelkor({"records", backup, "--platform", "itunes", "--out", temp.path / "out"}, output);
  EXPECT_TRUE(Contains(output, "a\\x1B[2J\\x7F\\x85\\u{202E}.db")) << output;
  EXPECT_FALSE(Contains(output, "\x1b[2J"));
}

}  // namespace
}  // namespace velkor::test
