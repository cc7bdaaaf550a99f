// What a picture or video scan is asked to do, and what it finds.
#pragma once

#include <cstdint>
#include <map>

namespace velkor {

inline constexpr uint32_t kModePictures = 1;
inline constexpr uint32_t kModeVideos = 2;
inline constexpr uint64_t kSectorSize = 512;

struct MediaScanParams {
  uint32_t mode = 0;         // kModePictures or kModeVideos
  uint64_t startSector = 0;  // first sector of the range
  uint64_t sectorCount = 0;  // length of the range in sectors
  uint64_t maxFileSize = 0;  // upper bound of a carved file's length, bytes
  uint32_t blockSize = 0;    // step between candidate start offsets, bytes
  uint32_t formatMask = 0;   // one bit per format; bits 6 to 31 ignored
  // Ends from each file's own structure where the walk reaches one; the
  // distance to the next hit otherwise.
  bool structureLengths = false;
  // The extended signatures (MediaFormatsFor) instead of the standard ones.
  bool extendedSignatures = false;
};

struct CarvedFile {
  uint64_t offset = 0;  // absolute byte offset of the first byte in the image
  uint32_t kind = 0;    // format bit that matched; read with the scan mode
  uint64_t length = 0;  // distance to the next hit, capped at maxFileSize
  bool verified = false;  // length is where the file's structure ends
};

// At most one file per offset, iterated in ascending offset.
using CarvedFileStore = std::map<uint64_t, CarvedFile>;

}  // namespace velkor
