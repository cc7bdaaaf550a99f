// velkor-fuzz-seeds DIR: writes the starting corpus of every fuzz target into
// DIR/<target>/, made from the test fixtures: cells, pages and rows of real
// SQLite databases, the headers of real picture and video files, and dialog field texts.
// Nothing of it is kept in the repository; scripts/fuzz makes it anew.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/text_codec.h"
#include "tests/carving/media_headers.h"
#include "tests/fixtures/fixture_sets.h"
#include "tests/support/test_doubles.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using velkor::fixtures::FixtureDatabase;

class SeedWriter {
 public:
  SeedWriter(fs::path root, std::string target) : folder_(std::move(root) / std::move(target)) {
    fs::create_directories(folder_);
  }
  void Write(const Bytes& bytes) {
    velkor::test::WriteBytes(folder_ / ("seed-" + std::to_string(count_++)), bytes);
  }

 private:
  fs::path folder_;
  int count_ = 0;
};

Bytes Join(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

Bytes Utf16(std::u16string_view text) {
  const std::string bytes = velkor::Utf16LeBytes(text, false);
  return Bytes(bytes.begin(), bytes.end());
}

// Pieces of each database file that hold cells: its pages, up to a few per
// file, of the given size.
std::vector<Bytes> Pages(const std::vector<FixtureDatabase>& databases, size_t pageSize,
                         size_t perFile) {
  std::vector<Bytes> pages;
  for (const FixtureDatabase& database : databases) {
    for (const auto& file : database.files) {
      for (size_t at = 0, n = 0; at < file.bytes.size() && n < perFile; at += pageSize, ++n) {
        const size_t end = std::min(file.bytes.size(), at + pageSize);
        pages.emplace_back(file.bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           file.bytes.begin() + static_cast<std::ptrdiff_t>(end));
      }
    }
  }
  return pages;
}

void RecordSeeds(const fs::path& root, const std::vector<FixtureDatabase>& android,
                 const std::vector<FixtureDatabase>& ios) {
  SeedWriter cells(root, "cell_test"), walk(root, "window_walk"), scan(root, "scan_records"),
      text(root, "text_conversion");
  for (const auto* set : {&android, &ios}) {
    for (const FixtureDatabase& database : *set) {
      for (const auto& row : database.rows) {
        if (&row - database.rows.data() < 6) cells.Write(row.cell);
        if (!row.message.content.empty()) {
          text.Write(Bytes(row.message.content.begin(), row.message.content.end()));
        }
      }
    }
  }
  const uint8_t kAndroid = 0, kIos = 1, kItunes = 2;
  for (const Bytes& page : Pages(android, 4096, 3)) {
    cells.Write(page);
    walk.Write(Join({kAndroid}, page));
    // Plain, then straddling a window end with short reads, then failing.
    scan.Write(Join({kAndroid, 0, 0, 0, 0}, page));
    scan.Write(Join({kAndroid | 0x04 | 0x08, 0, 0, 0x08, 0, 200}, page));
  }
  for (const Bytes& page : Pages(ios, 4096, 3)) {
    walk.Write(Join({kIos}, page));
    walk.Write(Join({kItunes}, page));
    scan.Write(Join({kIos | 0x04, 0, 0, 0x07, 0}, page));
    scan.Write(Join({kItunes | 0x10, 0, 0, 0, 0, 0, 0, 0x10, 0}, page));
  }
  text.Write(Bytes{'a', 'b', 0, 'c'});
  text.Write(Bytes{0xFF, 0xFE, 0xE4, 0xB8, 0xAD, 0xF0, 0x9F, 0x98, 0x80, 0xED, 0xA0, 0x80});
}

// Pages of databases that lost every third row without secure delete: their
// freed cells start with freeblock headers.
void FreeblockSeeds(const fs::path& root, const std::vector<FixtureDatabase>& freed) {
  SeedWriter seeds(root, "freeblock_rebuild");
  for (const Bytes& page : Pages(freed, 4096, 4)) seeds.Write(Join({0}, page));
}

// Each real header alone, then all of a mode's headers on a 16- or 32-byte grid.
void MediaSeeds(const fs::path& root) {
  SeedWriter media(root, "media_blocks");
  // flags, format mask, block size, file size (one byte), base (sectors).
  const Bytes pictureHead = {0x00, 0, 0, 0, 0x3F, 0, 0, 0, 15, 200, 0, 0, 0, 8};
  const Bytes videoHead = {0x01, 0, 0, 0, 0x3F, 0, 0, 0, 31, 100, 0, 0x80, 0, 0};
  for (uint32_t mode : {velkor::kModePictures, velkor::kModeVideos}) {
    const Bytes& head = mode == velkor::kModeVideos ? videoHead : pictureHead;
    const size_t grid = mode == velkor::kModeVideos ? 32 : 16;
    Bytes all;
    for (const velkor::test::MediaHeader& header : velkor::test::kMediaHeaders) {
      if (header.mode != mode) continue;
      const Bytes file = velkor::test::HeaderBytes(header.name);
      media.Write(Join(head, file));
      all.insert(all.end(), file.begin(), file.end());
      all.resize((all.size() + grid - 1) / grid * grid, 0);
    }
    media.Write(Join(head, all));
  }
}

void ParamSeeds(const fs::path& root) {
  SeedWriter params(root, "scan_params");
  // image length (8 bytes), mode, format mask (4 bytes), column count.
  const Bytes head = {0, 0, 0, 1, 0, 0, 0x10, 0, 0, 0, 0, 0, 0x3F, 5};
  for (std::u16string_view fields :
       {u"0|8388608|4096|104857600", u"16|100|512|1048576\n索引|电话号码|状态|时间|内容",
        u"18446744073709551615|1|4096|1", u"12x|0034|2147483648|99999999999999999999999",
        u"|||\n\r\n|\t|"}) {
    params.Write(Join(head, Utf16(fields)));
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
  try {
    using namespace velkor::fixtures;
    const auto android = BuildAndroidSet(work / "android", 12, Deletion{JournalMode::kPersist});
    const std::vector<FixtureDatabase> ios = {BuildDatabase(IosAddressBook(), work / "ios"),
                                              BuildDatabase(IosMessages(12), work / "ios")};
    RecordSeeds(root, android, ios);
    FreeblockSeeds(root,
                   BuildAndroidSet(work / "freed", 40, Deletion{JournalMode::kDelete, false, 3}));
    MediaSeeds(root);
    ParamSeeds(root);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velkor-fuzz-seeds: %s\n", e.what());
    fs::remove_all(work);
    return 1;
  }
  fs::remove_all(work);
  return 0;
}
