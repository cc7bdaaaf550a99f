#include <algorithm>
#include <system_error>
#include <vector>

#include "engine/app_state.h"
#include "engine/log_entries.h"
#include "engine/scan_task.h"
#include "engine/text_format.h"

namespace velkor {

// Every byte offset of the window is tested once, except the header bytes of
// an accepted cell, which the walk steps over (its body is tested again: a
// deleted cell's body may hold the start of an older cell). Candidates are
// decoded only after the whole window has been walked, because decoding
// rewrites zero bytes of text fields in the window.
void ScanTask::ScanWindow(uint8_t* window, uint32_t length) {
  std::vector<CellCandidate> candidates;
  CellCandidate working;
  uint32_t pos = 0;
  while (pos < length) {
    working.serialTypes.clear();
    if (DetectCell(window + pos, static_cast<int32_t>(length - pos), working)) {
      working.offset = pos;
      candidates.push_back(working);
      pos += static_cast<uint32_t>(working.payloadLength.length + working.rowid.length) +
             static_cast<uint32_t>(working.headerLength.value);
    } else {
      pos += 1;
    }
  }

  for (CellCandidate& candidate : candidates) {
    DecodeRecord(window + candidate.offset, static_cast<int32_t>(length - candidate.offset),
                 candidate);
  }

  g_strProgress.Set(Concat(
      {u"已经搜索到 ", DecimalText(static_cast<uint64_t>(RecordCountForProgress())), u" 条记录"}));
}

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
  std::vector<uint8_t> buffer;
  ScanOneFile(path, buffer);
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

  std::vector<uint8_t> buffer;
  for (const auto& file : files) {
    if (ScanOneFile(file, buffer) == FileScanEnd::kStopped) break;
  }
}

// One file: open, measure, walk the full windows, then the partial one, then
// merge the contact parts into the phone book. Each full window is read with
// kWindowSlack extra bytes so that a cell starting near its end can be
// tested with the bytes that really follow it.
ScanTask::FileScanEnd ScanTask::ScanOneFile(const std::filesystem::path& path,
                                            std::vector<uint8_t>& buffer) {
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

  buffer.resize(kWindowSize + kWindowSlack);
  for (uint64_t i = 0; i < fullWindows; ++i) {
    const uint64_t offset = i * kWindowSize;
    std::fill(buffer.begin(), buffer.end(), uint8_t{0});
    if (!ReadAt(*image, buffer.data(), buffer.size(), offset)) {
      LogReadFailed(logWindow, kTitleError, pathText, kLevelError, static_cast<int64_t>(offset));
      return FileScanEnd::kFailed;
    }
    ScanWindow(buffer.data(), kWindowSize);
    if (progressWindow != nullptr) progressWindow->ProgressStep();
    if (g_bStop.load() != 0) break;
  }

  const bool stopped = g_bStop.load() != 0;
  if (rem != 0 && !stopped) {
    const uint64_t offset = fullWindows * kWindowSize;
    std::fill(buffer.begin(), buffer.end(), uint8_t{0});
    if (!ReadAt(*image, buffer.data(), rem, offset)) {
      LogReadFailed(logWindow, kTitleError, pathText, kLevelError, static_cast<int64_t>(offset));
      return FileScanEnd::kFailed;
    }
    ScanWindow(buffer.data(), rem);
  }
  BuildPhoneBook();
  return stopped ? FileScanEnd::kStopped : FileScanEnd::kDone;
}

}  // namespace velkor
