// The command line's parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/records_command.h"
#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

// Every mistake ends with status 2 and one line that names it, before the
// image is opened ("img" need not exist); help and version end with 0.
TEST(CommandLineArguments, EachMistakeIsNamedOnOneLineWithStatusTwo) {
  const struct {
    std::vector<std::string> args;
    std::string said;
    int status = 2;
  } cases[] = {
      {{}, "command"},
      {{"frobnicate"}, "frobnicate"},
      {{"records", "img"}, "--out"},
      {{"records", "--out", "o"}, "IMAGE_OR_FOLDER"},
      {{"records", "img", "--out", "o", "--platform", "windows"}, "--platform"},
      {{"records", "img", "--out", "o", "--types", "0x1G"}, "--types"},
      {{"records", "img", "--out", "o", "--types", "0x100000000"}, "--types"},
      {{"records", "img", "--out", "o", "--threads", "0"}, "--threads"},
      {{"records", "img", "--out", "o", "--threads", "1000"}, "--threads"},
      {{"records", "img", "--out", "o", "--threads", "08"}, "--threads"},
      {{"records", "img", "--out", ""}, "--out"},
      {{"records", "img", "--out", "o", "--bogus"}, "--bogus"},
      {{"records", "img", "other", "--out", "o"}, "other"},
      {{"pictures", "img", "--block", "-1"}, "--block"},
      {{"pictures", "img", "--start", "1e3"}, "--start"},
      {{"pictures", "img", "--sectors", " 5"}, "--sectors"},
      {{"pictures", "img", "--max-size", "0x10"}, "--max-size"},
      {{"pictures", "img", "--formats", "jpg,mp4"}, "--formats"},
      {{"videos", "img", "--formats", "mp4,"}, "--formats"},
      {{"videos", "img", "--formats", "png"}, "--formats"},
      {{"videos", "img", "--out", ""}, "--out"},
      {{"--help"}, "Exit status", 0},
      {{"records", "--help"}, "Exit status", 0},
      {{"pictures", "--help"}, "Exit status", 0},
      {{"videos", "--help"}, "Exit status", 0},
      {{"--version"}, std::string("\nvelkor ") + VELKOR_VERSION + "\n", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    std::string output;
    EXPECT_EQ(RunVelkor(c.args, output), c.status);
    const bool help = !c.args.empty() && c.args.back() == "--help";
    EXPECT_TRUE(help ? output.find("Usage:") != std::string::npos
                     : output.find('\n') == output.size() - 1)
        << output;
    EXPECT_NE(("\n" + output).find(c.said), std::string::npos) << output;
  }
}

// The default the help shows is the one a run without --types scans with.
TEST(CommandLineArguments, TypesDefaultIsTheOneTheHelpShows) {
  std::string output;
  ASSERT_EQ(RunVelkor({"records", "--help"}, output), 0);
  const size_t shown = output.find("--types TEXT:MASK=");
  ASSERT_NE(shown, std::string::npos) << output;
  EXPECT_EQ(std::stoul(output.substr(shown + 18), nullptr, 16), cli::RecordsArgs{}.types);
}

}  // namespace
}  // namespace velkor::test
