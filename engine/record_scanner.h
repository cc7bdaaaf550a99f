// One record scan in progress: the stores it fills, the contact parts that
// wait for the phone-book build, and the walk over each file's windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/record_scan.h"
#include "engine/record_scan_parts.h"

namespace velkor {

class RecordScanner {
 public:
  RecordScanner(const ScanInput& input, const RecordScanOptions& options, RecordStores& stores)
      : input_(input), options_(options), stores_(stores) {}

  enum class FileScanEnd { kDone, kStopped, kFailed };
  FileScanEnd ScanFile(const std::filesystem::path& path, ScanResult& result);

 private:
  // Both walks return kFailed with the unreadable window added to result.
  FileScanEnd ScanWindowsInOrder(ImageSource& image, const std::filesystem::path& path,
                                 uint64_t fullWindows, uint32_t rem, ScanResult& result);
  FileScanEnd ScanWindowsInParallel(ImageSource& image, const std::filesystem::path& path,
                                    uint64_t fullWindows, uint32_t rem, ScanResult& result);
  void ReportUnreadable(const std::filesystem::path& path, uint64_t offset, uint64_t length,
                        ScanResult& result);
  // Appends a window's records to the stores and rewrites the progress text.
  void CommitWindow(RecordBatch& batch);

  const ScanInput& input_;
  const RecordScanOptions& options_;
  RecordStores& stores_;
  // Parts of a file whose read failed stay here and join the next file's
  // phone-book build.
  ContactPartMap parts_;
};

}  // namespace velkor
