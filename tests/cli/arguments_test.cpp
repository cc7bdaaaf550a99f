// The command line's parser: every mistake ends with status 2 and one line
// that names the option at fault, before any image is opened; help and
// version end with 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// A start alone scans from that sector to the image's end; before, the
// default count (the whole image) always ran past it.
TEST(CommandLineArguments, StartWithoutSectorsRunsToTheImageEnd) {
  const TempFolder temp;
  const std::string image = (temp.path / "image").string();
  Bytes bytes(64 * 512, 0);
  for (uint64_t block : {0, 40, 60})
    Place(bytes, block * 512, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  WriteBytes(image, bytes);
  std::string output;
  EXPECT_EQ(
      RunVelkor({"pictures", image, "--formats", "png", "--block", "512", "--start", "40"}, output),
      0)
      << output;
  EXPECT_EQ(TabbedLines(output), "0.png\t20480\t10240\n1.png\t30720\t104857600\n");
  EXPECT_EQ(RunVelkor({"pictures", image, "--start", "65"}, output), 2);
}

}  // namespace
}  // namespace velkor::test
