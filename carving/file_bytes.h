// The bytes of one carved file's region, read through a small cache. A walk
// over a file's structure reads only through it, so it never sees a byte
// past the image's end, past the region's limit, or that the image did not
// give: each of those reads fails instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/image_source.h"

namespace velkor {

class FileBytes {
 public:
  // The region [start, start + limit) of image; positions count from start.
  FileBytes(ImageSource& image, uint64_t start, uint64_t limit);

  uint64_t Limit() const { return limit_; }
  // Copies n bytes at pos into out; false when any of them is not available.
  bool Get(uint64_t pos, uint8_t* out, size_t n);
  bool Byte(uint64_t pos, uint8_t& value) { return Get(pos, &value, 1); }
  bool Be16(uint64_t pos, uint32_t& value);
  bool Be32(uint64_t pos, uint32_t& value);
  bool Le32(uint64_t pos, uint32_t& value);

 private:
  void Fill(uint64_t block);

  ImageSource& image_;
  uint64_t start_;
  uint64_t limit_;
  std::vector<uint8_t> cache_;
  uint64_t cacheBlock_ = UINT64_MAX;
  size_t cacheBytes_ = 0;  // bytes of the cached block the image gave
};

}  // namespace velkor
