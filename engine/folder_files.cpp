#include "engine/folder_files.h"

#include <algorithm>
#include <system_error>

#include "engine/log_entries.h"

namespace velkor {
namespace {

std::vector<std::filesystem::path> SortedByName(std::vector<std::filesystem::path> files) {
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return a.filename().native() < b.filename().native();
  });
  return files;
}

}  // namespace

std::optional<std::vector<std::filesystem::path>> SortedFolderFiles(
    const std::filesystem::path& folder, bool& complete) {
  complete = false;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return std::nullopt;
  std::vector<std::filesystem::path> files;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) return SortedByName(std::move(files));
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    files.push_back(it->path());
  }
  complete = true;
  return SortedByName(std::move(files));
}

std::optional<std::vector<std::filesystem::path>> ScannedFiles(const ScanInput& input,
                                                               bool& complete) {
  complete = true;
  if (input.platform != kPlatformItunes) return std::vector<std::filesystem::path>{input.imagePath};
  auto files = SortedFolderFiles(input.imagePath, complete);
  if (!complete) LogOpenFailed(input.log, kTitleError, PathText(input.imagePath), kLevelError);
  return files;
}

}  // namespace velkor
