#include "carving/media_signatures.h"

#include <cstring>

#include "carving/carved_file.h"

namespace velkor {

namespace {

uint16_t ReadLE16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

template <size_t N>
bool BytesAre(const uint8_t* p, const char (&text)[N]) {
  return std::memcmp(p, text, N - 1) == 0;
}

// The next start code after an MPEG pack header: 00 00 01 and a stream id of
// B9 (end of stream), BA (pack), BB (system header) or a stream (BC..FF).
bool IsStartCodeAfterPack(const uint8_t* p) {
  return p[0] == 0x00 && p[1] == 0x00 && p[2] == 0x01 && p[3] >= 0xB9;
}

}  // namespace

namespace signatures {

// JPG: FF D8 FF E1 with "Exif" at 6, or FF D8 FF E0 with "JFIF" at 6 (the
// APP1 or APP0 segment right after the start-of-image marker, 2 length
// bytes between marker and identifier). The crossed pairs are not taken.
bool IsJpg(const uint8_t* p) {
  if (!BytesAre(p, "\xFF\xD8\xFF")) return false;
  return (p[3] == 0xE1 && BytesAre(p + 6, "Exif")) || (p[3] == 0xE0 && BytesAre(p + 6, "JFIF"));
}

// PNG: the 8-byte file signature 89 "PNG" CR LF 1A LF.
bool IsPng(const uint8_t* p) {
  return BytesAre(p, "\x89PNG\r\n\x1A\n");
}

// PSD:  0 "8BPS"  4 version 00 01  6 six reserved zero bytes (two checked
// as part of 4-7, four as 8-11).
bool IsPsd(const uint8_t* p) {
  return BytesAre(p, "8BPS\x00\x01\x00\x00\x00\x00\x00\x00");
}

// TIF: byte-order mark and the magic 42 in that order: "II" 2A 00 or "MM" 00 2A.
bool IsTif(const uint8_t* p) {
  return BytesAre(p, "II\x2A\x00") || BytesAre(p, "MM\x00\x2A");
}

// BMP, file header then info header, little-endian:
//    0  2  "BM"
//    2  4  file size             (not checked)
//    6  4  reserved, 0
//   10  4  pixel data offset     == 14 + info header size (no colour table)
//   14  4  info header size
//   28  2  bits per pixel        1, 4, 8, 16, 24 or 32
//   30  4  compression           0..3 (none, RLE8, RLE4, bit fields)
bool IsBmp(const uint8_t* p) {
  if (!BytesAre(p, "BM") || ReadLE32(p + 6) != 0) return false;
  if (uint64_t{ReadLE32(p + 14)} + 14 != ReadLE32(p + 10)) return false;
  uint16_t bits = ReadLE16(p + 28);
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  return ReadLE32(p + 30) <= 3;
}

// GIF: "GIF87a" or "GIF89a".
bool IsGif(const uint8_t* p) {
  return BytesAre(p, "GIF87a") || BytesAre(p, "GIF89a");
}

// MP4: a first box of exactly 24 bytes, type "ftyp", major brand "isom".
bool IsMp4(const uint8_t* p) {
  return BytesAre(p,
                  "\x00\x00\x00\x18"
                  "ftypisom");
}

// MOV:  0 box size (any)  4 "ftyp"  8 major brand "qt  "  12 minor version
// (any)  16 first compatible brand "mp42" or "qt  ".
bool IsMov(const uint8_t* p) {
  if (!BytesAre(p + 4, "ftypqt  ")) return false;
  return BytesAre(p + 16, "mp42") || BytesAre(p + 16, "qt  ");
}

// AVI:  0 "RIFF"  4 size  8 "AVI "  12 "LIST"  16 size  20 "hdrl"  24 "avih"
bool IsAvi(const uint8_t* p) {
  return BytesAre(p, "RIFF") && BytesAre(p + 8, "AVI LIST") && BytesAre(p + 20, "hdrlavih");
}

// AMR: the magic "#!AMR" LF, then a first frame header 3C (narrow-band mode
// 7, 12.2 kbit/s, quality bit set).
bool IsAmr(const uint8_t* p) {
  return BytesAre(p, "#!AMR\n\x3C");
}

// MPG, an MPEG program stream starting with a pack header.
//
// MPEG-2 pack header, 14 bytes and 0 to 7 stuffing bytes:
//    0  4  00 00 01 BA                 pack start code
//    4  1  0 1 s s s 1 s s             '01', SCR 32..30, marker, SCR 29..28
//    5  1  SCR 27..20
//    6  1  s s s s s 1 s s             SCR 19..15, marker, SCR 14..13
//    7  1  SCR 12..5
//    8  1  s s s s s 1 e e             SCR 4..0, marker, SCR extension 8..7
//    9  1  e e e e e e e 1             SCR extension 6..0, marker
//   10  3  mux rate (22 bits, not 0), marker, marker
//   13  1  1 1 1 1 1 n n n             reserved ones, stuffing length n
//   14  n  FF ...                      stuffing
//
// MPEG-1 pack header, 12 bytes:
//    4  1  0 0 1 0 s s s 1             '0010', SCR 32..30, marker
//    5  1  SCR 29..22
//    6  1  SCR 21..15, marker
//    7  1  SCR 14..7
//    8  1  SCR 6..0, marker
//    9  3  marker, mux rate (22 bits, not 0), marker
//
// Either is followed by the next start code (see IsStartCodeAfterPack). At
// most 14 + 7 + 4 = 25 bytes are read.
bool IsMpg(const uint8_t* p) {
  if (!BytesAre(p, "\x00\x00\x01\xBA")) return false;
  if ((p[4] & 0xC4) == 0x44) {
    if ((p[6] & 0x04) == 0 || (p[8] & 0x04) == 0 || (p[9] & 0x01) == 0) return false;
    if ((p[12] & 0x03) != 0x03 || (p[13] & 0xF8) != 0xF8) return false;
    uint32_t muxRate = (uint32_t{p[10]} << 14) | (uint32_t{p[11]} << 6) | (p[12] >> 2);
    if (muxRate == 0) return false;
    size_t stuffing = p[13] & 0x07;
    for (size_t k = 0; k < stuffing; ++k) {
      if (p[14 + k] != 0xFF) return false;
    }
    return IsStartCodeAfterPack(p + 14 + stuffing);
  }
  if ((p[4] & 0xF1) == 0x21) {
    if ((p[6] & 0x01) == 0 || (p[8] & 0x01) == 0) return false;
    if ((p[9] & 0x80) == 0 || (p[11] & 0x01) == 0) return false;
    uint32_t muxRate = (uint32_t{p[9] & 0x7Fu} << 15) | (uint32_t{p[10]} << 7) | (p[11] >> 1);
    if (muxRate == 0) return false;
    return IsStartCodeAfterPack(p + 12);
  }
  return false;
}

// MTS, a 192-byte transport packet starting with a program association table:
//    0  4  00 00 00 00     time-code prefix, zero
//    4  2  47 40           sync byte; payload start, PID 0
//    6  2  (any)           PID low byte, flags, continuity counter
//    8  4  00 00 B0 11     pointer 0; table 0; section length 17
//   12  4  00 01 C1 00     stream id 1; version 0, current; section 0
//   16  4  00 00 00 E0     last section 0; program 0 (network) on PID...
//   20  4  1F 00 01 E1     ...0x001F; program 1 on PID...
//   24  4  00 24 AC 48     ...0x0100; first three bytes of the checksum
bool IsMts(const uint8_t* p) {
  return BytesAre(p, "\x00\x00\x00\x00\x47\x40") &&
         BytesAre(p + 8,
                  "\x00\x00\xB0\x11\x00\x01\xC1\x00\x00\x00\x00\xE0\x1F\x00\x01\xE1\x00\x24\xAC"
                  "\x48");
}

}  // namespace signatures

const std::array<MediaFormat, 6>& MediaFormatsFor(uint32_t mode) {
  return mode == kModeVideos ? kVideoFormats : kPictureFormats;
}

const MediaFormat* FindMediaFormat(const std::array<MediaFormat, 6>& formats, uint32_t bit) {
  for (const MediaFormat& format : formats) {
    if (format.bit == bit) return &format;
  }
  return nullptr;
}

}  // namespace velkor
