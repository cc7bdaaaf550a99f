// The pictures and videos commands, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/carving/carving_test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class MediaCommand : public ::testing::Test {
 protected:
  MediaCommand() {
    image = FillerImage(2 * kMiB + 4096);
    Place(image, 4096, MakePng(8, 8));
    Place(image, kMiB, MakeJfif());
    Place(image, kMiB + 8192, MakeMov());
    Place(image, 2 * kMiB, MakeMp4());
    std::ofstream(folder / "phone.img", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
  }
  Outcome Run(const std::string& args) {
    const std::string command = std::string("'") + VELKOR_BINARY + "' " + args + " >'" +
                                (folder / "stdout").string() + "' 2>'" +
                                (folder / "stderr").string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(folder / "stdout"),
            ReadText(folder / "stderr")};
  }

  std::string Image() const { return "'" + (folder / "phone.img").string() + "'"; }

  TempFolder temp;
  const fs::path& folder = temp.path;
  Bytes image;
};

TEST_F(MediaCommand, ListsFoundFilesAndSavesThem) {
  const Outcome result =
      Run("pictures " + Image() + " --formats all --out '" + (folder / "found").string() + "'");
  ASSERT_EQ(result.status, 0) << result.err;
  // The JPEG's length is the distance to the next hit; the last one keeps
  // the default maximum.
  EXPECT_EQ(result.out, "0.png\t4096\t1044480\n1.jpg\t1048576\t104857600\n");
  const std::string bytes(image.begin(), image.end());
  EXPECT_EQ(ReadText(folder / "found" / "0.png"), bytes.substr(4096, 1044480));
  EXPECT_EQ(ReadText(folder / "found" / "1.jpg"), bytes.substr(kMiB));  // to the image end
}

TEST_F(MediaCommand, FormatsAndRangeOptions) {
  const struct {
    std::string args;
    std::string out;
  } cases[] = {
      {"pictures " + Image(), "0.jpg\t1048576\t104857600\n"},  // JPG alone by default
      {"pictures " + Image() + " --formats png,jpg --max-size 1000",
       "0.png\t4096\t1000\n1.jpg\t1048576\t1000\n"},
      {"pictures " + Image() + " --start 2048 --sectors 8", "0.jpg\t1048576\t104857600\n"},
      {"pictures " + Image() + " --start 2056 --sectors 2048", ""},
      {"videos " + Image(), "0.mp4\t2097152\t104857600\n"},  // MP4 alone by default
      {"videos " + Image() + " --formats all",
       "0.mov\t1056768\t1040384\n1.mp4\t2097152\t104857600\n"},
      {"videos " + Image() + " --formats mov --block 1 --max-size 18446744073709551615",
       "0.mov\t1056768\t18446744073709551615\n"},
      {"videos " + Image() + " --formats mpg", ""},
  };
  for (const auto& c : cases) {
    const Outcome result = Run(c.args);
    EXPECT_EQ(result.status, 0) << c.args << "\n" << result.err;
    EXPECT_EQ(result.out, c.out) << c.args;
  }
}

TEST_F(MediaCommand, RefusesBadOptionsAndInvalidParameters) {
  const struct {
    std::string args;
    const char* message;
  } cases[] = {
      {"pictures " + Image() + " --sectors 4105", "填写参数错误"},  // one past the image
      {"pictures " + Image() + " --start 1 --sectors 4104", "填写参数错误"},
      {"pictures " + Image() + " --block 0", "填写参数错误"},
      {"videos " + Image() + " --max-size 0", "填写参数错误"},
      {"pictures " + Image() + " --sectors 0", "填写参数错误"},
      {"pictures " + Image() + " --start 36028797018963968", "填写参数错误"},  // 2^64 bytes
      {"pictures " + Image() + " --sectors 99999999999999999999999", "填写参数错误"},
      {"pictures " + Image() + " --block 12k", "--help"},
      {"pictures " + Image() + " --start -1", "--help"},
      {"pictures " + Image() + " --formats mp4", "--help"},  // not a picture format
      {"videos " + Image() + " --formats mp4,", "--help"},
      {"videos " + Image() + " --frames 3", "--help"},
      {"videos " + Image() + " --out", "--help"},
      {"videos " + Image() + " " + Image(), "--help"},
      {"videos", "--help"},
  };
  for (const auto& c : cases) {
    const Outcome result = Run(c.args);
    EXPECT_EQ(result.status, 2) << c.args;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.args << "\n" << result.err;
    EXPECT_EQ(result.out, "") << c.args;
  }
}

TEST_F(MediaCommand, FailuresToOpenOrSaveEndWithStatus1) {
  const Outcome folderImage = Run("pictures '" + folder.string() + "'");
  EXPECT_EQ(folderImage.status, 1);
  EXPECT_NE(folderImage.err.find("[error] 打開/創建設備" + folder.string() + "失敗"),
            std::string::npos)
      << folderImage.err;

  const Outcome outIsFile = Run("pictures " + Image() + " --out " + Image());
  EXPECT_EQ(outIsFile.status, 1);

  // One file cannot be created; the other is still saved.
  fs::create_directories(folder / "found" / "0.png");
  const Outcome partly =
      Run("pictures " + Image() + " --formats all --out '" + (folder / "found").string() + "'");
  EXPECT_EQ(partly.status, 1);
  EXPECT_NE(partly.err.find("[Save] 保存" + (folder / "found" / "0.png").string() + "失败"),
            std::string::npos)
      << partly.err;
  EXPECT_EQ(fs::file_size(folder / "found" / "1.jpg"), image.size() - kMiB);
}

}  // namespace
}  // namespace velkor::test
