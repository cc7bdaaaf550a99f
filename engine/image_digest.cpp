#include "engine/image_digest.h"

#include <openssl/evp.h>

#include <array>

namespace velkor {

struct ImageDigest::State {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  ~State() { EVP_MD_CTX_free(context); }
};

ImageDigest::ImageDigest() : state_(std::make_unique<State>()) {
  valid_ = state_->context != nullptr &&
           EVP_DigestInit_ex(state_->context, EVP_sha256(), nullptr) == 1;
}

ImageDigest::~ImageDigest() = default;

void ImageDigest::AddWindow(uint64_t offset, std::span<const uint8_t> bytes) {
  if (!valid_) return;
  if (offset != next_ || EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()) != 1) {
    valid_ = false;
    return;
  }
  next_ += bytes.size();
}

std::string ImageDigest::FinishHex() {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int length = 0;
  if (!valid_ || EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1) {
    valid_ = false;
    return {};
  }
  valid_ = false;  // a context is finished once
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

}  // namespace velkor
