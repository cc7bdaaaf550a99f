#include "engine/folder_files.h"

#include <algorithm>
#include <system_error>

namespace velkor {

std::optional<std::vector<std::filesystem::path>> SortedFolderFiles(
    const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return std::nullopt;
  std::vector<std::filesystem::path> files;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) break;
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    files.push_back(it->path());
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return a.filename().native() < b.filename().native();
  });
  return files;
}

std::optional<std::vector<std::filesystem::path>> ScannedFiles(const ScanInput& input) {
  if (input.platform == kPlatformItunes) return SortedFolderFiles(input.imagePath);
  return std::vector<std::filesystem::path>{input.imagePath};
}

}  // namespace velkor
