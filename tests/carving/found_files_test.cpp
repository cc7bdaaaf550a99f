// The saving of carved files out of the image: ranges, hostile names, storage
// that fails. The rows' names are pinned by the command's found-file lines.
#include "carving/found_files.h"

#include <limits>

#include "tests/carving/carving_test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

Bytes Slice(const Bytes& image, uint64_t offset, uint64_t length) {
  const uint64_t from = std::min<uint64_t>(offset, image.size());
  const uint64_t to = from + std::min<uint64_t>(length, image.size() - from);
  return Bytes(image.begin() + static_cast<std::ptrdiff_t>(from),
               image.begin() + static_cast<std::ptrdiff_t>(to));
}

FoundFile Entry(std::u16string name, uint64_t offset, uint64_t length) {
  return {std::move(name), CarvedFile{offset, 0x01, length}};
}

class CarvedFileSave : public ::testing::Test {
 protected:
  CarvedFileSave() : image(FillerImage(3 * kMiB)) {
    input.imagePath = "/images/phone.img";
    input.imageOpener = MemoryOpener(image);
    input.log = &recorder;
    input.progress = &recorder;
  }

  std::vector<size_t> Save(const std::vector<FoundFile>& files, const fs::path& folder) {
    return SaveCarvedFiles(input, files, folder);
  }

  Bytes image;
  ScanInput input;
  TempFolder out;
  Recorder recorder;
};

// Each row is saved as its image range up to the image end; a file that cannot
// be created or a name that would leave the folder is reported, the rest saved.
TEST_F(CarvedFileSave, RowsAreTheirImageRangesAndFailuresStopNoOthers) {
  constexpr uint64_t kMax64 = std::numeric_limits<uint64_t>::max();
  fs::create_directory(out.path / "1.png");  // cannot be created as a file
  // Row 3 takes several chunks; rows 8, 10 and 11 run past the image end.
  const std::vector<FoundFile> files = {Entry(u"0.jpg", 0, 4096),
                                        Entry(u"1.png", 10, 10),
                                        Entry(u"../2.gif", 20, 10),
                                        Entry(u"3.gif", 12288, 2621440),
                                        Entry(u"a/b.jpg", 40, 10),
                                        Entry(u"..", 50, 10),
                                        Entry(u"", 60, 10),
                                        Entry(u"sub\\7.jpg", 70, 10),
                                        Entry(u"8.tif", 3141632, 104857600),
                                        Entry(u"9.bmp", 100, 0),
                                        Entry(u"10.bmp", 3 * kMiB - 1, kMax64),
                                        Entry(u"11.bmp", kMax64 - 5, 9)};
  EXPECT_EQ(Save(files, out.path), (std::vector<size_t>{0, 3, 8, 9, 10, 11}));
  for (const size_t row : {0, 3, 8, 9, 10, 11}) {
    const CarvedFile& file = files[row].file;
    EXPECT_EQ(ReadBytes(out.path / fs::path(files[row].name)),
              Slice(image, file.offset, file.length));
  }
  EXPECT_FALSE(fs::exists(out.path.parent_path() / "2.gif"));
  EXPECT_FALSE(fs::exists(out.path / "a"));
  std::vector<std::string> logs;
  for (const char* name : {"1.png", "../2.gif", "a/b.jpg", "..", "", "sub\\7.jpg"})
    logs.push_back("3 Save 保存" + out.path.string() + char(fs::path::preferred_separator) + name +
                   "失败");
  EXPECT_EQ(recorder.logs, logs);
  std::vector<std::string> events = {"range 12"};
  for (int row = 0; row < 12; ++row) events.push_back("pos " + std::to_string(row));
  EXPECT_EQ(recorder.events, events);
}

}  // namespace
}  // namespace velkor::test
