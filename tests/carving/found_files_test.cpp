// The found-files rows and the saving of carved files out of the image.
#include "carving/found_files.h"

#include <limits>

#include "engine/text_format.h"
#include "tests/carving/carving_test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

Bytes Slice(const Bytes& image, uint64_t offset, uint64_t length) {
  if (offset >= image.size()) return {};
  const uint64_t end = length > image.size() - offset ? image.size() : offset + length;
  return Bytes(image.begin() + static_cast<std::ptrdiff_t>(offset),
               image.begin() + static_cast<std::ptrdiff_t>(end));
}

TEST(FoundFileRows, NamesNumberTheRowsWithTheExtensionOfTheKind) {
  CarvedFileStore store;
  store[9000] = CarvedFile{9000, 0x20, 104857600};
  store[0] = CarvedFile{0, 0x02, 4096};
  store[4096] = CarvedFile{4096, 0x01, 4904};
  store[18446744073709551615u] = CarvedFile{18446744073709551615u, 0x40, 1};  // no format
  const std::vector<RowTexts> expected = {
      {u"0.png", u"0", u"4096"},
      {u"1.jpg", u"4096", u"4904"},
      {u"2.gif", u"9000", u"104857600"},
      {u"3", u"18446744073709551615", u"1"},
  };
  EXPECT_EQ(FoundFileRows(FoundFiles(store, kModePictures)), expected);
  EXPECT_TRUE(FoundFiles({}, kModeVideos).empty());
}

TEST(FoundFileRows, ExtensionsByKindAndMode) {
  const struct {
    uint32_t kind;
    const char16_t* picture;
    const char16_t* video;
  } table[] = {
      {0x01, u"7.jpg", u"7.mp4"}, {0x02, u"7.png", u"7.mov"}, {0x04, u"7.psd", u"7.avi"},
      {0x08, u"7.tif", u"7.amr"}, {0x10, u"7.bmp", u"7.mpg"}, {0x20, u"7.gif", u"7.mts"},
  };
  for (const auto& row : table) {
    EXPECT_EQ(FoundFileName(7, row.kind, kModePictures), row.picture);
    EXPECT_EQ(FoundFileName(7, row.kind, kModeVideos), row.video);
  }
}

TEST(CopyImageRange, CopiesUpToTheImageEnd) {
  const Bytes image = FillerImage(2 * kMiB + 300);
  constexpr uint64_t kMax64 = std::numeric_limits<uint64_t>::max();
  const struct {
    uint64_t offset;
    uint64_t length;
  } cases[] = {
      {0, 0},
      {5, 1},
      {0, kMiB},
      {7, 2 * kMiB + 3},
      {2 * kMiB, 300},
      {2 * kMiB, 301},
      {2 * kMiB + 299, kMax64},  // ends with the image
      {2 * kMiB + 300, 10},
      {kMax64 - 5, 100},  // nothing to copy
  };
  for (const auto& c : cases) {
    MemoryImageSource source(image);
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(CopyImageRange(out, source, c.offset, c.length));
    const auto size = static_cast<size_t>(std::ftell(out));
    Bytes written(size);
    std::rewind(out);
    EXPECT_EQ(std::fread(written.data(), 1, size, out), size);
    std::fclose(out);
    EXPECT_EQ(written, Slice(image, c.offset, c.length)) << c.offset << " " << c.length;
  }
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

TEST_F(CarvedFileSave, WritesEntriesAsTheirImageRanges) {
  const std::vector<FoundFile> files = {
      Entry(u"0.jpg", 0, 4096), Entry(u"2.bmp", 100, 0),  // empty file
      Entry(u"3.gif", 12288, 2621440),                    // several chunks
      Entry(u"4.tif", 3141632, 104857600),                // past the image end
  };
  for (const fs::path& folder : {out.path, fs::path(out.path.string() + "/")}) {
    recorder = Recorder();
    EXPECT_EQ(Save(files, folder), (std::vector<size_t>{0, 1, 2, 3}));
    EXPECT_EQ(ReadBytes(out.path / "0.jpg"), Slice(image, 0, 4096));
    EXPECT_TRUE(fs::exists(out.path / "2.bmp"));
    EXPECT_EQ(fs::file_size(out.path / "2.bmp"), 0u);
    EXPECT_EQ(ReadBytes(out.path / "3.gif"), Slice(image, 12288, 2621440));
    EXPECT_EQ(ReadBytes(out.path / "4.tif"), Slice(image, 3141632, 3 * kMiB - 3141632));
    EXPECT_TRUE(recorder.logs.empty());
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"range 4", "pos 0", "pos 1", "pos 2", "pos 3"}));
  }
}

// A file that cannot be created and a name that would leave the folder are
// each reported; the other rows are saved.
TEST_F(CarvedFileSave, FailuresAreReportedAndDoNotStopTheOthers) {
  fs::create_directory(out.path / "1.png");  // cannot be created as a file
  const std::vector<FoundFile> files = {
      Entry(u"0.jpg", 0, 10),  Entry(u"1.png", 10, 10),      Entry(u"../2.gif", 20, 10),
      Entry(u"3.mp4", 30, 10), Entry(u"a/b.jpg", 40, 10),    Entry(u"..", 50, 10),
      Entry(u"", 60, 10),      Entry(u"sub\\7.jpg", 70, 10), Entry(u"8.jpg", 80, 10),
  };
  EXPECT_EQ(Save(files, out.path), (std::vector<size_t>{0, 3, 8}));
  EXPECT_EQ(ReadBytes(out.path / "8.jpg"), Slice(image, 80, 10));
  EXPECT_FALSE(fs::exists(out.path.parent_path() / "2.gif"));
  EXPECT_FALSE(fs::exists(out.path / "a"));

  std::vector<std::string> expected;
  for (const char* name : {"1.png", "../2.gif", "a/b.jpg", "..", "", "sub\\7.jpg"}) {
    expected.push_back("3 Save 保存" + out.path.string() + "/" + name + "失败");
  }
  EXPECT_EQ(recorder.logs, expected);
}

// The progress event of each row comes just before the row is saved: the
// output folder vanishes (moved or removed) between two files.
TEST_F(CarvedFileSave, AFolderThatVanishesFailsTheRestAndIsNotRecreated) {
  const std::vector<FoundFile> files = {Entry(u"0.jpg", 0, 5000), Entry(u"1.jpg", 100, 2 * kMiB),
                                        Entry(u"2.jpg", 200, 3000), Entry(u"3.jpg", 300, 1)};
  const fs::path folder = out.path / "found";
  const fs::path moved = out.path / "moved";
  for (const bool remove : {false, true}) {
    fs::create_directories(folder);
    recorder = Recorder();
    recorder.onEvent = [&](const std::string& event) {
      if (event != "pos 2") return;
      remove ? static_cast<void>(fs::remove_all(folder)) : fs::rename(folder, moved);
    };
    EXPECT_EQ(Save(files, folder), (std::vector<size_t>{0, 1})) << remove;
    EXPECT_FALSE(fs::exists(folder)) << remove;
    if (!remove) {
      EXPECT_EQ(ReadBytes(moved / "1.jpg"), Slice(image, 100, 2 * kMiB));
    }
    const std::string failed = "3 Save 保存" + folder.string();
    EXPECT_EQ(recorder.logs,
              (std::vector<std::string>{failed + "/2.jpg失败", failed + "/3.jpg失败"}));
  }
}

TEST_F(CarvedFileSave, ImageThatCannotBeOpenedSavesNothing) {
  input.imagePath = "/images/gone.img";
  input.imageOpener = [](const fs::path&) { return std::unique_ptr<ImageSource>(); };
  const auto written = Save({Entry(u"0.jpg", 0, 10)}, out.path);
  EXPECT_TRUE(written.empty());
  EXPECT_TRUE(fs::is_empty(out.path));
  EXPECT_EQ(recorder.logs, std::vector<std::string>{"3 Error 打開/創建設備/images/gone.img失敗"});
}

TEST_F(CarvedFileSave, EmptyFolderTextIsRefused) {
  EXPECT_TRUE(Save({Entry(u"0.jpg", 0, 10)}, fs::path()).empty());
  EXPECT_EQ(recorder.logs, std::vector<std::string>{"3 Save 保存/0.jpg失败"});
}

}  // namespace
}  // namespace velkor::test
