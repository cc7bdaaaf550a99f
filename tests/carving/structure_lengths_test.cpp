// Ends from each file's own structure: whole files get their exact lengths
// wherever they lie; damaged ones, or ones cut by the image end, fall back to
// the next hit or the image end, unverified.
#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <random>

#include "carving/media_scan.h"
#include "tests/support/test_doubles.h"

namespace velkor {
namespace {

using test::Bytes;

const auto Put = [](Bytes& b, std::string_view text) {
  b.insert(b.end(), text.begin(), text.end());
};
const auto Be16 = [](Bytes& b, uint32_t v) { b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)}); };
const auto Be32 = [](Bytes& b, uint32_t v) { Be16(b, v >> 16), Be16(b, v & 0xFFFF); };
const auto Le16 = [](Bytes& b, uint32_t v) { b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)}); };
const auto Le32 = [](Bytes& b, uint32_t v) { Le16(b, v & 0xFFFF), Le16(b, v >> 16); };
const auto Fill = [](Bytes& b, size_t n, uint8_t v) { b.insert(b.end(), n, v); };

// A JPEG whose Exif segment holds a thumbnail with its own end marker, and
// whose entropy data holds stuffed FF 00 and a restart marker.
Bytes Jpeg() {
  Bytes b{0xFF, 0xD8, 0xFF, 0xE1};
  Be16(b, 2 + 6 + 8), Put(b, std::string_view("Exif\0\0", 6));
  b.insert(b.end(), {0xFF, 0xD8, 0x00, 0x11, 0x22, 0x33, 0xFF, 0xD9, 0xFF, 0xDB});
  Be16(b, 2 + 65), Fill(b, 65, 7), Be16(b, 0xFFDA), Be16(b, 2 + 10), Fill(b, 10, 1);
  b.insert(b.end(), {0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56, 0xFF, 0xD9});
  return b;
}

void PngChunk(Bytes& b, std::string_view type, const Bytes& data) {
  Be32(b, static_cast<uint32_t>(data.size()));
  Bytes typed(type.begin(), type.end());
  typed.insert(typed.end(), data.begin(), data.end());
  b.insert(b.end(), typed.begin(), typed.end());
  Be32(b, static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

Bytes Png() {
  Bytes b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PngChunk(b, "IHDR", Bytes{0, 0, 0, 2, 0, 0, 0, 2, 8, 2, 0, 0, 0});
  PngChunk(b, "IDAT", Bytes(300, 0x5A));
  PngChunk(b, "IEND", {});
  return b;
}

Bytes Gif() {
  Bytes b{'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x81, 0, 0};  // global table of 4 colours
  Fill(b, 12, 0x40);
  b.insert(b.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});
  b.insert(b.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 3, 1, 2, 3, 0, 0x3B});
  return b;
}

Bytes Bmp() {
  Bytes b{'B', 'M'};
  Le32(b, 54 + 16 * 8), Le32(b, 0), Le32(b, 54), Le32(b, 40);
  Le32(b, 5), Le32(b, 8);  // 5 x 8 pixels, 16 bytes a row
  Le16(b, 1), Le16(b, 24), Le32(b, 0), Fill(b, 20, 0), Fill(b, 16 * 8, 0x33);
  return b;
}

Bytes Tiff() {
  Bytes b{'M', 'M', 0, 42};
  Be32(b, 8), Be16(b, 2);  // two entries: one strip of 500 bytes at 100
  Be16(b, 273), Be16(b, 4), Be32(b, 1), Be32(b, 100);
  Be16(b, 279), Be16(b, 4), Be32(b, 1), Be32(b, 500);
  Be32(b, 0), Fill(b, 100 - b.size(), 0), Fill(b, 500, 0x99);
  return b;
}

Bytes Psd() {
  Bytes b;
  Put(b, std::string_view("8BPS\0\1\0\0\0\0\0\0", 12));
  Be16(b, 3), Be32(b, 4), Be32(b, 5), Be16(b, 8), Be16(b, 3);
  Fill(b, 12 + 2, 0), Fill(b, 60, 0x44);  // raw: 3 channels x 4 rows x 5 bytes
  return b;
}

// A file type box of the given brands, then a movie box and a 64-bit data box.
Bytes Ftyp(std::string_view major, size_t zeros, std::string_view compatible = "") {
  Bytes b;
  Be32(b, static_cast<uint32_t>(16 + zeros + compatible.size())), Put(b, "ftyp"), Put(b, major);
  Fill(b, 4 + zeros, 0), Put(b, compatible);
  return b;
}

Bytes Boxes(Bytes b) {
  Be32(b, 16), Put(b, "moov"), Fill(b, 8, 1);
  Be32(b, 1), Put(b, "mdat"), Be32(b, 0), Be32(b, 16 + 40), Fill(b, 40, 2);
  return b;
}

Bytes Avi() {
  Bytes b{'R', 'I', 'F', 'F'};
  Le32(b, 4 + 8 + 4 + 8 + 56 + 3), Put(b, "AVI LIST");  // odd: one pad byte follows
  Le32(b, 4 + 8 + 56), Put(b, "hdrlavih"), Le32(b, 56), Fill(b, 56, 0), Fill(b, 3, 9);
  b.push_back(0);
  return b;
}

Bytes Amr() {
  Bytes b{'#', '!', 'A', 'M', 'R', '\n'};
  for (int i = 0; i < 5; ++i) b.push_back(0x3C), Fill(b, 31, 0x5F);
  b.push_back(0x44), Fill(b, 5, 0x5F);  // a frame of mode 8
  return b;
}

// MPEG-2 program stream: packs of a pack header and one PES packet, an end code.
Bytes Mpeg(int packs, uint32_t packSize) {
  Bytes b;
  for (int i = 0; i < packs; ++i) {
    b.insert(b.end(), {0, 0, 1, 0xBA, 0x44, 0, 0x04, 0, 0x04, 0x01, 0x01, 0x89, 0xC3, 0xF8});
    Be32(b, 0x1E0), Be16(b, packSize - 14 - 6);
    Fill(b, packSize - 14 - 6, static_cast<uint8_t>(i));
  }
  b.insert(b.end(), {0, 0, 1, 0xB9});
  return b;
}

Bytes Mts() {
  Bytes b;
  for (int i = 0; i < 4; ++i) {
    Fill(b, 4, 0), Be32(b, 0x47400010), Be32(b, 0xB011), Be32(b, 0x1C100), Be32(b, 0xE0);
    Be32(b, 0x1F0001E1), Be32(b, 0x24AC48), Fill(b, 192 - 28, 0xFF);
  }
  return b;
}

struct Case {
  const char* name;
  uint32_t mode;
  std::function<Bytes()> make;
  size_t damage;  // a length field whose change the walk must notice
  // Frames with no end marker: a copy right after, or a cut, changes the count.
  bool unmarkedEnd = false;
};

const auto Mp4 = [] { return Boxes(Ftyp("isom", 0, "mp42isom")); };
const auto Mov = [] { return Boxes(Ftyp("qt  ", 0, "qt  ")); };
const auto Mpg = [] { return Mpeg(3, 2048); };

const Case kCases[] = {{"jpg", kModePictures, Jpeg, 4},
                       {"png", kModePictures, Png, 33},
                       {"gif", kModePictures, Gif, 10},
                       {"bmp", kModePictures, Bmp, 2},
                       {"tif", kModePictures, Tiff, 30},
                       {"psd", kModePictures, Psd, 26},
                       {"mp4", kModeVideos, Mp4, 27},
                       {"mov", kModeVideos, Mov, 23},
                       {"avi", kModeVideos, Avi, 5},
                       {"amr", kModeVideos, Amr, 0, true},
                       {"mpg", kModeVideos, Mpg, 3 * 2048 + 2},
                       {"mts", kModeVideos, Mts, 0, true}};

CarvedFileStore Scan(const Bytes& image, uint32_t mode, uint32_t block, bool structure) {
  MediaScanParams params{mode, 0, (image.size() + 511) / 512, 1u << 20, block, 0x3F, structure};
  CarvedFileStore found;
  ScanInput input{.imagePath = "image", .imageOpener = test::MemoryOpener(image)};
  (mode == kModePictures ? ScanPictures : ScanVideos)(input, params, found);
  return found;
}

TEST(StructureLengths, WholeFilesEndExactlyWhereverTheyLie) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Bytes file = c.make();
    // At a block start after random bytes, back to back, and after a gap at
    // an odd offset, found there by block size 1.
    Bytes image(4096, 0);
    std::mt19937 random(7);
    for (auto& b : image) b = static_cast<uint8_t>(random() | 0x80);
    const uint64_t first = image.size();
    image.insert(image.end(), file.begin(), file.end());
    const uint64_t second = image.size();
    image.insert(image.end(), file.begin(), file.end());
    const uint64_t third = (image.size() + 4095) / 4096 * 4096 + 4099;
    image.resize(third, 0);
    image.insert(image.end(), file.begin(), file.end());
    image.resize(image.size() + 600, 0);
    for (const uint32_t block : {1u, 512u}) {
      const CarvedFileStore found = Scan(image, c.mode, block, true);
      for (const uint64_t at : {first, second, third}) {
        if ((block != 1 && at % block != 0) || (c.unmarkedEnd && at == first)) continue;
        ASSERT_TRUE(found.count(at)) << at;
        EXPECT_EQ(found.at(at).length, file.size()) << at << " block " << block;
        EXPECT_TRUE(found.at(at).verified);
      }
    }
  }
}

// Cut by the image end, or a length field changed to run past the next file.
TEST(StructureLengths, DamagedFilesFallBackToTheNextHitUnverified) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    for (const bool cut : {true, false}) {
      if (cut ? c.unmarkedEnd : c.damage == 0) continue;
      Bytes image = c.make();
      if (cut) {
        image.resize(image.size() / 2 + 2);
      } else {
        image[c.damage] ^= 0x7F;
        image.resize(image.size() / 4096 * 4096 + 4096, 0);
        const Bytes next = c.make();
        image.insert(image.end(), next.begin(), next.end());
      }
      const CarvedFileStore found = Scan(image, c.mode, 512, true);
      ASSERT_TRUE(found.count(0)) << cut;
      EXPECT_FALSE(found.at(0).verified) << cut;
      const uint64_t next = cut ? image.size() : std::next(found.begin())->first;
      EXPECT_EQ(found.at(0).length, next) << cut;
    }
  }
}

TEST(MediaScan, AnMpegStreamIsOneFileAtAnyBlockSize) {
  Bytes image(4096, 0);
  const Bytes stream = Mpeg(300, 2048);
  image.insert(image.end(), stream.begin(), stream.end());
  image.resize(image.size() + 10000, 0);
  for (const uint32_t block : {512u, 2048u, 4096u}) {
    const CarvedFileStore found = Scan(image, kModeVideos, block, false);
    ASSERT_EQ(found.size(), 1u) << block;
    EXPECT_EQ(found.begin()->first, 4096u);
  }
}

TEST(ExtendedSignatures, TakeTheCommonVariants) {
  Bytes paletted = Bmp();
  paletted[10] = static_cast<uint8_t>(54 + 4 * 16), paletted[28] = 4, paletted[46] = 16;
  const std::pair<uint32_t, Bytes> variants[] = {
      {kModePictures, {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43}},
      {kModePictures, paletted},
      {kModeVideos, Ftyp("isom", 16)},
      {kModeVideos, Ftyp("mp42", 8)},
      {kModeVideos, Ftyp("3gp5", 8)},
      {kModeVideos, {'#', '!', 'A', 'M', 'R', '\n', 0x04}}};
  for (auto [mode, bytes] : variants) {
    bytes.resize(std::max<size_t>(bytes.size(), 64), 0);
    for (const bool extended : {false, true}) {
      bool taken = false;
      for (const MediaFormat& f : MediaFormatsFor(mode, extended)) taken |= f.check(bytes.data());
      EXPECT_EQ(taken, extended) << bytes[4];
    }
  }
}

}  // namespace
}  // namespace velkor
