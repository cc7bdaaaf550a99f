// The one way the engine reads an image: a byte source with a size and
// positioned reads. Files, memory buffers and fault-injecting wrappers all
// look the same to the scans.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform.h"

namespace velkor {

class ImageSource {
 public:
  virtual ~ImageSource() = default;
  // Length in bytes as measured now (a file may shrink or grow later).
  virtual uint64_t Size() const = 0;
  // Reads up to count bytes at offset; returns how many were read. 0 means
  // end of data or a failed read: the caller tells them apart by Size().
  virtual size_t Read(uint64_t offset, void* buffer, size_t count) = 0;
};

// A regular file, opened read-only while others may still write it.
class FileImageSource final : public ImageSource {
 public:
  // Returns null when the path cannot be opened or is not a regular file or
  // block device (a folder, for example).
  static std::unique_ptr<FileImageSource> Open(const std::filesystem::path& path);
  FileImageSource(const FileImageSource&) = delete;
  FileImageSource& operator=(const FileImageSource&) = delete;

  uint64_t Size() const override { return file_.Size(); }
  size_t Read(uint64_t offset, void* buffer, size_t count) override;

 private:
  explicit FileImageSource(platform::ReadOnlyFile file) : file_(std::move(file)) {}
  platform::ReadOnlyFile file_;
};

// Bytes held in memory; for tests, fuzzing and small tools.
class MemoryImageSource final : public ImageSource {
 public:
  explicit MemoryImageSource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() const override { return bytes_.size(); }
  size_t Read(uint64_t offset, void* buffer, size_t count) override;

 private:
  std::vector<uint8_t> bytes_;
};

// Opens a path for a scan; null when it cannot be opened. Tests replace it
// to inject failing or synthetic images.
using ImageOpener = std::function<std::unique_ptr<ImageSource>(const std::filesystem::path&)>;
std::unique_ptr<ImageSource> OpenImageFile(const std::filesystem::path& path);

// Reads count bytes at an absolute 64-bit offset, asking again after a short
// read (a pipe, a network share or a wrapper may return fewer bytes than are
// there) until the count is met or a read gives nothing. Returns the bytes
// read; bytes not read are left as they were.
size_t ReadFully(ImageSource& image, uint8_t* buffer, size_t count, uint64_t offset);

// A path as the lists and logs show it, and back. Paths are kept as UTF-16
// text; bytes that are not UTF-8 show as U+FFFD.
std::u16string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(std::u16string_view text);

}  // namespace velkor
