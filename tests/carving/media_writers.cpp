#include "tests/carving/media_writers.h"

#include <cstring>

namespace velkor::test {

void PutBE16(Bytes& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}
void PutBE32(Bytes& out, uint32_t value) {
  PutBE16(out, value >> 16);
  PutBE16(out, value & 0xFFFF);
}
void PutLE16(Bytes& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
void PutLE32(Bytes& out, uint32_t value) {
  PutLE16(out, value & 0xFFFF);
  PutLE16(out, value >> 16);
}
void PutText(Bytes& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint32_t Crc32Mpeg(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= uint32_t{data[i]} << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc << 1) ^ (0x04C11DB7u & (0u - (crc >> 31)));
  }
  return crc;
}

namespace {

void PutPngChunk(Bytes& out, std::string_view type, const Bytes& data) {
  PutBE32(out, static_cast<uint32_t>(data.size()));
  const size_t crcFrom = out.size();
  PutText(out, type);
  out.insert(out.end(), data.begin(), data.end());
  PutBE32(out, Crc32(out.data() + crcFrom, out.size() - crcFrom));
}

void PutJpegSegment(Bytes& out, uint8_t marker, const Bytes& payload) {
  out.push_back(0xFF);
  out.push_back(marker);
  PutBE16(out, static_cast<uint32_t>(payload.size() + 2));
  out.insert(out.end(), payload.begin(), payload.end());
}

}  // namespace

Bytes MakePng(uint32_t width, uint32_t height) {
  Bytes out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  PutBE32(header, width);
  PutBE32(header, height);
  header.insert(header.end(), {8, 0, 0, 0, 0});  // 8-bit grey, deflate, no interlace
  PutPngChunk(out, "IHDR", header);

  Bytes raw;  // each row: filter type 0, then the pixels
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    for (uint32_t x = 0; x < width; ++x) raw.push_back(static_cast<uint8_t>(x * 16 + y));
  }
  uint32_t a = 1, b = 0;  // Adler-32 of the raw bytes
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  Bytes zlib{0x78, 0x01, 0x01};  // zlib header; final stored block
  PutLE16(zlib, static_cast<uint32_t>(raw.size()));
  PutLE16(zlib, static_cast<uint32_t>(~raw.size() & 0xFFFF));
  zlib.insert(zlib.end(), raw.begin(), raw.end());
  PutBE32(zlib, (b << 16) | a);
  PutPngChunk(out, "IDAT", zlib);
  PutPngChunk(out, "IEND", {});
  return out;
}

Bytes MakeBmp(int32_t width, int32_t height, uint16_t bitsPerPixel) {
  const uint32_t colours = bitsPerPixel <= 8 ? 1u << bitsPerPixel : 0;
  const auto stride = static_cast<uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
  const uint32_t pixelBytes = stride * static_cast<uint32_t>(height);
  const uint32_t dataOffset = 14 + 40 + colours * 4;
  Bytes out{'B', 'M'};
  PutLE32(out, dataOffset + pixelBytes);
  PutLE32(out, 0);  // reserved
  PutLE32(out, dataOffset);
  PutLE32(out, 40);
  PutLE32(out, static_cast<uint32_t>(width));
  PutLE32(out, static_cast<uint32_t>(height));
  PutLE16(out, 1);  // planes
  PutLE16(out, bitsPerPixel);
  PutLE32(out, 0);  // no compression
  PutLE32(out, pixelBytes);
  PutLE32(out, 2835);  // 72 dpi
  PutLE32(out, 2835);
  PutLE32(out, colours);
  PutLE32(out, 0);
  for (uint32_t c = 0; c < colours; ++c) PutLE32(out, c * 0x010101u);
  for (uint32_t i = 0; i < pixelBytes; ++i) out.push_back(static_cast<uint8_t>(i * 7));
  return out;
}

Bytes MakeGif(std::string_view version) {
  Bytes out;
  PutText(out, "GIF");
  PutText(out, version);
  PutLE16(out, 1);
  PutLE16(out, 1);
  out.insert(out.end(), {0x80, 0, 0});                 // global table of 2 colours
  out.insert(out.end(), {0, 0, 0, 0xFF, 0xFF, 0xFF});  // black, white
  out.push_back(0x2C);                                 // image descriptor
  PutLE16(out, 0);
  PutLE16(out, 0);
  PutLE16(out, 1);
  PutLE16(out, 1);
  out.push_back(0);
  // LZW, minimum code size 2: clear (4), pixel 0, end (5) in 3-bit codes.
  out.insert(out.end(), {2, 2, 0x44, 0x01, 0, 0x3B});
  return out;
}

Bytes MakeJpeg(JpegApp marker, std::string_view identifier) {
  Bytes out{0xFF, 0xD8};
  Bytes app;
  PutText(app, identifier);
  app.push_back(0);
  if (identifier == "JFIF") {
    app.insert(app.end(), {1, 1, 0, 0, 1, 0, 1, 0, 0});  // 1.01, no units, 1:1, no thumbnail
  } else {
    app.push_back(0);
    app.insert(app.end(), {'I', 'I', 0x2A, 0, 8, 0, 0, 0});  // TIFF header
    app.insert(app.end(), {0, 0, 0, 0, 0, 0});               // empty IFD, no next
  }
  PutJpegSegment(out, static_cast<uint8_t>(marker), app);
  Bytes quant(65, 1);
  quant[0] = 0;  // table 0, 8-bit
  PutJpegSegment(out, 0xDB, quant);
  PutJpegSegment(out, 0xC0, {8, 0, 8, 0, 8, 1, 1, 0x11, 0});  // 8x8, one component
  // One 1-bit code each: DC category 0, AC end of block.
  for (uint8_t tableClass : {uint8_t{0x00}, uint8_t{0x10}}) {
    Bytes huffman{tableClass, 1};
    huffman.resize(17, 0);
    huffman.push_back(0);
    PutJpegSegment(out, 0xC4, huffman);
  }
  PutJpegSegment(out, 0xDA, {1, 1, 0x00, 0, 63, 0});
  out.insert(out.end(), {0x3F, 0xFF, 0xD9});  // codes "0" "0" padded with ones
  return out;
}

Bytes MakeTiff(bool bigEndian) {
  auto put16 = bigEndian ? PutBE16 : PutLE16;
  auto put32 = bigEndian ? PutBE32 : PutLE32;
  Bytes out;
  PutText(out, bigEndian ? "MM" : "II");
  put16(out, 42);
  put32(out, 8);
  const uint32_t entries = 8;
  const uint32_t dataOffset = 8 + 2 + entries * 12 + 4;
  put16(out, entries);
  auto entry = [&](uint32_t tag, uint32_t type, uint32_t value) {
    put16(out, tag);
    put16(out, type);
    put32(out, 1);
    if (type == 3) {  // SHORT: left-justified in the 4-byte field
      put16(out, value);
      put16(out, 0);
    } else {
      put32(out, value);
    }
  };
  entry(256, 3, 2);  // width
  entry(257, 3, 2);  // height
  entry(258, 3, 8);  // bits per sample
  entry(259, 3, 1);  // no compression
  entry(262, 3, 1);  // black is zero
  entry(273, 4, dataOffset);
  entry(278, 3, 2);  // rows per strip
  entry(279, 4, 4);  // strip byte count
  put32(out, 0);     // no next IFD
  out.insert(out.end(), {0x00, 0x40, 0x80, 0xFF});
  return out;
}

Bytes MakePsd() {
  Bytes out;
  PutText(out, "8BPS");
  PutBE16(out, 1);
  out.insert(out.end(), 6, 0);  // reserved
  PutBE16(out, 1);              // channels
  PutBE32(out, 2);              // height
  PutBE32(out, 2);              // width
  PutBE16(out, 8);              // depth
  PutBE16(out, 1);              // greyscale
  PutBE32(out, 0);              // colour mode data
  PutBE32(out, 0);              // image resources
  PutBE32(out, 0);              // layers and masks
  PutBE16(out, 0);              // raw image data
  out.insert(out.end(), {0x10, 0x20, 0x30, 0x40});
  return out;
}

Bytes MakeIsoMedia(uint32_t ftypSize, std::string_view major, std::string_view compatible) {
  Bytes out;
  PutBE32(out, ftypSize);
  PutText(out, "ftyp");
  PutText(out, major);
  PutBE32(out, 0x200);  // minor version
  PutText(out, compatible);
  while (out.size() + 4 <= ftypSize) PutText(out, "mp41");
  PutBE32(out, 8);
  PutText(out, "free");
  PutBE32(out, 8 + 16);
  PutText(out, "mdat");
  for (uint8_t i = 0; i < 16; ++i) out.push_back(i);
  return out;
}

Bytes MakeAvi() {
  Bytes main;  // main AVI header
  for (uint32_t value : {33333u, 0u, 0u, 0x10u, 0u, 0u, 0u, 0u, 176u, 144u, 0u, 0u, 0u, 0u}) {
    PutLE32(main, value);
  }
  Bytes hdrl;
  PutText(hdrl, "hdrlavih");
  PutLE32(hdrl, static_cast<uint32_t>(main.size()));
  hdrl.insert(hdrl.end(), main.begin(), main.end());
  Bytes body;
  PutText(body, "AVI LIST");
  PutLE32(body, static_cast<uint32_t>(hdrl.size()));
  body.insert(body.end(), hdrl.begin(), hdrl.end());
  PutText(body, "LIST");
  PutLE32(body, 4);
  PutText(body, "movi");
  Bytes out;
  PutText(out, "RIFF");
  PutLE32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes MakeAmr(uint8_t frameHeader) {
  Bytes out;
  PutText(out, "#!AMR\n");
  for (int frame = 0; frame < 3; ++frame) {
    out.push_back(frameHeader);
    for (int i = 0; i < 31; ++i) out.push_back(static_cast<uint8_t>(frame * 31 + i));
  }
  return out;
}

namespace {

// One 192-byte packet: 4-byte arrival time, then a 188-byte transport packet
// carrying one section from the start of its payload.
void PutTransportPacket(Bytes& out, uint32_t arrival, uint16_t pid, const Bytes& section) {
  const size_t start = out.size();
  PutBE32(out, arrival);
  out.push_back(0x47);
  PutBE16(out, 0x4000u | pid);  // payload unit start
  out.push_back(0x10);          // payload only, counter 0
  out.push_back(0);             // pointer field
  out.insert(out.end(), section.begin(), section.end());
  PutBE32(out, Crc32Mpeg(section.data(), section.size()));
  out.resize(start + 192, 0xFF);
}

}  // namespace

Bytes MakeMts() {
  Bytes out;
  // Program association: stream 1, version 0; network on 0x001F, program 1
  // on 0x0100. Section length 17 counts from the stream id to the CRC.
  PutTransportPacket(out, 0, 0x0000,
                     {0x00, 0xB0, 0x11, 0x00, 0x01, 0xC1, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x1F, 0x00,
                      0x01, 0xE1, 0x00});
  // Program map of program 1: PCR and one H.264 stream on 0x1011.
  PutTransportPacket(out, 300, 0x0100,
                     {0x02, 0xB0, 0x12, 0x00, 0x01, 0xC1, 0x00, 0x00, 0xF0, 0x11, 0xF0, 0x00, 0x1B,
                      0xF0, 0x11, 0xF0, 0x00});
  return out;
}

Bytes MakeMpegPs(int version, uint8_t stuffing, uint32_t muxRate) {
  const uint64_t scr = 0x1ABCDEF01ull;  // 33 bits, every field non-zero
  Bytes out{0x00, 0x00, 0x01, 0xBA};
  if (version == 2) {
    const uint32_t ext = 0x155;
    out.push_back(static_cast<uint8_t>(0x44 | ((scr >> 27) & 0x38) | ((scr >> 28) & 0x03)));
    out.push_back(static_cast<uint8_t>(scr >> 20));
    out.push_back(static_cast<uint8_t>(((scr >> 12) & 0xF8) | 0x04 | ((scr >> 13) & 0x03)));
    out.push_back(static_cast<uint8_t>(scr >> 5));
    out.push_back(static_cast<uint8_t>(((scr << 3) & 0xF8) | 0x04 | ((ext >> 7) & 0x03)));
    out.push_back(static_cast<uint8_t>(((ext << 1) & 0xFE) | 0x01));
    const uint32_t rate = (muxRate << 2) | 0x03;
    out.insert(out.end(), {static_cast<uint8_t>(rate >> 16), static_cast<uint8_t>(rate >> 8),
                           static_cast<uint8_t>(rate)});
    out.push_back(static_cast<uint8_t>(0xF8 | stuffing));
    out.insert(out.end(), stuffing, 0xFF);
  } else {
    out.push_back(static_cast<uint8_t>(0x21 | ((scr >> 29) & 0x0E)));
    out.push_back(static_cast<uint8_t>(scr >> 22));
    out.push_back(static_cast<uint8_t>(((scr >> 14) & 0xFE) | 0x01));
    out.push_back(static_cast<uint8_t>(scr >> 7));
    out.push_back(static_cast<uint8_t>(((scr << 1) & 0xFE) | 0x01));
    out.push_back(static_cast<uint8_t>(0x80 | ((muxRate >> 15) & 0x7F)));
    out.push_back(static_cast<uint8_t>(muxRate >> 7));
    out.push_back(static_cast<uint8_t>(((muxRate << 1) & 0xFE) | 0x01));
  }
  // System header: rate bound, one audio and one video bound, one stream.
  out.insert(out.end(), {0x00, 0x00, 0x01, 0xBB, 0x00, 0x09});
  const uint32_t rateBound = 0x800000u | (muxRate << 1) | 0x01;
  out.insert(out.end(), {static_cast<uint8_t>(rateBound >> 16),
                         static_cast<uint8_t>(rateBound >> 8), static_cast<uint8_t>(rateBound)});
  out.insert(out.end(), {0x04, 0xE1, 0xFF, 0xE0, 0xE0, 0xE8});
  // Video PES packet with a presentation time stamp; a sequence header as
  // payload.
  const Bytes pts{0x21, 0x00, 0x01, 0x00, 0x01};
  const Bytes payload{0x00, 0x00, 0x01, 0xB3, 0x16, 0x01, 0x20, 0x13, 0xFF, 0xFF, 0xE0, 0x18};
  const Bytes header = version == 2 ? Bytes{0x80, 0x80, 0x05} : Bytes{};
  out.insert(out.end(), {0x00, 0x00, 0x01, 0xE0});
  PutBE16(out, static_cast<uint32_t>(header.size() + pts.size() + payload.size()));
  out.insert(out.end(), header.begin(), header.end());
  out.insert(out.end(), pts.begin(), pts.end());
  out.insert(out.end(), payload.begin(), payload.end());
  out.insert(out.end(), {0x00, 0x00, 0x01, 0xB9});
  return out;
}

}  // namespace velkor::test
