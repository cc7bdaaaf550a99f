#include <algorithm>
#include <system_error>
#include <vector>

#include "engine/app_state.h"
#include "engine/log_entries.h"
#include "engine/scan_task.h"

namespace velkor {

void ScanTask::ScanRecords() {
  imageSize = 0;
  ClearRecordStores();
  if (platform == kPlatformItunes) {
    ScanFolder(PathFromText(imagePath));
  } else {
    ScanImageFile(PathFromText(imagePath));
  }
}

void ScanTask::ScanImageFile(const std::filesystem::path& path) {
  ScanOneFile(path);
}

// Files are taken in ascending byte order of their names so that a folder
// gives the same rows in the same order on every machine. A stop ends the
// whole folder (after the current file's phone-book build), not just the
// current file.
void ScanTask::ScanFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return;
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

  for (const auto& file : files) {
    if (ScanOneFile(file) == FileScanEnd::kStopped) break;
  }
}

// One file: open, measure, walk the full windows, then the partial one, then
// merge the contact parts into the phone book. Each full window is read with
// kWindowSlack extra bytes so that a cell starting near its end is tested
// with the bytes that really follow it; the partial window has zeros there.
ScanTask::FileScanEnd ScanTask::ScanOneFile(const std::filesystem::path& path) {
  const std::u16string pathText = PathText(path);
  std::unique_ptr<ImageSource> image = imageOpener ? imageOpener(path) : nullptr;
  if (!image) {
    LogOpenFailed(logWindow, kTitleError, pathText, kLevelError);
    return FileScanEnd::kFailed;
  }
  imageSize = image->Size();
  if (recordTypeMask == 0) return FileScanEnd::kDone;

  const uint64_t fullWindows = imageSize / kWindowSize;
  const uint32_t rem = static_cast<uint32_t>(imageSize % kWindowSize);
  if (progressWindow != nullptr) progressWindow->ProgressRange(static_cast<uint32_t>(fullWindows));

  FileScanEnd end;
  if (scanThreads > 1 && fullWindows + (rem != 0) > 1) {
    end = ScanWindowsInParallel(*image, pathText, fullWindows, rem);
  } else {
    std::vector<uint8_t> buffer(kWindowSize + kWindowSlack);
    WindowScratch scratch;
    RecordBatch batch;
    auto scanWindow = [&](uint64_t offset, uint32_t length, size_t readCount) {
      if (!ReadWindow(*image, buffer, readCount, offset)) {
        LogReadFailed(logWindow, kTitleError, pathText, kLevelError, static_cast<int64_t>(offset));
        return false;
      }
      CollectWindowRecords(buffer.data(), length, scratch, batch);
      CommitWindow(batch);
      return true;
    };
    end = FileScanEnd::kDone;
    for (uint64_t i = 0; i < fullWindows; ++i) {
      if (!scanWindow(i * kWindowSize, kWindowSize, buffer.size())) return FileScanEnd::kFailed;
      if (progressWindow != nullptr) progressWindow->ProgressStep();
      if (g_bStop.load() != 0) break;
    }
    if (g_bStop.load() != 0) {
      end = FileScanEnd::kStopped;
    } else if (rem != 0 && !scanWindow(fullWindows * kWindowSize, rem, rem)) {
      return FileScanEnd::kFailed;
    }
  }
  if (end != FileScanEnd::kFailed) BuildPhoneBook();
  return end;
}

}  // namespace velkor
