#include "engine/record_scan.h"

#include <memory>
#include <vector>

#include "engine/folder_files.h"
#include "engine/log_entries.h"
#include "engine/record_scanner.h"
#include "engine/text_format.h"

namespace velkor {

// A stop ends the whole folder (after the current file's phone-book build),
// not just the current file.
ScanResult ScanRecords(const ScanInput& input, const RecordScanOptions& options,
                       RecordStores& stores) {
  stores = RecordStores{};
  stores.platform = input.platform;
  ScanResult result;
  bool listedWhole = true;
  const auto files = ScannedFiles(input, listedWhole);
  result.listingCut = files.has_value() && !listedWhole;
  if (!files) return result;
  // A folder counts as opened once listed; an image once its opener gives it.
  result.opened = input.platform == kPlatformItunes;
  RecordScanner scanner(input, options, stores);
  for (const auto& file : *files) {
    if (scanner.ScanFile(file, result) == RecordScanner::FileScanEnd::kStopped) {
      result.stopped = true;
      LogScanStopped(input.log, scanner.StoppedAt());
      break;
    }
  }
  return result;
}

// One file: open, measure, walk the full windows, then the partial one, then
// merge the contact parts into the phone book. The build runs whatever the
// walk met, so a file's parts never wait for the next file.
RecordScanner::FileScanEnd RecordScanner::ScanFile(const std::filesystem::path& path,
                                                   ScanResult& result) {
  std::unique_ptr<ImageSource> image = input_.imageOpener ? input_.imageOpener(path) : nullptr;
  if (!image) {
    LogOpenFailed(input_.log, kTitleError, PathText(path), kLevelError);
    return FileScanEnd::kFailed;
  }
  result.opened = true;
  if (input_.platform == kPlatformItunes) {
    stores_.files.push_back(path.lexically_relative(input_.imagePath));
    file_ = static_cast<uint32_t>(stores_.files.size());
  }
  const uint64_t size = image->Size();
  result.imageSize += size;
  if (options_.recordTypeMask == 0) return FileScanEnd::kDone;

  const uint64_t fullWindows = size / options_.windowSize;
  const uint32_t rem = static_cast<uint32_t>(size % options_.windowSize);
  if (input_.progress != nullptr)
    input_.progress->ProgressRange(static_cast<uint32_t>(fullWindows));

  FileScanEnd end;
  {
    UnreadableRanges unreadable(input_.log, path, result);
    // A window callback (the image digest) gets a thread of its own even for
    // a one-thread scan: the parallel scan's feeder runs it beside the window
    // worker, so the digest costs a core, not scan time.
    const bool besideWorkers = options_.threads > 1 || static_cast<bool>(options_.windowRead);
    end = besideWorkers && fullWindows + (rem != 0) > 1
              ? ScanWindowsInParallel(*image, fullWindows, rem, unreadable)
              : ScanWindowsInOrder(*image, fullWindows, rem, unreadable);
  }
  BuildPhoneBook(parts_, stores_.phoneBook, file_);
  return end;
}

// Each full window is read with kWindowSlack extra bytes so that a cell
// starting near its end is tested with the bytes that really follow it; the
// partial window has zeros there.
RecordScanner::FileScanEnd RecordScanner::ScanWindowsInOrder(ImageSource& image,
                                                             uint64_t fullWindows, uint32_t rem,
                                                             UnreadableRanges& unreadable) {
  std::vector<uint8_t> buffer(options_.windowSize + kWindowSlack);
  WindowScratch scratch;
  RecordBatch batch;
  auto scanWindow = [&](uint64_t offset, uint32_t length, bool partial) {
    const std::vector<ByteRange> holes =
        ReadAndCollect(image, buffer, offset, length, partial, scratch, batch);
    if (options_.windowRead) options_.windowRead(offset, {buffer.data(), length});
    CommitWindow(offset, length, holes, batch, unreadable);
  };
  for (uint64_t i = 0; i < fullWindows; ++i) {
    scanWindow(i * options_.windowSize, options_.windowSize, false);
    if (input_.progress != nullptr) input_.progress->ProgressStep();
    if (StopRequested(input_)) {
      stoppedAt_ = (i + 1) * options_.windowSize;
      return FileScanEnd::kStopped;
    }
  }
  if (StopRequested(input_)) {
    stoppedAt_ = fullWindows * options_.windowSize;
    return FileScanEnd::kStopped;
  }
  if (rem != 0) scanWindow(fullWindows * options_.windowSize, rem, true);
  return FileScanEnd::kDone;
}

std::vector<ByteRange> RecordScanner::ReadAndCollect(ImageSource& image,
                                                     std::vector<uint8_t>& buffer, uint64_t offset,
                                                     uint32_t length, bool partial,
                                                     WindowScratch& scratch,
                                                     RecordBatch& batch) const {
  buffer.resize(options_.windowSize + kWindowSlack);
  std::vector<ByteRange> holes =
      ReadWindowPiecewise(image, buffer, partial ? length : buffer.size(), offset);
  CollectWindowRecords(buffer.data(), length, input_.platform, options_.fastCellTest, scratch,
                       batch, holes, offset, options_.deep);
  return holes;
}

void RecordScanner::CommitWindow(uint64_t offset, uint32_t length,
                                 const std::vector<ByteRange>& holes, RecordBatch& batch,
                                 UnreadableRanges& unreadable) {
  unreadable.AddWindow(offset, length, holes);
  CommitBatch(batch, stores_, parts_, file_);
  // WeChat records are not counted, as the progress line always did.
  const size_t count = stores_.phoneBook.size() + stores_.sms.size() + stores_.calls.size() +
                       stores_.contactEvents.size();
  SendProgressText(input_,
                   Concat({u"已经搜索到 ", DecimalText(static_cast<uint64_t>(count)), u" 条记录"}));
}

}  // namespace velkor
