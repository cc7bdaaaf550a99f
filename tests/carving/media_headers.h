// The first bytes of real picture, video and audio files a phone holds, as
// far as any signature test reads.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "carving/media_scan.h"

namespace velkor::test {

struct MediaHeader {
  const char* name;
  uint32_t mode;  // kModePictures or kModeVideos
  uint32_t kind;  // the format bit the file is found as
  const char* hex;
};

// clang-format off
inline constexpr MediaHeader kMediaHeaders[] = {
    {"jfif", kModePictures, 0x01, "FFD8FFE000104A46494600010100000100010000FFDB0043000101010101010101010101"},
    {"exif", kModePictures, 0x01, "FFD8FFE1001645786966000049492A0008000000000000000000FFDB0043000101010101"},
    {"png", kModePictures, 0x02, "89504E470D0A1A0A0000000D4948445200000003000000020800000000B81F39C6000000"},
    {"psd", kModePictures, 0x04, "384250530001000000000000000100000002000000020008000100000000000000000000"},
    {"tiff-ii", kModePictures, 0x08, "49492A000800000008000001030001000000020000000101030001000000020000000201"},
    {"tiff-mm", kModePictures, 0x08, "4D4D002A0000000800080100000300000001000200000101000300000001000200000102"},
    {"bmp24", kModePictures, 0x10, "424D4E000000000000003600000028000000030000000200000001001800000000001800"},
    {"bmp8", kModePictures, 0, "424D3E040000000000003604000028000000040000000200000001000800000000000800"},
    {"gif89a", kModePictures, 0x20, "47494638396101000100800000000000FFFFFF2C00000000010001000002024401003B"},
    {"mp4", kModeVideos, 0x01, "000000186674797069736F6D0000020069736F6D6D703431000000086672656500000018"},
    {"mov", kModeVideos, 0x02, "00000014667479707174202000000200717420200000000866726565000000186D646174"},
    {"avi", kModeVideos, 0x04, "524946465C000000415649204C495354440000006864726C617669683800000035820000"},
    {"amr", kModeVideos, 0x08, "2321414D520A3C000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C"},
    {"mpeg2", kModeVideos, 0x10, "000001BA76BCDF780EAB0189C3F8000001BB000980C4E104E1FFE0E0E8000001E0001480"},
    {"mpeg1", kModeVideos, 0x10, "000001BA2DAF37DE0380C4E1000001BB000980C4E104E1FFE0E0E8000001E00011210001"},
    {"mts", kModeVideos, 0x20, "00000000474000100000B0110001C100000000E01F0001E10024AC4884FFFFFFFFFFFFFF"},
};
// clang-format on

inline std::vector<uint8_t> HeaderBytes(std::string_view name) {
  for (const MediaHeader& header : kMediaHeaders) {
    if (name != header.name) continue;
    std::vector<uint8_t> bytes;
    for (const char* hex = header.hex; hex[0] != 0 && hex[1] != 0; hex += 2)
      bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(hex, 2), nullptr, 16)));
    return bytes;
  }
  throw std::invalid_argument("no such media header");
}

}  // namespace velkor::test
