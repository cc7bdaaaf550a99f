#include "engine/output_file.h"

#include <string>
#include <system_error>
#include <utility>

#include "engine/platform.h"

namespace velkor {

std::filesystem::path PartialFilePath(const std::filesystem::path& path) {
  std::filesystem::path name = ".";
  name += path.filename();
  name += ".partial-" + std::to_string(platform::ProcessId());
  std::filesystem::path partial = path;
  partial.replace_filename(name);
  return partial;
}

// The file is written under a hidden name next to its final one and renamed
// over it only when every byte is out: a process killed midway leaves the
// previous file (or none) under the final name, never a cut one. The rename
// stays in the folder, so it cannot cross file systems.
PartialFile::PartialFile(std::filesystem::path path)
    : path_(std::move(path)),
      partial_(PartialFilePath(path_)),
      file_(platform::OpenForWriting(partial_)) {}

PartialFile::~PartialFile() {
  if (file_ != nullptr) Finish(false);
}

bool PartialFile::Finish(bool written) {
  if (file_ == nullptr) return false;
  written = (std::fclose(file_) == 0) && written;
  file_ = nullptr;
  if (!written || !platform::MoveIntoPlace(partial_, path_)) {
    std::error_code error;
    std::filesystem::remove(partial_, error);
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::filesystem::path& path,
                    const std::function<bool(std::FILE*)>& write) {
  PartialFile file(path);
  return file.Get() != nullptr && file.Finish(write(file.Get()));
}

bool WriteWholeBytes(const std::filesystem::path& path, std::string_view bytes) {
  return WriteWholeFile(path, [bytes](std::FILE* file) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  });
}

}  // namespace velkor
