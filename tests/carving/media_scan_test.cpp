// The scan procedure: windows and tail, the block grid, progress, stop, read
// failures and the length rule, on images of file headers among filler.
#include <gtest/gtest.h>

#include <limits>

#include "tests/carving/carving_test_support.h"

namespace velkor::test {
namespace {

constexpr uint64_t kMax64 = std::numeric_limits<uint64_t>::max();

using Events = std::vector<std::string>;
using Files = std::vector<Found>;

// Files on and off the grid, across a window boundary, and in a sub-block tail.
TEST(MediaScan, FindsFilesOnTheGridOfEachWindow) {
  Bytes image = FillerImage(3 * kMiB + 1536);
  Place(image, 0, "exif");
  Place(image, 5 * 4096 + 100, "png");  // off the grid
  Place(image, kMiB - 4096, "gif89a");  // last block of window 0
  Place(image, kMiB, "bmp24");          // runs on past window 1's start
  Place(image, 2 * kMiB + 8192, "tiff-mm");
  Place(image, 3 * kMiB, "psd");  // tail of 1536 bytes: no block
  ScanFixture run(image, Params(kModePictures, 0, (3 * kMiB + 1536) / 512));
  run.Scan();
  EXPECT_EQ(Listed(run.found), (Files{{0, 0x01, kMiB - 4096},
                                      {kMiB - 4096, 0x20, 4096},
                                      {kMiB, 0x10, kMiB + 8192},
                                      {2 * kMiB + 8192, 0x08, kMiB - 8192 + 1536}}));
  EXPECT_EQ(run.result.imageSize, 3 * kMiB + 1536);
  EXPECT_TRUE(run.recorder.logs.empty());
  EXPECT_EQ(run.recorder.texts.back(), "已经搜索到 4 条记录");
}

// A signature is tested only on the bytes of its own window or tail, the rest
// counting as zero. One progress position per window and one for the tail.
TEST(MediaScan, SignaturesCutByTheWindowEndAreNotFound) {
  const struct {
    uint64_t sectors;  // range 0 .. sectors * 512
    uint64_t at;
    bool found;
    int positions;
  } cases[] = {
      {4096, kMiB - 6, true, 2},   {4096, kMiB - 4, false, 2},   {4096, kMiB - 2, false, 2},
      {2049, kMiB + 506, true, 2}, {2049, kMiB + 508, false, 2},  // tail ends at 1 MiB + 512
      {1, 506, true, 1},           {1, 508, false, 1},           {2048, 0, true, 1},
      {4097, 0, true, 3}};
  for (const auto& c : cases) {
    Bytes image = FillerImage(3 * kMiB);
    Place(image, c.at, "gif89a");
    ScanFixture run(image, Params(kModePictures, 0, c.sectors, 2));
    run.Scan();
    EXPECT_EQ(run.found.size(), c.found ? 1u : 0u) << c.sectors << " " << c.at;
    Events events = {"range " + std::to_string(c.sectors / 2048)};
    for (int i = 0; i < c.positions; ++i) events.push_back("pos " + std::to_string(i));
    EXPECT_EQ(run.recorder.events, events) << c.sectors;
  }
}

TEST(MediaScan, RangePastTheImageEndIsLoggedAsUnreadable) {
  Bytes image = FillerImage(2 * kMiB + 100);
  Place(image, 0, "mp4");
  Place(image, 4096, "amr");
  Place(image, 2 * kMiB, "avi");  // in the short read of window 2
  ScanFixture run(image, Params(kModeVideos, 0, 8192, 4096, 0x3F, 5000));
  run.Scan();
  EXPECT_EQ(Listed(run.found), (Files{{0, 0x01, 4096}, {4096, 0x08, 5000}, {2 * kMiB, 0x04, 100}}));
  EXPECT_EQ(run.recorder.events, Events({"range 4", "pos 0", "pos 1", "pos 2"}));
  EXPECT_EQ(run.recorder.logs, Events({"3 error 讀取設備/images/phone.img,位置3145728失敗",
                                       "3 error 无法读取/images/phone.img: 偏移 3145728, 长度 "
                                       "1048576 字节"}));
}

TEST(MediaScan, StopEndsAfterTheCurrentWindowAndSkipsTheTail) {
  Bytes image = FillerImage(4 * kMiB + 512);
  for (uint64_t at : {uint64_t{0}, kMiB, 2 * kMiB, 4 * kMiB}) Place(image, at, "jfif");
  ScanFixture run(image, Params(kModePictures, 0, 8193));
  run.recorder.onEvent = [&run](const std::string& event) {
    if (event == "pos 1") run.stop = true;
  };
  run.Scan();
  EXPECT_EQ(run.recorder.events, Events({"range 4", "pos 0", "pos 1"}));
  // The length rule runs over what was found before the stop; no length runs
  // past the image.
  EXPECT_EQ(Listed(run.found), (Files{{0, 0x01, kMiB}, {kMiB, 0x01, 3 * kMiB + 512}}));
}

// Parameters the dialog never lets through end cleanly: a start offset that
// wraps (held at the largest offset), more windows than 32 bits count, block
// sizes 1 (finding the TIFF header inside the Exif segment too) and 0.
TEST(MediaScan, ExtremeParametersEndCleanly) {
  Bytes image = FillerImage(kMiB + 100);
  Place(image, 0, "exif");
  Place(image, 12345, "gif89a");
  const Events tail = {"range 1", "pos 0", "pos 1"};
  const auto unreadable = [](const std::string& offset, const std::string& length) {
    return Events{
        "3 error 讀取設備/images/phone.img,位置" + offset + "失敗",
        "3 error 无法读取/images/phone.img: 偏移 " + offset + ", 长度 " + length + " 字节"};
  };
  const struct {
    MediaScanParams params;
    Files found;
    Events logs;
    Events events;
  } cases[] = {{Params(kModePictures, kMax64 / 512 + 1, 4096),
                {},
                unreadable("9223372036854775807", "1048576"),
                {"range 2"}},
               {Params(kModePictures, 0, kMax64, 4096, 0x3F, kMax64),
                {{0, 0x01, kMiB + 100}},
                unreadable("2097152", "9223372036852678655"),
                {"range 4294967295", "pos 0", "pos 1"}},
               {Params(kModePictures, 0, 2049, 1),
                {{0, 0x01, 12}, {12, 0x08, 12333}, {12345, 0x20, kMiB + 100 - 12345}},
                {},
                tail},
               {Params(kModePictures, 0, 2049, 0), {}, {}, tail}};
  for (const auto& c : cases) {
    ScanFixture run(image, c.params);
    run.Scan();
    SCOPED_TRACE(c.params.blockSize);
    EXPECT_EQ(Listed(run.found), c.found);
    EXPECT_EQ(run.recorder.logs, c.logs);
    EXPECT_EQ(run.recorder.events, c.events);
  }
}

}  // namespace
}  // namespace velkor::test
