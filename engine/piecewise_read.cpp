#include "engine/piecewise_read.h"

#include <algorithm>

namespace velkor {

// Invariant of the piece walk: every byte before `pos` (relative to offset)
// is either read into buffer or listed in the result, and a listed range is
// extended rather than followed by an adjacent one.
std::vector<ByteRange> ReadWindowPiecewise(ImageSource& image, std::vector<uint8_t>& buffer,
                                           size_t count, uint64_t offset) {
  count = std::min(count, buffer.size());
  const uint64_t size = image.Size();
  const size_t held =
      offset >= size ? 0 : static_cast<size_t>(std::min<uint64_t>(count, size - offset));
  size_t pos = ReadFully(image, buffer.data(), count, offset);
  std::vector<ByteRange> unreadable;
  while (pos < held) {
    const uint64_t at = offset + pos;
    const uint64_t pieceEnd = std::min<uint64_t>((at / kReadPiece + 1) * kReadPiece, offset + held);
    const size_t want = static_cast<size_t>(pieceEnd - at);
    const size_t got = ReadFully(image, buffer.data() + pos, want, at);
    if (got < want) {
      const uint64_t lost = at + got;
      std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(pos + got),
                buffer.begin() + static_cast<std::ptrdiff_t>(pos + want), uint8_t{0});
      if (!unreadable.empty() && unreadable.back().End() == lost) {
        unreadable.back().length += pieceEnd - lost;
      } else {
        unreadable.push_back({lost, pieceEnd - lost});
      }
    }
    pos += want;
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(std::max(pos, held)), buffer.end(),
            uint8_t{0});
  return unreadable;
}

std::vector<ByteRange> ClipRanges(const std::vector<ByteRange>& ranges, uint64_t begin,
                                  uint64_t end) {
  std::vector<ByteRange> clipped;
  for (const ByteRange& range : ranges) {
    const uint64_t from = std::max(range.offset, begin);
    const uint64_t to = std::min(range.End(), end);
    if (from < to) clipped.push_back({from, to - from});
  }
  return clipped;
}

bool Touches(const std::vector<ByteRange>& ranges, uint64_t begin, uint64_t end) {
  for (const ByteRange& range : ranges) {
    if (range.offset >= end) return false;
    if (range.End() > begin) return true;
  }
  return false;
}

}  // namespace velkor
