// Small writers of real picture, video and audio files, built byte by byte
// from the formats' layouts, so that the scans are tested on what a phone
// would hold rather than on bare signatures.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velkor::test {

using Bytes = std::vector<uint8_t>;

void PutBE16(Bytes& out, uint32_t value);
void PutBE32(Bytes& out, uint32_t value);
void PutLE16(Bytes& out, uint32_t value);
void PutLE32(Bytes& out, uint32_t value);
void PutText(Bytes& out, std::string_view text);

// CRC-32 as PNG and zlib use it (reflected, polynomial EDB88320).
uint32_t Crc32(const uint8_t* data, size_t size);
// CRC-32 as MPEG tables use it (polynomial 04C11DB7, not reflected, no final
// inversion).
uint32_t Crc32Mpeg(const uint8_t* data, size_t size);

// 8-bit grey PNG, the pixels in one stored (uncompressed) deflate block.
Bytes MakePng(uint32_t width, uint32_t height);
// BMP with a 40-byte info header; 24 bits per pixel has no colour table,
// 8 bits a 256-entry one between the headers.
Bytes MakeBmp(int32_t width, int32_t height, uint16_t bitsPerPixel);
// 1 x 1 GIF, version "87a" or "89a".
Bytes MakeGif(std::string_view version);

// 8 x 8 grey baseline JPEG. The marker and identifier of its first segment
// are chosen separately, so that the crossed pairs can be built too.
enum class JpegApp : uint8_t { kApp0 = 0xE0, kApp1 = 0xE1 };
Bytes MakeJpeg(JpegApp marker, std::string_view identifier);
inline Bytes MakeJfif() {
  return MakeJpeg(JpegApp::kApp0, "JFIF");
}
inline Bytes MakeExif() {
  return MakeJpeg(JpegApp::kApp1, "Exif");
}

// 2 x 2 8-bit grey TIFF, little-endian ("II") or big-endian ("MM").
Bytes MakeTiff(bool bigEndian);
// 2 x 2 8-bit greyscale PSD, raw image data.
Bytes MakePsd();

// ISO media file: ftyp box of ftypSize bytes (at least 16) with the given
// major and first compatible brand, then a free box and a small mdat.
Bytes MakeIsoMedia(uint32_t ftypSize, std::string_view major, std::string_view compatible);
inline Bytes MakeMp4() {
  return MakeIsoMedia(24, "isom", "isom");
}
inline Bytes MakeMov() {
  return MakeIsoMedia(20, "qt  ", "qt  ");
}
// RIFF AVI with its hdrl list and main header, no streams.
Bytes MakeAvi();
// AMR narrow-band file of three frames with the given frame header byte
// (3C: mode 7, 32-byte frames).
Bytes MakeAmr(uint8_t frameHeader = 0x3C);
// Two 192-byte transport packets: the program association table (program 1
// on PID 0x0100, network on 0x001F) and a program map table.
Bytes MakeMts();

// MPEG program stream: pack header, system header, one video PES packet,
// end code. version 1 or 2; stuffing 0..7 bytes after an MPEG-2 pack header.
Bytes MakeMpegPs(int version, uint8_t stuffing = 0, uint32_t muxRate = 25200);

}  // namespace velkor::test
