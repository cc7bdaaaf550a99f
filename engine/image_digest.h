// The SHA-256 of an image, fed with the windows the scan reads anyway, so
// that the digest an examiner cites costs no second pass over the image.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace velkor {

class ImageDigest {
 public:
  ImageDigest();
  ~ImageDigest();
  ImageDigest(const ImageDigest&) = delete;
  ImageDigest& operator=(const ImageDigest&) = delete;

  // Windows must come in image order without gaps or overlaps; a window that
  // does not start where the last one ended makes the digest unusable
  // (Valid() false) rather than wrong.
  void AddWindow(uint64_t offset, std::span<const uint8_t> bytes);
  bool Valid() const { return valid_; }
  uint64_t BytesHashed() const { return next_; }
  // Lowercase hex of the digest of every byte added; ends the digest.
  std::string FinishHex();

 private:
  struct State;
  std::unique_ptr<State> state_;
  uint64_t next_ = 0;
  bool valid_ = true;
};

}  // namespace velkor
