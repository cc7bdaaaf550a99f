// What the core tests share beyond the stand-ins: the velkor program run as a
// user runs it, a calendar oracle, and scratch folders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_doubles.h"

namespace velkor::test {

// Runs the velkor program with stdout and stderr into output; when fileLimit
// is not 0 no file may grow past it (writes fail with EFBIG, as on a full
// disk); when termAfterMs is not 0 it gets SIGTERM that long after the start.
// Returns the exit status, -1 when it did not exit normally.
int RunVelkor(const std::vector<std::string>& args, std::string& output, uint64_t fileLimit = 0,
              int termAfterMs = 0);
// The lines of output that hold a tab: the found-file list without the messages.
std::string TabbedLines(const std::string& output);

// "y-m-d h:m:s" of seconds since 1970 by the standard library's calendar: an
// oracle independent of the engine's year and month loops.
std::string CivilTimeText(uint32_t seconds);

// A fresh folder for the running test, removed with its contents.
struct TempFolder {
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::filesystem::path path;
};

}  // namespace velkor::test
