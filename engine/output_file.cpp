#include "engine/output_file.h"

#include <system_error>

namespace velkor {

bool WriteWholeFile(const std::filesystem::path& path,
                    const std::function<bool(std::FILE*)>& write) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = write(file);
  written = (std::fclose(file) == 0) && written;
  if (!written) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
  return written;
}

}  // namespace velkor
