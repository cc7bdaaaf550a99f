// velkor-fuzz-seeds DIR: writes the starting corpus of every fuzz target into
// DIR/<target>/: pages of the sample image's Android databases and of iOS
// ones, the headers of real picture and video files, and dialog field texts.
// Nothing of it is kept in the repository; scripts/fuzz makes it anew.
#include <cstdio>
#include <exception>

#include <unistd.h>

#include "engine/text_codec.h"
#include "tests/carving/media_headers.h"
#include "tests/fixtures/fixture_sets.h"
#include "tests/fixtures/sample_image.h"
#include "tests/support/test_doubles.h"

namespace {

namespace fs = std::filesystem;
using velkor::test::Bytes;

// Writes option bytes followed by body as the next seed of target.
void Seed(const fs::path& root, const std::string& target, Bytes options, const Bytes& body) {
  static int count = 0;
  fs::create_directories(root / target);
  options.insert(options.end(), body.begin(), body.end());
  velkor::test::WriteBytes(root / target / ("seed-" + std::to_string(count++)), options);
}

// The first pages of a file, with the options that scan them plain or
// straddling a window end with short reads and a failure.
void PageSeeds(const fs::path& root, const Bytes& file, uint8_t platform) {
  for (size_t at = 0; at < file.size() && at < 3 * 4096; at += 4096) {
    const Bytes page(file.begin() + long(at),
                     file.begin() + long(std::min(at + 4096, file.size())));
    Seed(root, "cell_test", {}, page);
    Seed(root, "text_conversion", {}, page);
    Seed(root, "window_walk", {platform}, page);
    Seed(root, "freeblock_rebuild", {platform}, page);
    Seed(root, "scan_records", {platform, 0, 0, 0, 0}, page);
    Seed(root, "scan_records", {uint8_t(platform | 0x1C), 0, 0, 8, 0, 200, 0, 0, 0x10, 0}, page);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velkor-fuzz-seeds DIR\n");
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path work = fs::temp_directory_path() / ("velkor-seeds-" + std::to_string(getpid()));
  int status = 0;
  try {
    using namespace velkor::fixtures;
    for (const FixtureDatabase& database : MakeSampleImage(work).databases) {
      for (const auto& file : database.files) PageSeeds(root, file.bytes, 0);
    }
    for (const DatabasePlan& plan : {IosAddressBook(), IosMessages(12)}) {
      for (const auto& file : BuildDatabase(plan, work).files) PageSeeds(root, file.bytes, 1);
    }
    // Each real header after the options (flags, format mask, block size,
    // file size, base in sectors).
    for (const velkor::test::MediaHeader& header : velkor::test::kMediaHeaders) {
      const uint8_t video = header.mode == velkor::kModeVideos;
      Seed(root, "media_blocks", {video, 0, 0, 0, 0x3F, 0, 0, 0, 15, 200, 0, 0, 0, 8},
           velkor::test::HeaderBytes(header.name));
      Seed(root, "structure_walk", {0x10, 0}, velkor::test::HeaderBytes(header.name));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velkor-fuzz-seeds: %s\n", e.what());
    status = 1;
  }
  fs::remove_all(work);
  return status;
}
