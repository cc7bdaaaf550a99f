// velkor pictures and velkor videos run as a user runs them: the found-file
// lines, the exit status, and storage that fails.
#include <gtest/gtest.h>

#include "tests/carving/carving_test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

// A JPEG's length is the distance to the next hit, the last one's runs to
// the image end. Scan parameters the dialog would refuse end with status 2,
// nothing listed and no output folder; an image that does not open, an
// output that is a file and a full disk end with status 1.
TEST(MediaCommand, EveryRunEndsWithItsStatusAndList) {
  const TempFolder temp;
  // Chinese, spaces, and a byte that is not UTF-8 in the edge images' names.
  const fs::path folder = temp.path / "手机 镜像";
  fs::create_directories(folder);
  const std::string path = (folder / "phone 1.img").string(), out = (folder / "找到 的").string();
  const std::string edge = (folder / "edge\xfe").string();
  Bytes image = FillerImage(2 * kMiB + 4096);
  Place(image, 4096, "png");
  Place(image, kMiB, "jfif");
  Place(image, kMiB + 8192, "mov");
  Place(image, 2 * kMiB, "mp4");
  WriteBytes(path, image);
  for (const uint64_t size : {uint64_t{0}, uint64_t{1}, kMiB + 1}) {
    Bytes bytes = FillerImage(size);
    Place(bytes, 0, "jfif");
    WriteBytes(edge + std::to_string(size), bytes);
  }
  const std::string both = "0.png\t4096\t1044480\n1.jpg\t1048576\t1052672\n";
  const struct {
    int status;
    std::vector<std::string> args;
    std::string lines = "";
    std::string said = "";
    uint64_t fileLimit = 0;
  } cases[] = {
      {0, {"pictures", path}, "0.jpg\t1048576\t1052672\n"},  // JPG alone by default
      {0, {"pictures", path, "--formats", "all"}, both},
      {0,
       {"pictures", path, "--formats", "png,jpg", "--max-size", "1000"},
       "0.png\t4096\t1000\n1.jpg\t1048576\t1000\n"},
      {0, {"pictures", path, "--start", "2048", "--sectors", "8"}, "0.jpg\t1048576\t1052672\n"},
      {0, {"pictures", path, "--start", "2056", "--sectors", "2048"}},
      {0, {"pictures", path, "--start", "2048"}, "0.jpg\t1048576\t1052672\n"},  // to the end
      {0, {"videos", path}, "0.mp4\t2097152\t4096\n"},  // MP4 alone by default
      {0, {"videos", path, "--formats", "all"}, "0.mov\t1056768\t1040384\n1.mp4\t2097152\t4096\n"},
      {0,
       {"videos", path, "--formats", "mov", "--block", "1", "--max-size", "18446744073709551615"},
       "0.mov\t1056768\t1044480\n"},
      {0, {"videos", path, "--formats", "mpg"}},
      {0, {"pictures", edge + "1048577", "--block", "512"}, "0.jpg\t0\t1048577\n"},
      {2, {"pictures", path, "--sectors", "4105"}},  // one past the image
      {2, {"pictures", path, "--start", "1", "--sectors", "4104"}},
      {2, {"pictures", path, "--start", "4105"}},
      {2, {"pictures", path, "--start", "36028797018963968"}},  // 2^64 bytes
      {2, {"pictures", path, "--sectors", "0"}},
      {2, {"pictures", path, "--sectors", "99999999999999999999999"}},
      {2, {"pictures", path, "--block", "0"}},
      {2, {"videos", path, "--max-size", "0"}},
      {0, {"pictures", edge + "0"}},  // an empty image holds nothing
      {2, {"pictures", edge + "1"}},  // no whole sector
      {1, {"pictures", folder}, "", "[error] 打開/創建設備" + folder.string() + "失敗"},
      {1, {"pictures", path, "--out", path}},
      {1, {"pictures", path, "--formats", "all"}, both, "[Save] 保存" + out + "/1.jpg失败", kMiB},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    SCOPED_TRACE(args[0] + " " + args.back());
    if (args.size() < 3 || args[2] != "--out") args.insert(args.end(), {"--out", out});
    std::string output;
    EXPECT_EQ(RunVelkor(args, output, c.fileLimit), c.status) << output;
    EXPECT_EQ(TabbedLines(output), c.lines);
    EXPECT_NE(output.find(c.said), std::string::npos) << output;
    EXPECT_TRUE(c.status != 2 || !fs::exists(out));
    // What a full disk still holds is whole.
    EXPECT_TRUE(c.fileLimit == 0 || ReadText(fs::path(out) / "0.png") ==
                                        std::string(image.begin() + 4096, image.begin() + kMiB));
    fs::remove_all(out);
  }
}

}  // namespace
}  // namespace velkor::test
