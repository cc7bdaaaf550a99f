// Images larger than 4 GiB with records past the 4 GiB mark. The image is a
// sparse file (or a source that serves the holes as zeros), so the test
// writes only the databases; the scan still reads every byte.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace velkor::e2e {
namespace {

constexpr uint64_t kFourGiB = 4 * kGiB;

class SparseImage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new std::filesystem::path(FreshFolder("sparse"));
    databases_ = new std::vector<FixtureDatabase>(BuildAndroidSet(*folder_ / "db", 12));
    image_ = new ImageBuilder(kFourGiB + 6 * kMiB + 333, Filler::kZeros);
    // One database below the mark, the others beyond it, one on each side of
    // the 32-bit offset wrap within a window.
    image_->PlaceDatabase(kFourGiB - 3 * kMiB + 4096, (*databases_)[0]);
    image_->PlaceDatabase(kFourGiB + 4096, (*databases_)[1]);
    image_->PlaceDatabase(kFourGiB + kMiB + 4097, (*databases_)[2]);
    image_->PlaceDatabase(kFourGiB + 3 * kMiB + 17, (*databases_)[3]);
    image_->PlaceDatabase(kFourGiB + 5 * kMiB + 512, (*databases_)[4]);
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(*folder_);
    delete image_;
    delete databases_;
    delete folder_;
  }

  static void ExpectExactStores(const Scan& scan) {
    EXPECT_TRUE(scan.log.entries.empty());
    EXPECT_EQ(scan.result.imageSize, image_->Size());
    EXPECT_GT(ExpectRowsFound(scan.stores, *image_, *databases_), 100u);
    const ExpectedStores expected =
        StoresFrom(OccurrencesInScanOrder(*image_, *databases_, kPlatformAndroid));
    ExpectListsShow(scan.stores, expected, false);
  }

  static std::filesystem::path* folder_;
  static std::vector<FixtureDatabase>* databases_;
  static ImageBuilder* image_;
};

std::filesystem::path* SparseImage::folder_ = nullptr;
std::vector<FixtureDatabase>* SparseImage::databases_ = nullptr;
ImageBuilder* SparseImage::image_ = nullptr;

TEST_F(SparseImage, RecordsBeyondFourGiBAreFoundThroughASource) {
  auto scan = RunScan(*folder_ / "big.img", kPlatformAndroid,
                      [](const std::filesystem::path&) { return image_->Source(); });
  ExpectExactStores(*scan);
}

TEST_F(SparseImage, RecordsBeyondFourGiBAreFoundInASparseFile) {
  const auto path = *folder_ / "big.img";
  image_->WriteFile(path);
  auto scan = RunScan(path, kPlatformAndroid);
  ExpectExactStores(*scan);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace velkor::e2e
