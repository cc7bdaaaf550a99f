// A record scan of a fixture image gives the same stores, progress events
// and log lines whatever the thread count and whichever cell test runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/engine/scan_snapshot.h"
#include "tests/fixtures/sample_image.h"

namespace velkor {
namespace {

std::vector<std::string> ScanFile(const std::filesystem::path& image, uint32_t threads, bool fast,
                                  int stopAfterSteps) {
  ScanInput input;
  input.imagePath = image;
  return ScanSnapshot(input, {kTypeSms, threads, fast}, stopAfterSteps);
}

TEST(ThreadCount, SampleImageScansAlikeOnAnyNumberOfThreads) {
  const auto work = std::filesystem::path(::testing::TempDir()) /
                    ("velkor-threads-" + std::to_string(::getpid()));
  std::filesystem::create_directories(work);
  const fixtures::SampleImage sample = fixtures::MakeSampleImage(work / "databases");
  const std::filesystem::path image = work / "sample.img";
  sample.image.WriteFile(image);

  for (int stop : {-1, 3}) {
    const std::vector<std::string> reference = ScanFile(image, 1, false, stop);
    ASSERT_GT(reference.size(), 100u);  // the sample holds hundreds of rows
    for (uint32_t threads : {1u, 2u, 4u, 7u}) {
      EXPECT_EQ(ScanFile(image, threads, true, stop), reference)
          << threads << " threads, stop after " << stop;
    }
  }
  std::filesystem::remove_all(work);
}

}  // namespace
}  // namespace velkor
