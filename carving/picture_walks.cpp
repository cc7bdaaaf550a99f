// The structure walks of the picture formats.
#include <algorithm>
#include <array>
#include <vector>

#include "carving/format_walks.h"

namespace velkor::walks {
namespace {

// CRC-32 of PNG chunks (ISO 3309, reflected polynomial EDB88320).
const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

bool ChunkCrcHolds(FileBytes& bytes, uint64_t typeAt, uint64_t length) {
  const auto& table = CrcTable();
  uint32_t crc = 0xFFFFFFFFu;
  std::array<uint8_t, 4096> buffer;
  for (uint64_t done = 0; done < length + 4;) {
    const size_t take = static_cast<size_t>(std::min<uint64_t>(buffer.size(), length + 4 - done));
    if (!bytes.Get(typeAt + done, buffer.data(), take)) return false;
    for (size_t i = 0; i < take; ++i) crc = table[(crc ^ buffer[i]) & 0xFF] ^ (crc >> 8);
    done += take;
  }
  uint32_t stored;
  return bytes.Be32(typeAt + 4 + length, stored) && stored == (crc ^ 0xFFFFFFFFu);
}

bool IsChunkType(const uint8_t* type) {
  return std::all_of(type, type + 4, [](uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  });
}

// GIF data sub-blocks from pos: each a size byte and that many bytes, to a
// zero size. Returns the position after the terminator.
std::optional<uint64_t> SkipSubBlocks(FileBytes& bytes, uint64_t pos) {
  for (;;) {
    uint8_t size;
    if (!bytes.Byte(pos, size)) return std::nullopt;
    pos += 1 + size;
    if (size == 0) return pos;
  }
}

}  // namespace

// Segments by their lengths; after a start-of-scan segment the entropy-coded
// data runs to the next marker that is not a stuffed FF 00 or a restart
// marker. An embedded thumbnail's end marker lies inside an APP segment, so
// skipping segments whole never stops there.
std::optional<uint64_t> JpegLength(FileBytes& bytes) {
  uint64_t pos = 2;
  for (;;) {
    uint8_t lead, marker;
    if (!bytes.Byte(pos, lead) || lead != 0xFF) return std::nullopt;
    do {
      if (!bytes.Byte(++pos, marker)) return std::nullopt;
    } while (marker == 0xFF);
    --pos;  // pos: the FF before the marker
    if (marker == 0xD9) return pos + 2;
    if (marker == 0xD8 || marker == 0x00) return std::nullopt;
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      pos += 2;
      continue;
    }
    uint32_t length;
    if (!bytes.Be16(pos + 2, length) || length < 2) return std::nullopt;
    pos += 2 + length;
    if (marker != 0xDA) continue;
    for (;;) {
      uint8_t b;
      if (!bytes.Byte(pos, b)) return std::nullopt;
      if (b != 0xFF) {
        ++pos;
        continue;
      }
      uint8_t next;
      if (!bytes.Byte(pos + 1, next)) return std::nullopt;
      if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
        pos += 2;
      } else if (next == 0xFF) {
        ++pos;
      } else {
        break;  // a marker: back to the segment walk
      }
    }
  }
}

// The first chunk is the 13-byte header; a chunk must fit the region before
// its CRC is worked out, so a wild length costs nothing.
std::optional<uint64_t> PngLength(FileBytes& bytes) {
  uint64_t pos = 8;
  for (;;) {
    uint32_t length;
    uint8_t type[4];
    if (!bytes.Be32(pos, length) || length > bytes.Limit() - std::min(bytes.Limit(), pos + 12) ||
        !bytes.Get(pos + 4, type, 4) || !IsChunkType(type) ||
        (pos == 8 && (length != 13 || !std::equal(type, type + 4, "IHDR"))) ||
        !ChunkCrcHolds(bytes, pos + 4, length))
      return std::nullopt;
    pos += 12 + uint64_t{length};
    if (std::equal(type, type + 4, "IEND")) return pos;
  }
}

std::optional<uint64_t> GifLength(FileBytes& bytes) {
  uint8_t screen[13];
  if (!bytes.Get(0, screen, sizeof screen)) return std::nullopt;
  uint64_t pos = 13;
  if (screen[10] & 0x80) pos += 3u << ((screen[10] & 7) + 1);
  for (;;) {
    uint8_t block;
    if (!bytes.Byte(pos, block)) return std::nullopt;
    if (block == 0x3B) return pos + 1;
    if (block == 0x21) {
      auto end = SkipSubBlocks(bytes, pos + 2);
      if (!end) return std::nullopt;
      pos = *end;
    } else if (block == 0x2C) {
      uint8_t descriptor[10];
      if (!bytes.Get(pos, descriptor, sizeof descriptor)) return std::nullopt;
      pos += 10;
      if (descriptor[9] & 0x80) pos += 3u << ((descriptor[9] & 7) + 1);
      auto end = SkipSubBlocks(bytes, pos + 1);  // after the LZW code size
      if (!end) return std::nullopt;
      pos = *end;
    } else {
      return std::nullopt;
    }
  }
}

// The file-size field, believed when the pixel rows of an uncompressed
// bitmap fill the bytes between the data offset and it (some writers pad up
// to 4 bytes).
std::optional<uint64_t> BmpLength(FileBytes& bytes) {
  uint8_t h[34];
  if (!bytes.Get(0, h, sizeof h)) return std::nullopt;
  auto le32 = [&](size_t at) {
    return uint32_t{h[at]} | uint32_t{h[at + 1]} << 8 | uint32_t{h[at + 2]} << 16 |
           uint32_t{h[at + 3]} << 24;
  };
  const uint64_t size = le32(2);
  const uint64_t dataOffset = le32(10);
  const uint64_t width = le32(18);
  const auto height = static_cast<int32_t>(le32(22));
  const uint64_t bits = uint32_t{h[28]} | uint32_t{h[29]} << 8;
  const uint32_t compression = le32(30);
  if (size <= dataOffset || size > bytes.Limit()) return std::nullopt;
  if (compression == 0 || compression == 3) {
    const uint64_t rows = height < 0 ? 0 - static_cast<int64_t>(height) : height;
    const uint64_t rowBytes = (width * bits + 31) / 32 * 4;
    const uint64_t pixels = rowBytes * rows;
    if (width > 1u << 20 || rows > 1u << 20 || size < dataOffset + pixels ||
        size > dataOffset + pixels + 4)
      return std::nullopt;
  }
  return size;
}

namespace {

// TIFF fields in the file's byte order.
struct TiffReader {
  FileBytes& bytes;
  bool little;
  bool U16(uint64_t pos, uint32_t& v) {
    uint8_t b[2];
    if (!bytes.Get(pos, b, 2)) return false;
    v = little ? uint32_t{b[0]} | uint32_t{b[1]} << 8 : uint32_t{b[0]} << 8 | b[1];
    return true;
  }
  bool U32(uint64_t pos, uint32_t& v) {
    if (!little) return bytes.Be32(pos, v);
    return bytes.Le32(pos, v);
  }
  // Value k of an entry's SHORT or LONG array (inline when it fits 4 bytes).
  bool Value(uint64_t entry, uint32_t type, uint32_t count, uint32_t k, uint32_t& v) {
    const uint32_t size = type == 3 ? 2 : 4;
    uint64_t at = entry + 8;
    if (uint64_t{count} * size > 4) {
      uint32_t offset;
      if (!U32(entry + 8, offset)) return false;
      at = offset;
    }
    return size == 2 ? U16(at + uint64_t{k} * 2, v) : U32(at + uint64_t{k} * 4, v);
  }
};

uint32_t TiffTypeSize(uint32_t type) {
  static constexpr uint8_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
  return type < sizeof kSizes ? kSizes[type] : 0;
}

}  // namespace

// The largest end of any IFD, of any value an entry points at, and of any
// strip or tile (offsets paired with byte counts), over the IFD chain and the
// sub-, Exif and GPS IFDs. Each IFD is visited once; a cycle or an entry
// pointing past the limit fails the walk.
std::optional<uint64_t> TiffLength(FileBytes& bytes) {
  uint8_t order[2];
  if (!bytes.Get(0, order, 2)) return std::nullopt;
  TiffReader tiff{bytes, order[0] == 'I'};
  uint32_t first;
  if (!tiff.U32(4, first)) return std::nullopt;
  std::vector<uint32_t> pending{first};
  std::vector<uint32_t> visited;
  uint64_t end = 8;
  while (!pending.empty()) {
    const uint32_t ifd = pending.back();
    pending.pop_back();
    if (ifd == 0) continue;
    if (ifd < 8 || std::find(visited.begin(), visited.end(), ifd) != visited.end() ||
        visited.size() >= 64)
      return std::nullopt;
    visited.push_back(ifd);
    uint32_t count;
    if (!tiff.U16(ifd, count) || count == 0 || count > 4096) return std::nullopt;
    const uint64_t ifdEnd = uint64_t{ifd} + 2 + uint64_t{count} * 12 + 4;
    uint32_t next;
    if (!tiff.U32(ifdEnd - 4, next)) return std::nullopt;
    pending.push_back(next);
    end = std::max(end, ifdEnd);
    uint64_t pieces[2] = {0, 0};  // entries of the offsets and the counts
    uint32_t pieceType[2] = {0, 0}, pieceCount[2] = {0, 0};
    for (uint32_t i = 0; i < count; ++i) {
      const uint64_t entry = uint64_t{ifd} + 2 + uint64_t{i} * 12;
      uint32_t tag, type, n, value;
      if (!tiff.U16(entry, tag) || !tiff.U16(entry + 2, type) || !tiff.U32(entry + 4, n) ||
          !tiff.U32(entry + 8, value))
        return std::nullopt;
      const uint64_t valueBytes = uint64_t{n} * TiffTypeSize(type);
      if (valueBytes > 4) {
        if (uint64_t{value} + valueBytes > bytes.Limit()) return std::nullopt;
        end = std::max(end, uint64_t{value} + valueBytes);
      }
      const int piece = tag == 273 || tag == 324 ? 0 : tag == 279 || tag == 325 ? 1 : -1;
      if (piece >= 0 && (type == 3 || type == 4)) {
        pieces[piece] = entry;
        pieceType[piece] = type;
        pieceCount[piece] = n;
      }
      if ((tag == 330 || tag == 34665 || tag == 34853) && (type == 4 || type == 13)) {
        for (uint32_t k = 0; k < std::min<uint32_t>(n, 16); ++k) {
          uint32_t sub;
          if (!tiff.Value(entry, 4, n, k, sub)) return std::nullopt;
          pending.push_back(sub);
        }
      }
    }
    if (pieces[0] != 0 && pieces[1] != 0) {
      if (pieceCount[0] != pieceCount[1] || pieceCount[0] > 1u << 16) return std::nullopt;
      for (uint32_t k = 0; k < pieceCount[0]; ++k) {
        uint32_t offset, length;
        if (!tiff.Value(pieces[0], pieceType[0], pieceCount[0], k, offset) ||
            !tiff.Value(pieces[1], pieceType[1], pieceCount[1], k, length))
          return std::nullopt;
        end = std::max(end, uint64_t{offset} + length);
      }
    }
  }
  if (end > bytes.Limit()) return std::nullopt;
  return end;
}

// Header, then the colour-mode, image-resource and layer sections by their
// lengths, then the merged image data: raw (channels x rows x row bytes) or
// RLE (a table of each row's byte count, then the rows).
std::optional<uint64_t> PsdLength(FileBytes& bytes) {
  uint32_t channels, height, width, depth;
  if (!bytes.Be16(12, channels) || !bytes.Be32(14, height) || !bytes.Be32(18, width) ||
      !bytes.Be16(22, depth) || channels == 0 || channels > 56 || height > 300000 ||
      width > 300000 || (depth != 1 && depth != 8 && depth != 16 && depth != 32))
    return std::nullopt;
  uint64_t pos = 26;
  for (int section = 0; section < 3; ++section) {
    uint32_t length;
    if (!bytes.Be32(pos, length)) return std::nullopt;
    pos += 4 + uint64_t{length};
  }
  uint32_t compression;
  if (!bytes.Be16(pos, compression)) return std::nullopt;
  pos += 2;
  const uint64_t rows = uint64_t{channels} * height;
  if (compression == 0) {
    pos += rows * ((uint64_t{width} * depth + 7) / 8);
  } else if (compression == 1) {
    if (rows > 1u << 24 || pos + rows * 2 > bytes.Limit()) return std::nullopt;
    uint64_t data = 0;
    for (uint64_t r = 0; r < rows; ++r) {
      uint32_t count;
      if (!bytes.Be16(pos + r * 2, count)) return std::nullopt;
      data += count;
    }
    pos += rows * 2 + data;
  } else {
    return std::nullopt;
  }
  if (pos > bytes.Limit()) return std::nullopt;
  return pos;
}

}  // namespace velkor::walks
