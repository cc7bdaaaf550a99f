// The command line's parser: every mistake ends with status 2 and one line
// that names the option at fault, before any image is opened; help and
// version end with 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/records_command.h"
#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

TEST(CommandLineArguments, EachMistakeIsNamedOnOneLineWithStatusTwo) {
  // "img" need not exist: a mistake is reported before the image is opened.
  const struct {
    std::vector<std::string> args;
    const char* named;  // what the one line must mention
  } mistakes[] = {
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
  };
  for (const auto& mistake : mistakes) {
    SCOPED_TRACE(mistake.named);
    std::string output;
    EXPECT_EQ(RunVelkor(mistake.args, output), 2);
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
    EXPECT_NE(output.find(mistake.named), std::string::npos) << output;
  }
}

TEST(CommandLineArguments, HelpAndVersionSucceed) {
  std::string output;
  for (const char* command : {"", "records", "pictures", "videos"}) {
    SCOPED_TRACE(command);
    std::vector<std::string> args = {command, "--help"};
    if (*command == '\0') args.erase(args.begin());
    EXPECT_EQ(RunVelkor(args, output), 0);
    EXPECT_NE(output.find("Usage:"), std::string::npos);
    EXPECT_NE(output.find("Exit status"), std::string::npos);
  }
  EXPECT_EQ(RunVelkor({"--version"}, output), 0);
  EXPECT_EQ(output, std::string("velkor ") + VELKOR_VERSION + "\n");
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
