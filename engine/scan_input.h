// What every scan of an image is given, and what it reports back besides its
// findings. The caller owns everything the input points to.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "engine/image_source.h"
#include "engine/reporting.h"

namespace velkor {

inline constexpr uint8_t kPlatformAndroid = 0;
inline constexpr uint8_t kPlatformIos = 1;
inline constexpr uint8_t kPlatformItunes = 2;  // a folder of backup files

// The scans read the image in windows of this size.
inline constexpr uint32_t kWindowSize = 1u << 20;
// Bytes after each window that the look-ahead of the cell test may read.
// Full windows hold the next bytes of the image there, the last one zeros.
inline constexpr uint32_t kWindowSlack = 4096;

struct ScanInput {
  std::filesystem::path imagePath;  // image file, or backup folder on kPlatformItunes
  uint8_t platform = kPlatformAndroid;
  ImageOpener imageOpener = OpenImageFile;  // tests swap in failing/memory sources
  ProgressSink* progress = nullptr;
  LogSink* log = nullptr;
  // Polled once per window (per file by a save); a scan that sees it set
  // ends early. Null never stops.
  const std::atomic<bool>* stop = nullptr;
};

struct UnreadableRange {
  uint64_t offset = 0;
  uint64_t length = 0;
  std::filesystem::path file;
};

struct ScanResult {
  bool opened = false;      // the image (or folder) could be opened
  bool stopped = false;     // the stop flag ended the scan early
  bool listingCut = false;  // the backup folder's listing failed part way
  uint64_t imageSize = 0;   // bytes of the image; in folder mode the sum of its files
  // Bytes no read gave, joined where they meet, in scan order; the scan went
  // on after each.
  std::vector<UnreadableRange> unreadable;
};

inline bool StopRequested(const ScanInput& input) {
  return input.stop != nullptr && input.stop->load();
}

inline void SendProgressText(const ScanInput& input, std::u16string_view text) {
  if (input.progress != nullptr) input.progress->ProgressText(text);
}

}  // namespace velkor
