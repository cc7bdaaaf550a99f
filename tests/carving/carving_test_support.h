// Shared pieces of the carving tests: images of filler bytes with file
// headers placed in them, and a media scan of such an image in memory.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <tuple>
#include <vector>

#include "carving/media_scan.h"
#include "engine/scan_input.h"
#include "tests/carving/media_headers.h"
#include "tests/support/test_support.h"

namespace velkor::test {

// Bytes of an image without any file in it: every byte has its high bit set,
// and every signature holds at least one byte below 0x80 at a fixed place.
inline Bytes FillerImage(size_t size) {
  Bytes image(size);
  uint32_t state = 12345;
  for (uint8_t& byte : image) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(0x80u | (state >> 16));
  }
  return image;
}

// Copies the named header into image at offset; bytes past the end are dropped.
inline void Place(Bytes& image, uint64_t offset, const char* header) {
  const Bytes file = HeaderBytes(header);
  for (size_t i = 0; i < file.size() && offset + i < image.size(); ++i) image[offset + i] = file[i];
}

inline MediaScanParams Params(uint32_t mode, uint64_t startSector, uint64_t sectorCount,
                              uint32_t blockSize = 4096, uint32_t formats = 0x3F,
                              uint64_t maxFileSize = 104857600) {
  return {mode, startSector, sectorCount, maxFileSize, blockSize, formats};
}

struct ScanFixture {
  ScanFixture(Bytes image, const MediaScanParams& scanParams)
      : input{.imagePath = "/images/phone.img",
              .imageOpener = MemoryOpener(std::move(image)),
              .progress = &recorder,
              .log = &recorder,
              .stop = &stop},
        params(scanParams) {}
  void Scan() {
    result = params.mode == kModeVideos ? ScanVideos(input, params, found)
                                        : ScanPictures(input, params, found);
  }
  ScanInput input;
  MediaScanParams params;
  CarvedFileStore found;
  ScanResult result;
  std::atomic<bool> stop{false};
  Recorder recorder;
};

using Found = std::tuple<uint64_t, uint32_t, uint64_t>;
inline std::vector<Found> Listed(const CarvedFileStore& store) {
  std::vector<Found> out;
  for (const auto& [offset, file] : store) out.emplace_back(offset, file.kind, file.length);
  return out;
}

}  // namespace velkor::test
