// Reading a window of an image that may be partly unreadable: what a failing
// disk still gives is kept, and the bytes it does not give are known by
// range, so that nothing read as zeros is taken for the phone's own bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/image_source.h"

namespace velkor {

// A failed read is retried in pieces of this size, aligned to the image.
inline constexpr uint32_t kReadPiece = 4096;

// A run of bytes at absolute image offsets.
struct ByteRange {
  uint64_t offset = 0;
  uint64_t length = 0;
  uint64_t End() const { return offset + length; }
  bool operator==(const ByteRange&) const = default;
};

// Reads count bytes at offset into the start of buffer and zeroes the rest of
// it. When the first read stops short of the image's end, the rest is read
// again piece by piece. Returns the bytes below the image's size that no read
// gave (zeros in buffer), ascending and merged. Bytes past the image's end
// are zeros too but are not unreadable.
std::vector<ByteRange> ReadWindowPiecewise(ImageSource& image, std::vector<uint8_t>& buffer,
                                           size_t count, uint64_t offset);

// The parts of ranges that lie in [begin, end), in order.
std::vector<ByteRange> ClipRanges(const std::vector<ByteRange>& ranges, uint64_t begin,
                                  uint64_t end);

// True when [begin, end) shares a byte with one of the ascending ranges.
bool Touches(const std::vector<ByteRange>& ranges, uint64_t begin, uint64_t end);

}  // namespace velkor
