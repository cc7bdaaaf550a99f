// One record scan in progress: the stores it fills, the contact parts that
// wait for the phone-book build, and the walk over each file's windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/record_scan.h"
#include "engine/record_scan_parts.h"
#include "engine/unreadable_ranges.h"

namespace velkor {

class RecordScanner {
 public:
  RecordScanner(const ScanInput& input, const RecordScanOptions& options, RecordStores& stores)
      : input_(input), options_(options), stores_(stores) {}

  // kFailed: the file could not be opened.
  enum class FileScanEnd { kDone, kStopped, kFailed };
  FileScanEnd ScanFile(const std::filesystem::path& path, ScanResult& result);
  // After kStopped: the offset in the file of the first byte not scanned.
  uint64_t StoppedAt() const { return stoppedAt_; }

 private:
  // Both walks scan every window; unreadable bytes go to unreadable.
  FileScanEnd ScanWindowsInOrder(ImageSource& image, uint64_t fullWindows, uint32_t rem,
                                 UnreadableRanges& unreadable);
  FileScanEnd ScanWindowsInParallel(ImageSource& image, uint64_t fullWindows, uint32_t rem,
                                    UnreadableRanges& unreadable);
  // Reads the window piece by piece where a read fails and collects the
  // records of the cells that lie wholly in readable bytes; returns the
  // unreadable ranges of the buffer (window and slack).
  std::vector<ByteRange> ReadAndCollect(ImageSource& image, std::vector<uint8_t>& buffer,
                                        uint64_t offset, uint32_t length, bool partial,
                                        WindowScratch& scratch, RecordBatch& batch) const;
  // Reports the window's unreadable bytes, appends its records to the stores
  // and rewrites the progress text.
  void CommitWindow(uint64_t offset, uint32_t length, const std::vector<ByteRange>& holes,
                    RecordBatch& batch, UnreadableRanges& unreadable);

  const ScanInput& input_;
  const RecordScanOptions& options_;
  RecordStores& stores_;
  // Emptied by each file's phone-book build, so no contact joins parts of
  // another file.
  ContactPartMap parts_;
  uint64_t stoppedAt_ = 0;
  uint32_t file_ = 0;  // RecordOrigin::file of the file being scanned
};

}  // namespace velkor
