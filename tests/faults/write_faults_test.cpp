// Output that cannot be written: a disk that fills up before or during a
// save (a file size limit makes the kernel refuse the bytes past it, as a
// full disk does; /dev/full refuses every byte), and an output folder that is
// removed or moved while carved files are saved. Each failed file is
// reported with its path and left nowhere; every other file is saved whole.
#include <gtest/gtest.h>

#include <algorithm>

#include "carving/found_files.h"
#include "engine/text_format.h"
#include "tests/carving/carving_test_support.h"
#include "tests/e2e/e2e_support.h"
#include "tests/faults/fault_support.h"

namespace velkor::faults {
namespace {

namespace fs = std::filesystem;
using e2e::FreshFolder;
using e2e::Utf8;

std::vector<std::string> Texts(const std::vector<LogEntry>& entries) {
  std::vector<std::string> out;
  for (const LogEntry& e : entries) {
    out.push_back(std::to_string(e.level) + " " + Utf8(e.title) + " " + Utf8(e.text));
  }
  return out;
}

class CarvedSaveFaults : public ::testing::Test {
 protected:
  CarvedSaveFaults() : image(test::FillerImage(3 * test::kMiB)), folder(FreshFolder("save")) {}
  ~CarvedSaveFaults() override { fs::remove_all(folder); }

  std::vector<size_t> Save(const std::vector<FoundFile>& files) {
    ScanInput input;
    input.imagePath = "/images/phone.img";
    input.imageOpener = test::MemoryOpener(image);
    input.log = &log;
    input.progress = &progress;
    return SaveCarvedFiles(input, files, folder);
  }
  // Each row's file holds exactly its range, or does not exist and is
  // reported; rows are named "<row>.jpg" and hold (offset, length).
  void ExpectSaved(const std::vector<std::pair<uint64_t, uint64_t>>& ranges,
                   const std::vector<size_t>& written, const fs::path& where) {
    std::vector<std::string> failed;
    for (size_t i = 0; i < ranges.size(); ++i) {
      const fs::path path = where / (std::to_string(i) + ".jpg");
      if (std::find(written.begin(), written.end(), i) == written.end()) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path << " left behind";
        failed.push_back("3 Save 保存" + (folder / path.filename()).string() + "失败");
        continue;
      }
      ExpectHolds(path, ranges[i]);
    }
    EXPECT_EQ(Texts(log.entries), failed);
  }
  void ExpectHolds(const fs::path& path, std::pair<uint64_t, uint64_t> range) {
    const auto [offset, length] = range;
    EXPECT_EQ(ReadBytes(path),
              std::vector<uint8_t>(image.begin() + static_cast<ptrdiff_t>(offset),
                                   image.begin() + static_cast<ptrdiff_t>(offset + length)))
        << path;
  }
  static std::vector<FoundFile> Rows(const std::vector<std::pair<uint64_t, uint64_t>>& ranges) {
    std::vector<FoundFile> files;
    for (size_t i = 0; i < ranges.size(); ++i) {
      files.push_back({DecimalText(uint64_t{i}) + u".jpg",
                       CarvedFile{ranges[i].first, 0x01, ranges[i].second}});
    }
    return files;
  }

  test::Bytes image;
  fs::path folder;
  test::RecordingLog log;
  test::RecordingProgress progress;
};

TEST_F(CarvedSaveFaults, FilesTheDiskCannotHoldFailAndTheRestAreSaved) {
  const std::vector<std::pair<uint64_t, uint64_t>> ranges = {
      {0, 10000},     {4096, 100000}, {8192, 20000},
      {12288, 65536}, {16384, 65537}, {1, 2 * test::kMiB},
  };
  std::vector<size_t> written;
  {
    const FileSizeLimit diskHolds(65536);
    written = Save(Rows(ranges));
  }
  EXPECT_EQ(written, (std::vector<size_t>{0, 2, 3}));
  ExpectSaved(ranges, written, folder);
  EXPECT_EQ(progress.events.size(), 1 + ranges.size()) << "every row is still visited";
}

// The progress event of each row comes just before the row is saved, so a
// hook there changes the storage between two files.
TEST_F(CarvedSaveFaults, StorageThatFailsInTheMiddleOfASave) {
  const std::vector<std::pair<uint64_t, uint64_t>> ranges = {
      {0, 5000}, {100, 2 * test::kMiB}, {200, 3000}, {300, 4000}, {400, 1}};
  const fs::path moved = folder.string() + "-moved";
  const struct {
    const char* name;
    std::function<void()> change;  // run at row 2
    fs::path savedIn;              // where rows 0 and 1 are found afterwards
  } cases[] = {
      {"disk becomes full",
       [&] {
         for (int i = 2; i < 5; ++i) {
           fs::create_symlink("/dev/full", folder / (std::to_string(i) + ".jpg"));
         }
       },
       folder},
      {"folder moved away", [&] { fs::rename(folder, moved); }, moved},
      {"folder removed", [&] { fs::remove_all(folder); }, fs::path()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(moved);
    fs::remove_all(folder);
    fs::create_directories(folder);
    log.entries.clear();
    progress.onPos = [&](uint32_t row) {
      if (row == 2) c.change();
    };
    EXPECT_EQ(Save(Rows(ranges)), (std::vector<size_t>{0, 1}));
    if (c.savedIn.empty()) {
      EXPECT_FALSE(fs::exists(folder)) << "the save must not recreate a removed folder";
    } else {
      ExpectHolds(c.savedIn / "0.jpg", ranges[0]);
      ExpectHolds(c.savedIn / "1.jpg", ranges[1]);
    }
    std::vector<std::string> failed;
    for (int i = 2; i < 5; ++i) {
      failed.push_back("3 Save 保存" + (folder / (std::to_string(i) + ".jpg")).string() + "失败");
    }
    EXPECT_EQ(Texts(log.entries), failed);
    for (int i = 2; i < 5; ++i) {
      EXPECT_FALSE(fs::exists(fs::symlink_status(folder / (std::to_string(i) + ".jpg"))));
    }
  }
  fs::remove_all(moved);
}

}  // namespace
}  // namespace velkor::faults

namespace velkor::faults {
namespace {

using namespace velkor::fixtures;

// The five export files of the records command under a disk that holds less
// than the largest of them: exactly the files that do not fit are reported
// and missing, the others are byte for byte those of an unhindered run.
TEST(CliWriteFaults, RecordExportsThatDoNotFitAreReportedAndRemoved) {
  const fs::path folder = FreshFolder("cli-export-full");
  ImageBuilder image(4 * test::kMiB, Filler::kZeros);
  uint64_t at = 4096;
  for (const auto& db : BuildAndroidSet(folder / "db", 30)) at = image.PlaceDatabase(at, db, 4096);
  const fs::path imagePath = folder / "phone.img";
  image.WriteFile(imagePath);

  std::string output;
  ASSERT_EQ(RunVelkor({"records", imagePath, "--out", folder / "free"}, output), 0) << output;
  std::vector<std::pair<uint64_t, std::string>> sizes;
  for (const std::string& name : FolderNames(folder / "free")) {
    sizes.emplace_back(fs::file_size(folder / "free" / name), name);
  }
  ASSERT_EQ(sizes.size(), 5u);
  std::sort(sizes.begin(), sizes.end());
  ASSERT_LT(sizes[1].first, sizes[4].first);
  const uint64_t holds = sizes[1].first;  // the two smallest fit (and equal sizes)

  EXPECT_EQ(RunVelkor({"records", imagePath, "--out", folder / "full"}, output, holds), 1);
  for (const auto& [size, name] : sizes) {
    const fs::path path = folder / "full" / name;
    const bool reported = output.find("velkor: cannot write " + path.string()) != std::string::npos;
    if (size > holds) {
      EXPECT_TRUE(reported) << name << "\n" << output;
      EXPECT_FALSE(fs::exists(path)) << name;
    } else {
      EXPECT_FALSE(reported) << name;
      EXPECT_EQ(ReadBytes(path), ReadBytes(folder / "free" / name)) << name;
    }
  }

  // An output folder that cannot be made: every export is reported.
  WriteBytes(folder / "file", {1});
  EXPECT_EQ(RunVelkor({"records", imagePath, "--out", folder / "file" / "out"}, output), 1);
  size_t reports = 0;
  for (size_t at2 = output.find("velkor: cannot write"); at2 != std::string::npos;
       at2 = output.find("velkor: cannot write", at2 + 1)) {
    ++reports;
  }
  EXPECT_EQ(reports, 5u) << output;
  fs::remove_all(folder);
}

TEST(CliWriteFaults, CarvedFilesThatDoNotFitAreReportedAndTheRestSaved) {
  const fs::path folder = FreshFolder("cli-save-full");
  test::Bytes image = test::FillerImage(test::kMiB);
  test::Place(image, 0, test::MakeJfif());
  test::Place(image, 8192, test::MakePng(4, 4));
  test::Place(image, 40960, test::MakeGif("89a"));
  WriteBytes(folder / "phone.img", image);

  std::string output;
  const fs::path out = folder / "found";
  EXPECT_EQ(RunVelkor({"pictures", folder / "phone.img", "--formats", "all", "--out", out}, output,
                      10000),
            1);
  EXPECT_NE(output.find("[Save] 保存" + (out / "1.png").string() + "失败"), std::string::npos)
      << output;
  EXPECT_NE(output.find("[Save] 保存" + (out / "2.gif").string() + "失败"), std::string::npos)
      << output;
  EXPECT_EQ(FolderNames(out), std::vector<std::string>{"0.jpg"});
  EXPECT_EQ(ReadBytes(out / "0.jpg"), test::Bytes(image.begin(), image.begin() + 8192));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace velkor::faults
