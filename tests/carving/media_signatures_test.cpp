// The signature tests on real files: each file alone at the start of a block,
// with every format selected, is found as its own kind or not at all.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "carving/media_signatures.h"
#include "tests/carving/carving_test_support.h"

namespace velkor::test {
namespace {

// The kinds a block test finds in a 4096-byte block holding file at its start
// (zeros after it), with the given formats selected.
CarvedFileStore MatchOne(uint32_t mode, const Bytes& file, uint32_t formats = 0x3F) {
  Bytes block(4096, 0);
  Place(block, 0, file);
  CarvedFileStore found;
  MatchModeBlocks(Params(mode, 0, 8, 4096, formats, 1000), block.data(), 4096, 7 * kMiB, found);
  return found;
}

Bytes With(Bytes file, size_t at, uint8_t value) {
  file.at(at) = value;
  return file;
}

struct SignatureCase {
  const char* name;
  uint32_t mode;
  Bytes file;
  uint32_t kind;  // 0: not found
};

class SignatureTest : public ::testing::TestWithParam<SignatureCase> {};

std::string CaseName(const ::testing::TestParamInfo<SignatureCase>& test) {
  return test.param.name;
}

TEST_P(SignatureTest, FindsTheFileAsItsKindOrNotAtAll) {
  const SignatureCase& c = GetParam();
  const CarvedFileStore found = MatchOne(c.mode, c.file);
  if (c.kind == 0) {
    EXPECT_TRUE(found.empty());
    return;
  }
  ASSERT_EQ(found.size(), 1u);
  const CarvedFile& file = found.begin()->second;
  EXPECT_EQ(file.offset, 7 * kMiB);
  EXPECT_EQ(file.kind, c.kind);
  EXPECT_EQ(file.length, 1000u);  // maxFileSize until the length rule runs
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pictures, SignatureTest, ::testing::Values(
    SignatureCase{"JpegJfif", kModePictures, MakeJfif(), 0x01},
    SignatureCase{"JpegExif", kModePictures, MakeExif(), 0x01},
    SignatureCase{"JfifInApp1", kModePictures, MakeJpeg(JpegApp::kApp1, "JFIF"), 0},
    SignatureCase{"ExifInApp0", kModePictures, MakeJpeg(JpegApp::kApp0, "Exif"), 0},
    SignatureCase{"Png", kModePictures, MakePng(3, 2), 0x02},
    SignatureCase{"PngDosLineEnd", kModePictures, With(MakePng(3, 2), 4, 0x0A), 0},
    SignatureCase{"Psd", kModePictures, MakePsd(), 0x04},
    SignatureCase{"LargeDocumentVersion2", kModePictures, With(MakePsd(), 5, 2), 0},
    SignatureCase{"PsdReservedNotZero", kModePictures, With(MakePsd(), 11, 1), 0},
    SignatureCase{"TiffLittleEndian", kModePictures, MakeTiff(false), 0x08},
    SignatureCase{"TiffBigEndian", kModePictures, MakeTiff(true), 0x08},
    SignatureCase{"TiffMixedOrder", kModePictures, With(With(MakeTiff(false), 2, 0), 3, 0x2A), 0},
    SignatureCase{"Bmp24", kModePictures, MakeBmp(3, 2, 24), 0x10},
    SignatureCase{"Bmp32", kModePictures, MakeBmp(2, 2, 32), 0x10},
    SignatureCase{"Bmp16", kModePictures, MakeBmp(2, 2, 16), 0x10},
    SignatureCase{"Bmp8WithColourTable", kModePictures, MakeBmp(4, 2, 8), 0},
    SignatureCase{"Bmp1WithColourTable", kModePictures, MakeBmp(8, 1, 1), 0},
    SignatureCase{"BmpReservedSet", kModePictures, With(MakeBmp(3, 2, 24), 8, 1), 0},
    SignatureCase{"Bmp12Bits", kModePictures, With(MakeBmp(3, 2, 24), 28, 12), 0},
    SignatureCase{"BmpCompression4", kModePictures, With(MakeBmp(3, 2, 24), 30, 4), 0},
    SignatureCase{"BmpCompression3", kModePictures, With(MakeBmp(3, 2, 24), 30, 3), 0x10},
    SignatureCase{"Gif89a", kModePictures, MakeGif("89a"), 0x20},
    SignatureCase{"Gif87a", kModePictures, MakeGif("87a"), 0x20},
    SignatureCase{"Gif88a", kModePictures, MakeGif("88a"), 0},
    SignatureCase{"VideoInPictureScan", kModePictures, MakeMp4(), 0}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(Videos, SignatureTest, ::testing::Values(
    SignatureCase{"Mp4", kModeVideos, MakeMp4(), 0x01},
    SignatureCase{"Mp4FirstBox32", kModeVideos, MakeIsoMedia(32, "isom", "isom"), 0},
    SignatureCase{"Mp4BrandMp42", kModeVideos, MakeIsoMedia(24, "mp42", "isom"), 0},
    SignatureCase{"Mov", kModeVideos, MakeMov(), 0x02},
    SignatureCase{"MovCompatibleMp42", kModeVideos, MakeIsoMedia(20, "qt  ", "mp42"), 0x02},
    SignatureCase{"MovCompatibleIsom", kModeVideos, MakeIsoMedia(20, "qt  ", "isom"), 0},
    SignatureCase{"Avi", kModeVideos, MakeAvi(), 0x04},
    SignatureCase{"WaveNotAvi", kModeVideos, With(MakeAvi(), 8, 'W'), 0},
    SignatureCase{"Amr", kModeVideos, MakeAmr(), 0x08},
    SignatureCase{"AmrMode0", kModeVideos, MakeAmr(0x04), 0},
    SignatureCase{"Mpeg2Ps", kModeVideos, MakeMpegPs(2), 0x10},
    SignatureCase{"Mpeg2PsStuffed", kModeVideos, MakeMpegPs(2, 7), 0x10},
    SignatureCase{"Mpeg1Ps", kModeVideos, MakeMpegPs(1), 0x10},
    SignatureCase{"Mts", kModeVideos, MakeMts(), 0x20},
    SignatureCase{"MtsWithArrivalTime", kModeVideos, With(MakeMts(), 3, 1), 0},
    SignatureCase{"MtsOtherChecksum", kModeVideos, With(MakeMts(), 27, 0x49), 0},
    SignatureCase{"PictureInVideoScan", kModeVideos, MakePng(1, 1), 0}),
    CaseName);
// clang-format on

// A file is found only when its own format is selected.
TEST(SignatureSelection, EachFormatIsFoundOnlyUnderItsOwnBit) {
  const struct {
    uint32_t mode;
    uint32_t kind;
    Bytes file;
  } files[] = {
      {kModePictures, 0x01, MakeExif()},        {kModePictures, 0x02, MakePng(1, 1)},
      {kModePictures, 0x04, MakePsd()},         {kModePictures, 0x08, MakeTiff(true)},
      {kModePictures, 0x10, MakeBmp(1, 1, 24)}, {kModePictures, 0x20, MakeGif("89a")},
      {kModeVideos, 0x01, MakeMp4()},           {kModeVideos, 0x02, MakeMov()},
      {kModeVideos, 0x04, MakeAvi()},           {kModeVideos, 0x08, MakeAmr()},
      {kModeVideos, 0x10, MakeMpegPs(2)},       {kModeVideos, 0x20, MakeMts()},
  };
  for (const auto& f : files) {
    for (uint32_t bit = 1; bit <= 0x20; bit <<= 1) {
      // Bits above the six formats select nothing.
      const CarvedFileStore found = MatchOne(f.mode, f.file, bit | 0xFFFFFFC0u);
      EXPECT_EQ(found.size(), bit == f.kind ? 1u : 0u)
          << "mode " << f.mode << " kind " << f.kind << " selected " << bit;
    }
  }
}

// Every marker bit of a pack header is checked: clearing any one of them, or
// breaking the fixed fields around them, loses the stream.
TEST(MpegPackHeader, EachBrokenFieldIsRejected) {
  const struct {
    int version;
    size_t at;
    uint8_t clear;  // bits cleared
    uint8_t set;    // bits set afterwards
  } cases[] = {
      {2, 4, 0x40, 0x00},  {2, 4, 0x04, 0x00},  {2, 4, 0x00, 0x80},  // '01' prefix, marker
      {2, 6, 0x04, 0x00},  {2, 8, 0x04, 0x00},  {2, 9, 0x01, 0x00},  // SCR markers
      {2, 12, 0x01, 0x00}, {2, 12, 0x02, 0x00},                      // mux rate markers
      {2, 13, 0x80, 0x00}, {2, 13, 0x08, 0x00},                      // reserved ones
      {2, 16, 0xFF, 0x00}, {2, 17, 0xFF, 0xB8},  // next start code 00 00 01 B9..FF
      {1, 4, 0x20, 0x00},  {1, 4, 0x00, 0x10},  {1, 4, 0x01, 0x00},  // '0010' prefix, marker
      {1, 6, 0x01, 0x00},  {1, 8, 0x01, 0x00},                       // SCR markers
      {1, 9, 0x80, 0x00},  {1, 11, 0x01, 0x00},                      // mux rate markers
      {1, 14, 0x01, 0x00},                                           // next start code
  };
  for (const auto& c : cases) {
    Bytes stream = MakeMpegPs(c.version);
    stream.at(c.at) = static_cast<uint8_t>((stream.at(c.at) & ~c.clear) | c.set);
    EXPECT_TRUE(MatchOne(kModeVideos, stream).empty()) << "MPEG-" << c.version << " byte " << c.at;
  }
}

TEST(MpegPackHeader, StuffingAndMuxRate) {
  for (uint8_t stuffing = 0; stuffing <= 7; ++stuffing) {
    EXPECT_EQ(MatchOne(kModeVideos, MakeMpegPs(2, stuffing)).size(), 1u) << int{stuffing};
    if (stuffing == 0) continue;
    // A stuffing byte other than FF, here the last one.
    Bytes stream = MakeMpegPs(2, stuffing);
    stream.at(13 + stuffing) = 0xFE;
    EXPECT_TRUE(MatchOne(kModeVideos, stream).empty()) << int{stuffing};
  }
  for (int version : {1, 2}) {
    EXPECT_TRUE(MatchOne(kModeVideos, MakeMpegPs(version, 0, 0)).empty()) << version;
    EXPECT_EQ(MatchOne(kModeVideos, MakeMpegPs(version, 0, 1)).size(), 1u) << version;
    EXPECT_EQ(MatchOne(kModeVideos, MakeMpegPs(version, 0, 0x3FFFFF)).size(), 1u) << version;
  }
}

// Windows of any length holding pieces of real headers at any place: the
// block test reads nothing past the window (the sanitizer build checks the
// reads) and reports only offsets on the window's grid.
TEST(SignatureBounds, ShortWindowsOfHeaderPiecesStayInBounds) {
  const Bytes pieces[] = {MakeExif(), MakePng(1, 1), MakeBmp(1, 1, 24), MakeGif("89a"),
                          MakeMts(),  MakeAvi(),     MakeMpegPs(2, 7),  MakeAmr()};
  uint32_t state = 99;
  auto next = [&state](uint32_t bound) {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % bound;
  };
  for (uint32_t round = 0; round < 3000; ++round) {
    const uint32_t length = next(90);
    const uint32_t block = 1 + next(7);
    // Exactly length bytes on the heap, so any read past them is caught.
    auto window = std::make_unique<uint8_t[]>(length);
    // A header starting on the grid, often cut by the window's end.
    const Bytes& piece = pieces[next(8)];
    const uint32_t at = block * next(length / block + 1);
    for (uint32_t i = 0; i < length; ++i) {
      window[i] = i >= at && i - at < piece.size() ? piece[i - at] : 0xA5;
    }
    for (uint32_t mode : {kModePictures, kModeVideos}) {
      const uint64_t base = uint64_t{round} * 4096;
      CarvedFileStore found;
      MatchModeBlocks(Params(mode, 0, 1, block, 0x3F, 1), window.get(), length, base, found);
      for (const auto& [offset, file] : found) {
        EXPECT_LT(offset, base + length);
        EXPECT_EQ((offset - base) % block, 0u);
      }
    }
  }
}

}  // namespace
}  // namespace velkor::test
