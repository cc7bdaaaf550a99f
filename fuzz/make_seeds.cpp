// velkor-fuzz-seeds DIR: writes the starting corpus of every fuzz target into
// DIR/<target>/, made from the test fixtures: rows and pages of real SQLite
// databases, the headers of real picture and video files, dialog field texts.
// Nothing of it is kept in the repository; scripts/fuzz makes it anew.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "engine/text_codec.h"
#include "tests/carving/media_headers.h"
#include "tests/fixtures/fixture_sets.h"
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

// Each database's rows, and the first pages of its files with the options
// that scan them plain, straddling a window end with short reads, or failing.
void RecordSeeds(const fs::path& root, const std::vector<velkor::fixtures::FixtureDatabase>& set,
                 uint8_t platform) {
  for (const auto& database : set) {
    for (const auto& row : database.rows) {
      Seed(root, "cell_test", {}, row.cell);
      const std::string& text = row.message.content;
      if (!text.empty()) Seed(root, "text_conversion", {}, Bytes(text.begin(), text.end()));
    }
    for (const auto& file : database.files) {
      for (size_t at = 0; at < file.bytes.size() && at < 3 * 4096; at += 4096) {
        const Bytes page(file.bytes.begin() + long(at),
                         file.bytes.begin() + long(std::min(at + 4096, file.bytes.size())));
        Seed(root, "window_walk", {platform}, page);
        Seed(root, "scan_records", {platform, 0, 0, 0, 0}, page);
        Seed(root, "scan_records", {uint8_t(platform | 0x1C), 0, 0, 0x08, 0, 200, 0, 0, 0x10, 0},
             page);
      }
    }
  }
}

// All of a mode's headers on a 16- or 32-byte grid, after the options
// (flags, format mask, block size, file size, base in sectors).
void MediaSeeds(const fs::path& root) {
  for (const uint32_t mode : {velkor::kModePictures, velkor::kModeVideos}) {
    const uint8_t grid = mode == velkor::kModeVideos ? 32 : 16;
    Bytes all;
    for (const velkor::test::MediaHeader& header : velkor::test::kMediaHeaders) {
      if (header.mode != mode) continue;
      const Bytes file = velkor::test::HeaderBytes(header.name);
      all.insert(all.end(), file.begin(), file.end());
      all.resize((all.size() + grid - 1) / grid * grid, 0);
    }
    Seed(root, "media_blocks", {uint8_t(mode == velkor::kModeVideos), 0, 0, 0, 0x3F, 0, 0, 0,
                                uint8_t(grid - 1), 200, 0, 0, 0, 8}, all);
  }
}

// Options (image length, mode, format mask), then the fields.
void ParamSeeds(const fs::path& root) {
  for (const std::u16string_view fields :
       {u"0|8388608|4096|104857600", u"16|100|512|1048576",
        u"18446744073709551615|1|4096|1", u"12x|0034|2147483648|99999999999999999999999"}) {
    const std::string units = velkor::Utf16LeBytes(fields, false);
    Seed(root, "scan_params", {0, 0, 0, 1, 0, 0, 0x10, 0, 0, 0, 0, 0, 0x3F},
         Bytes(units.begin(), units.end()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velkor-fuzz-seeds DIR\n");
    return 2;
  }
  const fs::path work = fs::temp_directory_path() / ("velkor-seeds-" + std::to_string(getpid()));
  int status = 0;
  try {
    using namespace velkor::fixtures;
    RecordSeeds(argv[1], BuildAndroidSet(work / "a", 12, Deletion{JournalMode::kPersist}), 0);
    RecordSeeds(argv[1], {BuildDatabase(IosAddressBook(), work), BuildDatabase(IosMessages(12), work)},
                1);
    MediaSeeds(argv[1]);
    ParamSeeds(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velkor-fuzz-seeds: %s\n", e.what());
    status = 1;
  }
  fs::remove_all(work);
  return status;
}
