// velkor pictures and velkor videos run as a user runs them: the found-file
// lines, the exit status, and storage that fails.
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
  std::string Slice(uint64_t offset, uint64_t length) const {
    return std::string(image.begin(), image.end()).substr(offset, length);
  }

  TempFolder temp;
  // Chinese and a space in every path the program meets.
  const fs::path folder = temp.path / "手机 镜像";
  const bool made = fs::create_directories(folder);
  const std::string path = (folder / "phone 1.img").string();
  const std::string out = (folder / "找到 的").string();
  Bytes image;
  std::string output;
};

// Scan parameters the dialog would refuse end with status 2, nothing listed
// and no output folder; a JPEG's length is the distance to the next hit, the
// last one keeps the maximum size.
TEST_F(MediaCommand, ListsWhatTheOptionsAskFor) {
  const std::string edge = (folder / "edge\xfe").string();  // not UTF-8
  const struct {
    std::vector<std::string> args;
    int status;
    std::string lines;
  } cases[] = {
      {{"pictures", path}, 0, "0.jpg\t1048576\t104857600\n"},  // JPG alone by default
      {{"pictures", path, "--formats", "all"},
       0,
       "0.png\t4096\t1044480\n1.jpg\t1048576\t104857600\n"},
      {{"pictures", path, "--formats", "png,jpg", "--max-size", "1000"},
       0,
       "0.png\t4096\t1000\n1.jpg\t1048576\t1000\n"},
      {{"pictures", path, "--start", "2048", "--sectors", "8"}, 0, "0.jpg\t1048576\t104857600\n"},
      {{"pictures", path, "--start", "2056", "--sectors", "2048"}, 0, ""},
      {{"pictures", path, "--start", "2048"}, 0, "0.jpg\t1048576\t104857600\n"},  // to the end
      {{"videos", path}, 0, "0.mp4\t2097152\t104857600\n"},  // MP4 alone by default
      {{"videos", path, "--formats", "all"},
       0,
       "0.mov\t1056768\t1040384\n1.mp4\t2097152\t104857600\n"},
      {{"videos", path, "--formats", "mov", "--block", "1", "--max-size", "18446744073709551615"},
       0,
       "0.mov\t1056768\t18446744073709551615\n"},
      {{"videos", path, "--formats", "mpg"}, 0, ""},
      {{"pictures", edge + "1048577", "--block", "512"}, 0, "0.jpg\t0\t104857600\n"},
      {{"pictures", path, "--sectors", "4105"}, 2, ""},  // one past the image
      {{"pictures", path, "--start", "1", "--sectors", "4104"}, 2, ""},
      {{"pictures", path, "--start", "4105"}, 2, ""},
      {{"pictures", path, "--start", "36028797018963968"}, 2, ""},  // 2^64 bytes
      {{"pictures", path, "--sectors", "0"}, 2, ""},
      {{"pictures", path, "--sectors", "99999999999999999999999"}, 2, ""},
      {{"pictures", path, "--block", "0"}, 2, ""},
      {{"videos", path, "--max-size", "0"}, 2, ""},
      {{"pictures", edge + "0"}, 2, ""},  // no whole sector
      {{"pictures", edge + "1"}, 2, ""},
  };
  for (const uint64_t size : {uint64_t{0}, uint64_t{1}, kMiB + 1}) {
    Bytes bytes = FillerImage(size);
    Place(bytes, 0, "jfif");
    WriteBytes(edge + std::to_string(size), bytes);
  }
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    SCOPED_TRACE(args[0] + " " + args.back());
    args.insert(args.end(), {"--out", out});
    EXPECT_EQ(RunVelkor(args, output), c.status) << output;
    EXPECT_EQ(TabbedLines(output), c.lines);
    EXPECT_TRUE(c.status == 0 || !fs::exists(out));
    fs::remove_all(out);
  }
}

// An image that does not open, an output that is a file, and a disk that
// holds only the first file: status 1, and what could be saved is whole.
TEST_F(MediaCommand, FailuresToOpenOrSaveEndWithStatus1) {
  EXPECT_EQ(RunVelkor({"pictures", folder.string()}, output), 1);
  EXPECT_NE(output.find("[error] 打開/創建設備" + folder.string() + "失敗"), std::string::npos);
  EXPECT_EQ(RunVelkor({"pictures", path, "--out", path}, output), 1);

  EXPECT_EQ(RunVelkor({"pictures", path, "--formats", "all", "--out", out}, output, kMiB), 1);
  EXPECT_NE(output.find("[Save] 保存" + out + "/1.jpg失败"), std::string::npos) << output;
  EXPECT_EQ(ReadText(fs::path(out) / "0.png"), Slice(4096, 1044480));
  EXPECT_FALSE(fs::exists(fs::path(out) / "1.jpg"));
}

}  // namespace
}  // namespace velkor::test
