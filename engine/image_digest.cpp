#include "engine/image_digest.h"

#include "engine/platform.h"

namespace velkor {

struct ImageDigest::State {
  platform::Sha256 sha256;
};

ImageDigest::ImageDigest() : state_(std::make_unique<State>()) {}

ImageDigest::~ImageDigest() = default;

void ImageDigest::AddWindow(uint64_t offset, std::span<const uint8_t> bytes) {
  if (!valid_) return;
  if (offset != next_ || !state_->sha256.Update(bytes)) {
    valid_ = false;
    return;
  }
  next_ += bytes.size();
}

std::string ImageDigest::FinishHex() {
  const auto digest = valid_ ? state_->sha256.Finish() : std::nullopt;
  valid_ = false;  // a digest is finished once
  if (!digest) return {};
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const uint8_t byte : *digest) {
    hex += kHex[byte >> 4];
    hex += kHex[byte & 15];
  }
  return hex;
}

}  // namespace velkor
