// The signature tests on the headers of real files: each is found as its own
// kind or not at all; one changed byte decides.
#include <gtest/gtest.h>

#include <string>

#include "carving/media_signatures.h"
#include "tests/carving/media_headers.h"

namespace velkor::test {
namespace {

using Bytes = std::vector<uint8_t>;

// The files a block test finds in a 4096-byte block holding file at its start.
CarvedFileStore MatchOne(uint32_t mode, const Bytes& file, uint32_t formats = 0x3F) {
  Bytes block(4096, 0);
  std::copy(file.begin(), file.end(), block.begin());
  CarvedFileStore found;
  MatchBlocks(MediaFormatsFor(mode), {mode, 0, 8, 1000, 4096, formats}, block.data(), 4096,
              7u << 20, found);
  return found;
}

// The named header with bytes from `at` replaced by `text`.
Bytes With(const char* name, size_t at, std::string_view text) {
  Bytes file = HeaderBytes(name);
  std::copy(text.begin(), text.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
  return file;
}

TEST(Signatures, RealHeadersAreFoundAsTheirKindOnlyUnderTheirOwnBit) {
  for (const MediaHeader& header : kMediaHeaders) {
    for (uint32_t bit = 1; bit <= 0x20; bit <<= 1) {
      // Bits above the six formats select nothing.
      const CarvedFileStore found = MatchOne(header.mode, HeaderBytes(header.name), bit | ~0x3Fu);
      EXPECT_EQ(found.size(), bit == header.kind ? 1u : 0u) << header.name << " bit " << bit;
    }
    const uint32_t other = header.mode == kModeVideos ? kModePictures : kModeVideos;
    EXPECT_TRUE(MatchOne(other, HeaderBytes(header.name)).empty()) << header.name;
  }
}

TEST(Signatures, OneChangedFieldDecides) {
  const struct {
    const char* label;
    uint32_t mode;
    Bytes file;
    uint32_t kind;  // 0: not found
  } cases[] = {
      {"JFIF in APP1", kModePictures, With("jfif", 3, "\xE1"), 0},
      {"Exif in APP0", kModePictures, With("exif", 3, "\xE0"), 0},
      {"PNG with DOS line end", kModePictures, With("png", 4, "\x0A"), 0},
      {"PSD version 2", kModePictures, With("psd", 5, "\x02"), 0},
      {"PSD reserved set", kModePictures, With("psd", 11, "\x01"), 0},
      {"TIFF mixed order", kModePictures, With("tiff-ii", 2, std::string_view("\0\x2A", 2)), 0},
      {"BMP 32 bits", kModePictures, With("bmp24", 28, "\x20"), 0x10},
      {"BMP 16 bits", kModePictures, With("bmp24", 28, "\x10"), 0x10},
      {"BMP 12 bits", kModePictures, With("bmp24", 28, "\x0C"), 0},
      {"BMP 1 bit with colour table", kModePictures, With("bmp8", 28, "\x01"), 0},
      {"BMP reserved set", kModePictures, With("bmp24", 8, "\x01"), 0},
      {"BMP compression 3", kModePictures, With("bmp24", 30, "\x03"), 0x10},
      {"BMP compression 4", kModePictures, With("bmp24", 30, "\x04"), 0},
      {"GIF87a", kModePictures, With("gif89a", 4, "7"), 0x20},
      {"GIF88a", kModePictures, With("gif89a", 4, "8"), 0},
      {"MP4 first box 32", kModeVideos, With("mp4", 3, "\x20"), 0},
      {"MP4 brand mp42", kModeVideos, With("mp4", 8, "mp42"), 0},
      {"MOV compatible mp42", kModeVideos, With("mov", 16, "mp42"), 0x02},
      {"MOV compatible isom", kModeVideos, With("mov", 16, "isom"), 0},
      {"WAVE, not AVI", kModeVideos, With("avi", 8, "WAVE"), 0},
      {"AMR mode 0", kModeVideos, With("amr", 6, "\x04"), 0},
      {"MTS with arrival time", kModeVideos, With("mts", 3, "\x01"), 0},
      {"MTS other checksum", kModeVideos, With("mts", 27, "\x49"), 0},
      {"MPEG-2 mux rate 0", kModeVideos, With("mpeg2", 10, std::string_view("\0\0\x03", 3)), 0},
      {"MPEG-2 mux rate 1", kModeVideos, With("mpeg2", 10, std::string_view("\0\0\x07", 3)), 0x10},
      {"MPEG-1 mux rate 0", kModeVideos, With("mpeg1", 9, std::string_view("\x80\0\x01", 3)), 0},
      {"MPEG-1 mux rate 1", kModeVideos, With("mpeg1", 9, std::string_view("\x80\0\x03", 3)),
       0x10}};
  for (const auto& c : cases) {
    const CarvedFileStore found = MatchOne(c.mode, c.file);
    EXPECT_EQ(found.empty() ? 0 : found.begin()->second.kind, c.kind) << c.label;
  }
}

}  // namespace
}  // namespace velkor::test
