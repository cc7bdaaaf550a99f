// Pictures past the 4 GiB mark of a sparse image: offsets that do not fit 32
// bits are listed, named and copied out exactly, and a scan that starts past
// the mark reads only its range.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/carving/carving_test_support.h"
#include "tests/e2e/e2e_support.h"
#include "tests/faults/fault_support.h"

namespace velkor::faults {
namespace {

namespace fs = std::filesystem;
using namespace velkor::e2e;

constexpr uint64_t kFourGiB = 4 * kGiB;

TEST(BigImage, PicturesAroundAndBeyondFourGiB) {
  const fs::path folder = FreshFolder("big-pictures");
  ImageBuilder image(kFourGiB + 8 * kMiB, Filler::kZeros);
  const uint64_t png = kFourGiB - 4096, jpg = kFourGiB + 4096, gif = kFourGiB + 5 * kMiB + 512;
  image.Place(png, "png", test::MakePng(8, 8));
  image.Place(jpg, "jpg", test::MakeJfif());
  image.Place(gif, "gif", test::MakeGif("87a"));
  const fs::path path = folder / "big.img";
  image.WriteFile(path);

  // Starting one window before the mark, to the image's end.
  std::string output;
  const uint64_t start = (kFourGiB - kMiB) / 512;
  const fs::path out = folder / "found";
  ASSERT_EQ(RunVelkor({"pictures", path, "--start", std::to_string(start), "--sectors",
                       std::to_string(9 * kMiB / 512), "--block", "512", "--formats", "all",
                       "--out", out},
                      output),
            0)
      << output;
  std::ostringstream listed;
  listed << "0.png\t" << png << "\t" << jpg - png << "\n"
         << "1.jpg\t" << jpg << "\t" << gif - jpg << "\n"
         << "2.gif\t" << gif << "\t" << 104857600 << "\n";
  EXPECT_NE(output.find(listed.str()), std::string::npos) << output;

  const struct {
    const char* name;
    uint64_t offset;
    uint64_t length;
  } saved[] = {
      {"0.png", png, jpg - png}, {"1.jpg", jpg, gif - jpg}, {"2.gif", gif, image.Size() - gif}};
  EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"0.png", "1.jpg", "2.gif"}));
  for (const auto& file : saved) {
    std::vector<uint8_t> expected(file.length);
    image.ReadRange(file.offset, expected.data(), expected.size());
    EXPECT_EQ(ReadBytes(out / file.name), expected) << file.name;
  }

  // Only the range is read: a source that fails every read before the start
  // does not stop a scan that begins past the mark.
  test::RecordingLog log;
  ScanInput input;
  input.log = &log;
  input.imagePath = path;
  input.imageOpener = FaultyOpener(OpenImageFile, {0, kFourGiB + kMiB, 0, {}});
  CarvedFileStore found;
  ScanPictures(
      input, {kModePictures, (kFourGiB + kMiB) / 512, 7 * kMiB / 512, 104857600, 512, 0x3F}, found);
  EXPECT_TRUE(log.entries.empty());
  EXPECT_EQ(test::Listed(found), (std::vector<test::Found>{{gif, 0x20, 104857600}}));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace velkor::faults
