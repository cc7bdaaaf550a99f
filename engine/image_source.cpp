#include "engine/image_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {

std::unique_ptr<FileImageSource> FileImageSource::Open(const std::filesystem::path& path) {
  // O_NONBLOCK keeps a FIFO planted in a backup folder from hanging the scan;
  // it changes nothing for regular files.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISBLK(info.st_mode))) {
    ::close(fd);
    return nullptr;
  }
  uint64_t size = static_cast<uint64_t>(info.st_size);
  if (S_ISBLK(info.st_mode)) {
    off_t end = ::lseek(fd, 0, SEEK_END);
    size = end < 0 ? 0 : static_cast<uint64_t>(end);
  }
  // The scans read front to back once; tell the kernel so it reads ahead.
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return std::unique_ptr<FileImageSource>(new FileImageSource(fd, size));
}

FileImageSource::~FileImageSource() {
  ::close(fd_);
}

size_t FileImageSource::Read(uint64_t offset, void* buffer, size_t count) {
  // pread may return fewer bytes than asked without being at the end; keep
  // reading until the request is met, the file ends or the device fails.
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    if (offset + done > static_cast<uint64_t>(INT64_MAX)) break;
    ssize_t got = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
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
  return FromUtf8(path.native());
}

std::filesystem::path PathFromText(std::u16string_view text) {
  return std::filesystem::path(ToUtf8(text));
}

}  // namespace velkor
