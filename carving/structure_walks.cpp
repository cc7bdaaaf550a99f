#include "carving/structure_walks.h"

#include "carving/format_walks.h"

namespace velkor {

// Start codes 00 00 01 xx: B9 ends the program, BA opens a pack (MPEG-2:
// 14 bytes and its stuffing; MPEG-1: 12 bytes), BB and BC..FF carry their
// length in the two bytes after the code. Anything else is no part of the
// stream.
MpegStreamExtent WalkMpegStream(FileBytes& bytes) {
  uint64_t pos = 0;
  for (;;) {
    uint8_t code[5];
    if (!bytes.Get(pos, code, 4) || code[0] != 0 || code[1] != 0 || code[2] != 1) break;
    if (code[3] == 0xB9) return {pos + 4, true};
    if (code[3] == 0xBA) {
      uint8_t mode, stuffing = 0;
      if (!bytes.Byte(pos + 4, mode)) break;
      uint64_t header;
      if ((mode & 0xC0) == 0x40) {
        if (!bytes.Byte(pos + 13, stuffing)) break;
        header = 14 + (stuffing & 7u);
      } else if ((mode & 0xF0) == 0x20) {
        header = 12;
      } else {
        break;
      }
      if (header > bytes.Limit() - pos) break;
      pos += header;
    } else if (code[3] >= 0xBB) {
      uint32_t length;
      if (!bytes.Be16(pos + 4, length) || 6 + uint64_t{length} > bytes.Limit() - pos) break;
      pos += 6 + uint64_t{length};
    } else {
      break;
    }
  }
  return {pos, false};
}

std::optional<uint64_t> StructureLength(std::u16string_view format, FileBytes& bytes) {
  std::optional<uint64_t> length;
  if (format == u"jpg") length = walks::JpegLength(bytes);
  else if (format == u"png") length = walks::PngLength(bytes);
  else if (format == u"gif") length = walks::GifLength(bytes);
  else if (format == u"bmp") length = walks::BmpLength(bytes);
  else if (format == u"tif") length = walks::TiffLength(bytes);
  else if (format == u"psd") length = walks::PsdLength(bytes);
  else if (format == u"mp4" || format == u"mov") length = walks::BoxesLength(bytes);
  else if (format == u"avi") length = walks::AviLength(bytes);
  else if (format == u"amr") length = walks::AmrLength(bytes);
  else if (format == u"mts") length = walks::MtsLength(bytes);
  else if (format == u"mpg") {
    const MpegStreamExtent stream = WalkMpegStream(bytes);
    if (stream.ended) length = stream.extent;
  }
  if (length && (*length == 0 || *length > bytes.Limit())) return std::nullopt;
  return length;
}

}  // namespace velkor
