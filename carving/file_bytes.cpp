#include "carving/file_bytes.h"

#include <algorithm>
#include <cstring>

namespace velkor {
namespace {

// Small enough that a walk that fails in its first bytes reads little.
constexpr size_t kBlockBytes = 16 * 1024;

}  // namespace

FileBytes::FileBytes(ImageSource& image, uint64_t start, uint64_t limit)
    : image_(image), start_(start), cache_(kBlockBytes) {
  const uint64_t size = image.Size();
  limit_ = start >= size ? 0 : std::min(limit, size - start);
}

// A block is read once; a short read leaves the rest of it unavailable.
void FileBytes::Fill(uint64_t block) {
  if (block == cacheBlock_) return;
  cacheBlock_ = block;
  cacheBytes_ = 0;
  const uint64_t from = block * kBlockBytes;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(kBlockBytes, limit_ - from));
  while (cacheBytes_ < want) {
    const size_t got =
        image_.Read(start_ + from + cacheBytes_, cache_.data() + cacheBytes_, want - cacheBytes_);
    if (got == 0) break;
    cacheBytes_ += got;
  }
}

bool FileBytes::Get(uint64_t pos, uint8_t* out, size_t n) {
  if (pos > limit_ || n > limit_ - pos) return false;
  while (n > 0) {
    const uint64_t block = pos / kBlockBytes;
    Fill(block);
    const size_t at = static_cast<size_t>(pos % kBlockBytes);
    if (at >= cacheBytes_) return false;
    const size_t take = std::min(n, cacheBytes_ - at);
    std::memcpy(out, cache_.data() + at, take);
    out += take;
    pos += take;
    n -= take;
  }
  return true;
}

bool FileBytes::Be16(uint64_t pos, uint32_t& value) {
  uint8_t b[2];
  if (!Get(pos, b, 2)) return false;
  value = (uint32_t{b[0]} << 8) | b[1];
  return true;
}

bool FileBytes::Be32(uint64_t pos, uint32_t& value) {
  uint8_t b[4];
  if (!Get(pos, b, 4)) return false;
  value = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
  return true;
}

bool FileBytes::Le32(uint64_t pos, uint32_t& value) {
  uint8_t b[4];
  if (!Get(pos, b, 4)) return false;
  value = (uint32_t{b[3]} << 24) | (uint32_t{b[2]} << 16) | (uint32_t{b[1]} << 8) | b[0];
  return true;
}

}  // namespace velkor
