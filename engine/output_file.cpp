#include "engine/output_file.h"

#include <string>
#include <system_error>

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
bool WriteWholeFile(const std::filesystem::path& path,
                    const std::function<bool(std::FILE*)>& write) {
  const std::filesystem::path partial = PartialFilePath(path);
  std::FILE* file = platform::OpenForWriting(partial);
  if (file == nullptr) return false;
  bool written = write(file);
  written = (std::fclose(file) == 0) && written;
  if (!written || !platform::MoveIntoPlace(partial, path)) {
    std::error_code error;
    std::filesystem::remove(partial, error);
    return false;
  }
  return true;
}

bool WriteWholeBytes(const std::filesystem::path& path, std::string_view bytes) {
  return WriteWholeFile(path, [bytes](std::FILE* file) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  });
}

}  // namespace velkor
