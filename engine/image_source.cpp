#include "engine/image_source.h"

#include <algorithm>
#include <cstring>

#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {

std::unique_ptr<FileImageSource> FileImageSource::Open(const std::filesystem::path& path) {
  std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::Open(path);
  if (!file) return nullptr;
  return std::unique_ptr<FileImageSource>(new FileImageSource(std::move(*file)));
}

size_t FileImageSource::Read(uint64_t offset, void* buffer, size_t count) {
  // A read may return fewer bytes than asked without being at the end; keep
  // reading until the request is met, the file ends or the device fails.
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    const size_t got = file_.ReadAt(offset + done, out + done, count - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

size_t MemoryImageSource::Read(uint64_t offset, void* buffer, size_t count) {
  if (offset >= bytes_.size()) return 0;
  size_t n = static_cast<size_t>(std::min<uint64_t>(count, bytes_.size() - offset));
  std::memcpy(buffer, bytes_.data() + offset, n);
  return n;
}

std::unique_ptr<ImageSource> OpenImageFile(const std::filesystem::path& path) {
  return FileImageSource::Open(path);
}

size_t ReadFully(ImageSource& image, uint8_t* buffer, size_t count, uint64_t offset) {
  size_t done = 0;
  // An offset that would wrap lies past every image: the read ends there.
  while (done < count && offset + done >= offset) {
    const size_t got = image.Read(offset + done, buffer + done, count - done);
    if (got == 0) break;
    done += std::min(got, count - done);
  }
  return done;
}

std::u16string PathText(const std::filesystem::path& path) {
  return platform::PathUtf16(path);
}

std::filesystem::path PathFromText(std::u16string_view text) {
  return platform::PathFromUtf16(text);
}

}  // namespace velkor
