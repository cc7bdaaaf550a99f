// The one way the scans list a backup folder.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "engine/scan_input.h"

namespace velkor {

// The files directly inside folder (no subfolders), in ascending byte order
// of their names, so that a folder gives the same rows in the same order on
// every machine. Nothing when the folder cannot be listed; a listing that
// fails part way gives the files found until then and sets complete false.
std::optional<std::vector<std::filesystem::path>> SortedFolderFiles(
    const std::filesystem::path& folder, bool& complete);

// What a scan reads: the image file, or the folder's files on kPlatformItunes.
// A folder that cannot be listed, or not to its end, is logged (LogOpenFailed
// with the folder) and complete set false.
std::optional<std::vector<std::filesystem::path>> ScannedFiles(const ScanInput& input,
                                                               bool& complete);

}  // namespace velkor
