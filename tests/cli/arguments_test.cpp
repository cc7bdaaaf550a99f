// The command line's parser: every mistake ends with status 2 and one line
// that names the option at fault, before any image is opened; help and
// version end with 0.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

struct CommandRun {
  int status = -1;
  std::string out;
  std::string err;
};

CommandRun Velkor(const std::string& args) {
  const std::filesystem::path errFile =
      std::filesystem::temp_directory_path() / ("velkor-args-" + std::to_string(::getpid()));
  const std::string command = std::string(VELKOR_BINARY) + " " + args + " 2>" + errFile.string();
  CommandRun run;
  FILE* pipe = popen(command.c_str(), "r");
  std::array<char, 4096> buffer{};
  for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    run.out.append(buffer.data(), n);
  }
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream err(errFile);
  run.err.assign(std::istreambuf_iterator<char>(err), {});
  std::filesystem::remove(errFile);
  return run;
}

struct Mistake {
  const char* args;
  const char* named;  // what the one line must mention
};

TEST(CommandLineArguments, EachMistakeIsNamedOnOneLineWithStatusTwo) {
  // "img" need not exist: a mistake is reported before the image is opened.
  const Mistake mistakes[] = {
      {"", "command"},
      {"frobnicate", "frobnicate"},
      {"records img", "--out"},
      {"records --out o", "IMAGE_OR_FOLDER"},
      {"records img --out o --platform windows", "--platform"},
      {"records img --out o --types 0x1G", "--types"},
      {"records img --out o --types 0x100000000", "--types"},
      {"records img --out o --threads 0", "--threads"},
      {"records img --out o --threads 1000", "--threads"},
      {"records img --out o --threads 08", "--threads"},
      {"records img --out ''", "--out"},
      {"records img --out o --bogus", "--bogus"},
      {"records img other --out o", "other"},
      {"pictures img --block -1", "--block"},
      {"pictures img --start 1e3", "--start"},
      {"pictures img --sectors ' 5'", "--sectors"},
      {"pictures img --max-size 0x10", "--max-size"},
      {"pictures img --formats jpg,mp4", "--formats"},
      {"videos img --formats png", "--formats"},
      {"videos img --out ''", "--out"},
  };
  for (const Mistake& mistake : mistakes) {
    SCOPED_TRACE(mistake.args);
    const CommandRun run = Velkor(mistake.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_NE(run.err.find(mistake.named), std::string::npos) << run.err;
  }
}

TEST(CommandLineArguments, HelpAndVersionSucceed) {
  for (const char* args : {"--help", "records --help", "pictures --help", "videos --help"}) {
    SCOPED_TRACE(args);
    const CommandRun run = Velkor(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage:"), std::string::npos);
    EXPECT_NE(run.out.find("Exit status"), std::string::npos);
  }
  const CommandRun version = Velkor("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("velkor ") + VELKOR_VERSION + "\n");
}

// A start alone scans from that sector to the image's end; before, the
// default count (the whole image) always ran past it.
TEST(CommandLineArguments, StartWithoutSectorsRunsToTheImageEnd) {
  const std::filesystem::path image =
      std::filesystem::temp_directory_path() / ("velkor-start-" + std::to_string(::getpid()));
  std::vector<char> bytes(64 * 512, 0);
  const std::string png = "\x89PNG\r\n\x1A\n";
  for (size_t block : {0, 40, 60}) std::copy(png.begin(), png.end(), bytes.begin() + block * 512);
  std::ofstream(image, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));

  const CommandRun run = Velkor("pictures " + image.string() + " --formats png --block 512 --start 40");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "0.png\t20480\t10240\n1.png\t30720\t104857600\n");
  EXPECT_EQ(Velkor("pictures " + image.string() + " --start 65").status, 2);
  std::filesystem::remove(image);
}

}  // namespace
