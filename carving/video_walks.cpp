// The structure walks of the video and audio formats.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "carving/format_walks.h"

namespace velkor::walks {
namespace {

// Box types that stand at the top level of an ISO media or QuickTime file.
bool IsTopLevelBox(const uint8_t* type) {
  static constexpr std::array<std::string_view, 20> kTypes = {
      "ftyp", "moov", "mdat", "free", "skip", "wide", "uuid", "pdin", "moof", "mfra",
      "meta", "sidx", "styp", "pnot", "junk", "prfl", "ssix", "emsg", "prft", "udta"};
  const std::string_view text(reinterpret_cast<const char*>(type), 4);
  return std::find(kTypes.begin(), kTypes.end(), text) != kTypes.end();
}

}  // namespace

// Top-level boxes by their sizes (a size of 1 takes the 64-bit size after
// the type) to the first bytes that are no top-level box. The file is whole
// when it held both the movie box and the media data; a box that runs to the
// end of the file (size 0) or past the limit gives no end.
std::optional<uint64_t> BoxesLength(FileBytes& bytes) {
  uint64_t pos = 0;
  bool movie = false, media = false;
  for (;;) {
    uint32_t size;
    uint8_t type[4];
    if (!bytes.Be32(pos, size) || !bytes.Get(pos + 4, type, 4) || !IsTopLevelBox(type)) break;
    if (pos != 0 && std::memcmp(type, "ftyp", 4) == 0) break;  // the next file
    uint64_t boxSize = size;
    if (size == 1) {
      uint32_t high, low;
      if (!bytes.Be32(pos + 8, high) || !bytes.Be32(pos + 12, low)) return std::nullopt;
      boxSize = uint64_t{high} << 32 | low;
      if (boxSize < 16) return std::nullopt;
    } else if (size < 8) {
      return std::nullopt;
    }
    if (boxSize > bytes.Limit() - pos) return std::nullopt;
    movie |= std::memcmp(type, "moov", 4) == 0;
    media |= std::memcmp(type, "mdat", 4) == 0;
    pos += boxSize;
  }
  if (!movie || !media) return std::nullopt;
  return pos;
}

// The RIFF size counts the bytes after its own field; an odd size is padded.
std::optional<uint64_t> AviLength(FileBytes& bytes) {
  uint32_t size;
  if (!bytes.Le32(4, size)) return std::nullopt;
  const uint64_t length = 8 + uint64_t{size} + (size & 1);
  if (length > bytes.Limit() || size < 4) return std::nullopt;
  return length;
}

// Narrow-band AMR frames after the 6-byte magic, each a header byte (0,
// mode, quality 1, 0 0) and the mode's number of bytes, to the first header
// that does not hold. Zeros fail the quality bit, so free space after a file
// is never read as frames.
std::optional<uint64_t> AmrLength(FileBytes& bytes) {
  static constexpr uint8_t kFrameBytes[16] = {13, 14, 16, 18, 20, 21, 27, 32,
                                              6,  0,  0,  0,  0,  0,  0,  1};
  uint64_t pos = 6;
  uint64_t frames = 0;
  for (;;) {
    uint8_t header;
    if (!bytes.Byte(pos, header) || (header & 0x83) != 0 || (header & 0x04) == 0) break;
    const uint8_t size = kFrameBytes[(header >> 3) & 15];
    if (size == 0 || size > bytes.Limit() - pos) break;
    pos += size;
    ++frames;
  }
  if (frames == 0) return std::nullopt;
  return pos;
}

// 192-byte packets, a 4-byte time code then the sync byte 47, while the
// sync byte holds.
std::optional<uint64_t> MtsLength(FileBytes& bytes) {
  uint64_t pos = 0;
  uint8_t sync;
  while (bytes.Limit() - pos >= 192 && bytes.Byte(pos + 4, sync) && sync == 0x47) pos += 192;
  if (pos == 0) return std::nullopt;
  return pos;
}

}  // namespace velkor::walks
