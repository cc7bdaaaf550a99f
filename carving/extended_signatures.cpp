// Common variants the standard signatures miss, each a superset of its
// standard check, so a scan with them finds everything the standard one does.
#include <cstring>

#include "carving/carved_file.h"
#include "carving/media_signatures.h"

namespace velkor {
namespace {

bool Starts(const uint8_t* p, const char* text, size_t n) {
  return std::memcmp(p, text, n) == 0;
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// A quantisation table right after the start of image.
bool IsJpgExtended(const uint8_t* p) {
  return signatures::IsJpg(p) || Starts(p, "\xFF\xD8\xFF\xDB", 4);
}

// A paletted bitmap of 1 to 8 bits: its colour table lies between the info
// header and the pixels (the used-colour count, or all 2^bits when 0).
bool IsBmpExtended(const uint8_t* p) {
  if (signatures::IsBmp(p)) return true;
  if (!Starts(p, "BM", 2) || Le32(p + 6) != 0) return false;
  const uint32_t bits = p[28] | p[29] << 8;
  if (bits != 1 && bits != 4 && bits != 8) return false;
  const uint32_t info = Le32(p + 14);
  if (info != 40 && info != 108 && info != 124) return false;
  const uint64_t colours = Le32(p + 46) != 0 ? Le32(p + 46) : 1u << bits;
  if (colours > 1u << bits) return false;
  return Le32(p + 10) == 14 + uint64_t{info} + 4 * colours && Le32(p + 30) <= 2;
}

// A first box of 24 or 32 bytes with the brand isom, mp42, 3gp4 or 3gp5.
bool IsMp4Extended(const uint8_t* p) {
  if (signatures::IsMp4(p)) return true;
  if (!Starts(p, "\0\0\0", 3) || (p[3] != 0x18 && p[3] != 0x20) || !Starts(p + 4, "ftyp", 4))
    return false;
  return Starts(p + 8, "isom", 4) || Starts(p + 8, "mp42", 4) || Starts(p + 8, "3gp4", 4) ||
         Starts(p + 8, "3gp5", 4);
}

// A first frame of any narrow-band mode (0 to 7, or 8 for comfort noise)
// with the quality bit set.
bool IsAmrExtended(const uint8_t* p) {
  return Starts(p, "#!AMR\n", 6) && (p[6] & 0x83) == 0 && (p[6] & 0x04) != 0 &&
         ((p[6] >> 3) & 15) <= 8;
}

constexpr std::array<MediaFormat, 6> kExtendedPictureFormats{{
    {0x01, u"jpg", IsJpgExtended},
    {0x02, u"png", signatures::IsPng},
    {0x04, u"psd", signatures::IsPsd},
    {0x08, u"tif", signatures::IsTif},
    {0x10, u"bmp", IsBmpExtended},
    {0x20, u"gif", signatures::IsGif},
}};

constexpr std::array<MediaFormat, 6> kExtendedVideoFormats{{
    {0x01, u"mp4", IsMp4Extended},
    {0x02, u"mov", signatures::IsMov},
    {0x04, u"avi", signatures::IsAvi},
    {0x08, u"amr", IsAmrExtended},
    {0x10, u"mpg", signatures::IsMpg},
    {0x20, u"mts", signatures::IsMts},
}};

}  // namespace

const std::array<MediaFormat, 6>& MediaFormatsFor(uint32_t mode, bool extended) {
  if (!extended) return MediaFormatsFor(mode);
  return mode == kModeVideos ? kExtendedVideoFormats : kExtendedPictureFormats;
}

}  // namespace velkor
