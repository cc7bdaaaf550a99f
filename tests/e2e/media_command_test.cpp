// The pictures and videos commands run as a user runs them: the found-file
// lines, the saved files, the exit status, and storage that fails.
#include <gtest/gtest.h>

#include "tests/carving/carving_test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

class MediaCommand : public ::testing::Test {
 protected:
  MediaCommand() : image(FillerImage(2 * kMiB + 4096)) {
    Place(image, 4096, "png");
    Place(image, kMiB, "jfif");
    Place(image, kMiB + 8192, "mov");
    Place(image, 2 * kMiB, "mp4");
    WriteBytes(path, image);
  }
  int Run(std::vector<std::string> args, uint64_t fileLimit = 0) {
    return RunVelkor(args, output, fileLimit);
  }
  std::string Slice(uint64_t offset, uint64_t length) const {
    return std::string(image.begin(), image.end()).substr(offset, length);
  }

  TempFolder temp;
  // Chinese and spaces in every path the program meets.
  const fs::path folder = temp.path / "手机 镜像";
  const bool made = fs::create_directories(folder);
  const std::string path = (folder / "phone 1.img").string();
  const std::string out = (folder / "找到 的").string();
  Bytes image;
  std::string output;
};

TEST_F(MediaCommand, ListsAndSavesFoundFiles) {
  ASSERT_EQ(Run({"pictures", path, "--formats", "all", "--out", out}), 0) << output;
  // The JPEG's length is the distance to the next hit; the last one keeps
  // the default maximum.
  EXPECT_EQ(TabbedLines(output), "0.png\t4096\t1044480\n1.jpg\t1048576\t104857600\n");
  EXPECT_EQ(ReadText(fs::path(out) / "0.png"), Slice(4096, 1044480));
  EXPECT_EQ(ReadText(fs::path(out) / "1.jpg"), Slice(kMiB, std::string::npos));
}

TEST_F(MediaCommand, FormatsAndRangeOptions) {
  const struct {
    std::vector<std::string> args;
    std::string lines;
  } cases[] = {
      {{"pictures", path}, "0.jpg\t1048576\t104857600\n"},  // JPG alone by default
      {{"pictures", path, "--formats", "png,jpg", "--max-size", "1000"},
       "0.png\t4096\t1000\n1.jpg\t1048576\t1000\n"},
      {{"pictures", path, "--start", "2048", "--sectors", "8"}, "0.jpg\t1048576\t104857600\n"},
      {{"pictures", path, "--start", "2056", "--sectors", "2048"}, ""},
      {{"videos", path}, "0.mp4\t2097152\t104857600\n"},  // MP4 alone by default
      {{"videos", path, "--formats", "all"},
       "0.mov\t1056768\t1040384\n1.mp4\t2097152\t104857600\n"},
      {{"videos", path, "--formats", "mov", "--block", "1", "--max-size", "18446744073709551615"},
       "0.mov\t1056768\t18446744073709551615\n"},
      {{"videos", path, "--formats", "mpg"}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), 0) << c.args[0] << " " << c.args.size() << "\n" << output;
    EXPECT_EQ(TabbedLines(output), c.lines) << c.args.size();
  }
}

// Bad options and parameters the dialog would refuse: status 2, nothing scanned.
TEST_F(MediaCommand, RefusesBadArguments) {
  const std::vector<std::string> cases[] = {
      {"pictures", path, "--sectors", "4105"},  // one past the image
      {"pictures", path, "--start", "1", "--sectors", "4104"},
      {"pictures", path, "--block", "0"},
      {"videos", path, "--max-size", "0"},
      {"pictures", path, "--sectors", "0"},
      {"pictures", path, "--start", "36028797018963968"},  // 2^64 bytes
      {"pictures", path, "--sectors", "99999999999999999999999"},
      {"pictures", path, "--block", "12k"},
      {"pictures", path, "--start", "-1"},
      {"pictures", path, "--formats", "mp4"},  // not a picture format
      {"videos", path, "--formats", "mp4,"},
      {"videos", path, "--frames", "3"},
      {"videos", path, "--out"},
      {"videos", path, path},
      {"videos"},
  };
  for (const auto& args : cases) {
    std::vector<std::string> withOut = args;
    if (args.size() > 1 && args.back() != "--out") withOut.insert(withOut.end(), {"--out", out});
    EXPECT_EQ(Run(withOut), 2) << args.size() << " " << args.back();
    EXPECT_EQ(TabbedLines(output), "") << args.back() << ": no file is listed";
    EXPECT_FALSE(fs::exists(out)) << args.back();
  }
}

// Storage that fails: an image that does not open, an output that is a file,
// a file that cannot be created, and a disk that holds only the first file.
TEST_F(MediaCommand, FailuresToOpenOrSaveEndWithStatus1) {
  EXPECT_EQ(Run({"pictures", folder.string()}), 1);
  EXPECT_NE(output.find("[error] 打開/創建設備" + folder.string() + "失敗"), std::string::npos);
  EXPECT_EQ(Run({"pictures", path, "--out", path}), 1);

  fs::create_directories(fs::path(out) / "0.png");
  EXPECT_EQ(Run({"pictures", path, "--formats", "all", "--out", out}), 1);
  EXPECT_NE(output.find("[Save] 保存" + out + "/0.png失败"), std::string::npos) << output;
  EXPECT_EQ(fs::file_size(fs::path(out) / "1.jpg"), image.size() - kMiB);

  fs::remove_all(out);
  EXPECT_EQ(Run({"pictures", path, "--formats", "all", "--out", out}, kMiB), 1);
  EXPECT_NE(output.find("[Save] 保存" + out + "/1.jpg失败"), std::string::npos) << output;
  EXPECT_EQ(FolderNames(out), std::vector<std::string>{"0.png"});
  EXPECT_EQ(ReadText(fs::path(out) / "0.png"), Slice(4096, 1044480));
}

// Images around the window size; one without a whole sector has no range.
TEST_F(MediaCommand, ImagesOfEdgeSizes) {
  const struct {
    uint64_t size;
    int status;
    std::string lines;
  } cases[] = {
      {0, 2, ""},
      {1, 2, ""},
      {kMiB, 0, "0.jpg\t0\t104857600\n"},
      {kMiB + 1, 0, "0.jpg\t0\t104857600\n"},
  };
  for (const auto& c : cases) {
    Bytes bytes = FillerImage(c.size);
    Place(bytes, 0, "jfif");
    WriteBytes(path, bytes);
    EXPECT_EQ(Run({"pictures", path, "--block", "512"}), c.status) << c.size << output;
    EXPECT_EQ(TabbedLines(output), c.lines) << c.size;
  }
}

}  // namespace
}  // namespace velkor::test
