#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "engine/platform.h"

namespace velkor::test {

std::string TabbedLines(const std::string& output) {
  std::string lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    if (line.find('\t') != std::string::npos) lines += line + "\n";
  }
  return lines;
}

std::string CivilTimeText(uint32_t seconds) {
  using namespace std::chrono;
  const sys_seconds time{std::chrono::seconds{seconds}};
  const year_month_day date{floor<days>(time)};
  const hh_mm_ss clock{time - floor<days>(time)};
  const auto n = [](auto v) { return std::to_string(static_cast<long long>(v)); };
  return n(int(date.year())) + "-" + n(unsigned(date.month())) + "-" + n(unsigned(date.day())) +
         " " + n(clock.hours().count()) + ":" + n(clock.minutes().count()) + ":" +
         n(clock.seconds().count());
}

TempFolder::TempFolder() {
  // ctest runs each test in its own process, in parallel: keep them apart.
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  path = std::filesystem::temp_directory_path() /
         ("velkor_" + std::string(info ? info->name() : "test") + "_" +
          std::to_string(platform::ProcessId()));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
}

TempFolder::~TempFolder() {
  std::filesystem::remove_all(path);
}

}  // namespace velkor::test
