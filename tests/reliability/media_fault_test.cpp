// Picture scans and saves over unreadable bytes: the scan goes on and keeps
// the usual lengths; a file cut by the bad range keeps its readable start and
// is reported incomplete; a stop ends a save between files.
#include <gtest/gtest.h>

#include <atomic>

#include "carving/found_files.h"
#include "carving/media_scan.h"
#include "engine/log_entries.h"
#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

const std::filesystem::path kImage = "/phone/disk.img";
const std::vector<uint8_t> kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint64_t kBad = kMiB + 4096;

struct PictureImage {
  MemoryImages images;
  explicit PictureImage(const ReadFaults& faults) {
    std::vector<uint8_t>& bytes = images.bytes[kImage];
    bytes.resize(3 * kMiB);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    for (const uint64_t at : {uint64_t{0}, kBad, kMiB + 32768, 2 * kMiB}) Place(bytes, at, kPng);
    images.faults[kImage] = faults;
  }
  ScanInput Input(LogSink* log) const {
    ScanInput input;
    input.imagePath = kImage;
    input.imageOpener = images.Opener();
    input.log = log;
    return input;
  }
};

TEST(UnreadablePictures, ScanGoesOnAndSavesKeepTheReadableStart) {
  const ByteRange bad{kBad, kReadPiece};
  for (const ReadFaults& faults :
       {ReadFaults{.bad = {bad}, .wholeRead = true}, ReadFaults{.bad = {bad}, .chunk = 5000}}) {
    SCOPED_TRACE(faults.wholeRead);
    const PictureImage image(faults);
    Recorder log;
    const ScanInput input = image.Input(&log);
    MediaScanParams params{kModePictures, 0, 3 * kMiB / 512, 100 * kMiB, 4096, 0x3F};
    CarvedFileStore found;
    const ScanResult result = ScanPictures(input, params, found);

    // The signature in the bad piece is not known; the others keep their
    // distances to the next hit.
    const std::vector<FoundFile> files = FoundFiles(found, kModePictures);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].file.offset, 0u);
    EXPECT_EQ(files[0].file.length, kMiB + 32768);
    EXPECT_EQ(files[1].file.length, kMiB - 32768);
    EXPECT_EQ(files[2].file.length, 100 * kMiB);
    ASSERT_EQ(result.unreadable.size(), 1u);
    EXPECT_EQ(result.unreadable[0].offset, kBad);
    EXPECT_EQ(log.logTexts, (std::vector<std::u16string>{
                                ReadFailedText(kImage.u16string(), static_cast<int64_t>(kMiB)),
                                UnreadableRangeText(kImage.u16string(), kBad, kReadPiece)}));

    TempFolder out;
    log.logTexts.clear();
    EXPECT_EQ(SaveCarvedFiles(input, files, out.path), (std::vector<size_t>{1, 2}));
    const std::vector<uint8_t>& bytes = image.images.bytes.at(kImage);
    EXPECT_EQ(ReadBytes(out.path / "0.png"),
              std::vector<uint8_t>(bytes.begin(), bytes.begin() + kBad));
    EXPECT_EQ(ReadBytes(out.path / "1.png"),
              std::vector<uint8_t>(bytes.begin() + kMiB + 32768, bytes.begin() + 2 * kMiB));
    EXPECT_EQ(log.logTexts, (std::vector<std::u16string>{SaveIncompleteText(
                                PathText(out.path / "0.png"), kBad, kReadPiece)}));
  }
}

TEST(StoppedSave, EndsBetweenFilesAndCountsTheRest) {
  const PictureImage image(ReadFaults{});
  Recorder log;
  ScanInput input = image.Input(&log);
  std::atomic<bool> stop{false};
  log.onEvent = [&stop](const std::string& event) { stop = event.rfind("range", 0) != 0; };
  input.progress = &log;
  input.stop = &stop;
  const std::vector<FoundFile> files = {
      {u"0.png", {0, 0x02, 100}}, {u"1.png", {kMiB, 0x02, 100}}, {u"2.png", {2 * kMiB, 0x02, 100}}};
  TempFolder out;
  size_t attempted = 0;
  EXPECT_EQ(SaveCarvedFiles(input, files, out.path, &attempted), std::vector<size_t>{0});
  EXPECT_EQ(attempted, 1u);
  EXPECT_EQ(log.logTexts, std::vector<std::u16string>{SaveStoppedText(2)});
  EXPECT_FALSE(std::filesystem::exists(out.path / "1.png"));
}

}  // namespace
}  // namespace velkor::test
