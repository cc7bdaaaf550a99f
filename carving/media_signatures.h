// Start signatures of the picture and video formats that a media scan finds.
//
// Each format is one descriptor {format bit, file extension, check}; the two
// lists are in the order the formats are tested at a candidate, and the first
// check that matches decides the kind. The bit is the same value that the scan
// parameters select the format with and that a CarvedFile stores as its kind.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velkor {

// Every check reads at most this many bytes from the candidate, and may read
// all of them without a bound: the caller guarantees they are readable, and
// passes zeros for bytes that lie beyond the window it scans.
inline constexpr size_t kSignatureProbeBytes = 34;

using SignatureCheck = bool (*)(const uint8_t* candidate);

struct MediaFormat {
  uint32_t bit;
  std::u16string_view extension;  // without the dot, as in "jpg"
  SignatureCheck check;
};

namespace signatures {
bool IsJpg(const uint8_t* p);
bool IsPng(const uint8_t* p);
bool IsPsd(const uint8_t* p);
bool IsTif(const uint8_t* p);
bool IsBmp(const uint8_t* p);
bool IsGif(const uint8_t* p);
bool IsMp4(const uint8_t* p);
bool IsMov(const uint8_t* p);
bool IsAvi(const uint8_t* p);
bool IsAmr(const uint8_t* p);
bool IsMpg(const uint8_t* p);
bool IsMts(const uint8_t* p);
}  // namespace signatures

inline constexpr std::array<MediaFormat, 6> kPictureFormats{{
    {0x01, u"jpg", signatures::IsJpg},
    {0x02, u"png", signatures::IsPng},
    {0x04, u"psd", signatures::IsPsd},
    {0x08, u"tif", signatures::IsTif},
    {0x10, u"bmp", signatures::IsBmp},
    {0x20, u"gif", signatures::IsGif},
}};

// The video signatures exclude one another (MTS needs 00 00 00 00 where MPG
// needs 00 00 01 BA), so at most one matches and the order is that of the bits.
inline constexpr std::array<MediaFormat, 6> kVideoFormats{{
    {0x01, u"mp4", signatures::IsMp4},
    {0x02, u"mov", signatures::IsMov},
    {0x04, u"avi", signatures::IsAvi},
    {0x08, u"amr", signatures::IsAmr},
    {0x10, u"mpg", signatures::IsMpg},
    {0x20, u"mts", signatures::IsMts},
}};

// All six bits of a list; bits 6 to 31 of a format mask mean nothing.
inline constexpr uint32_t kAllMediaFormats = 0x3F;

// The formats of a scan mode: pictures for kModePictures, videos otherwise.
const std::array<MediaFormat, 6>& MediaFormatsFor(uint32_t mode);
// With extended, the same formats with checks that also take common variants
// the standard ones miss: a JPEG starting FF D8 FF DB, a paletted BMP, an MP4
// whose first box is 32 bytes or whose brand is mp42, 3gp4 or 3gp5, AMR
// starting with a frame of any mode.
const std::array<MediaFormat, 6>& MediaFormatsFor(uint32_t mode, bool extended);

// The format with the given bit in a list, or null.
const MediaFormat* FindMediaFormat(const std::array<MediaFormat, 6>& formats, uint32_t bit);

}  // namespace velkor
