// The whole state of one task: what to scan, where to report, and everything
// found. Every scan of the engine and of media carving is an operation on it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "carving/carved_file.h"
#include "engine/cell_detector.h"
#include "engine/image_source.h"
#include "engine/record_batch.h"
#include "engine/record_types.h"
#include "engine/reporting.h"
#include "engine/signature_templates.h"

namespace velkor {

// recordTypeMask bits, one per record-type check box of the task dialog.
inline constexpr uint32_t kTypeSms = 0x001;
inline constexpr uint32_t kTypePhoneBook = 0x002;
inline constexpr uint32_t kTypeCalls = 0x004;
inline constexpr uint32_t kTypeCalendar = 0x008;
inline constexpr uint32_t kTypeNotes = 0x010;
inline constexpr uint32_t kTypeMail = 0x020;
inline constexpr uint32_t kTypeWeChat = 0x040;
inline constexpr uint32_t kTypeMsn = 0x080;
inline constexpr uint32_t kTypeQq = 0x100;

inline constexpr uint8_t kPlatformAndroid = 0;
inline constexpr uint8_t kPlatformIos = 1;
inline constexpr uint8_t kPlatformItunes = 2;  // a folder of backup files

inline constexpr uint32_t kWindowSize = 1u << 20;
// Bytes after each window that the look-ahead of the cell test may read.
// Full windows hold the next bytes of the image there, the last one zeros.
inline constexpr uint32_t kWindowSlack = 4096;

class ScanTask {
 public:
  ProgressSink* progressWindow = nullptr;
  LogSink* logWindow = nullptr;
  std::u16string imagePath;
  uint64_t imageSize = 0;
  uint32_t recordTypeMask = 0;
  uint8_t platform = kPlatformAndroid;
  MediaScanParams mediaParams{};
  std::vector<PhoneBookEntry> phoneBook;
  std::vector<SmsRecord> smsRecords;
  std::vector<CallRecord> callRecords;
  std::vector<ContactEvent> contactEvents;
  std::vector<WeChatRecord> weChatRecords;
  // std::multimap keeps equal keys in insertion order, which the phone-book
  // merge relies on.
  std::multimap<int64_t, ContactPart> contactParts;
  CarvedFileStore carvedFiles;
  SignatureTemplateTable templates{};
  // How images and folder files are opened; tests swap in other sources.
  ImageOpener imageOpener = OpenImageFile;
  // Threads for the record scan. 1 scans window after window on the calling
  // thread; more scan windows side by side and hand their records over in
  // image order, with the same stores, progress events and log lines. With
  // more than one, the image source's Read is called from several threads.
  uint32_t scanThreads = 1;
  // The prefiltered cell test; false tests every offset with DetectCell
  // alone. Both give the same cells.
  bool fastCellTest = true;

  // Record scan (worker thread): empties the record stores, then scans the
  // image file, or every file of the folder on the ITUNES platform.
  void ScanRecords();
  void ScanImageFile(const std::filesystem::path& path);
  void ScanFolder(const std::filesystem::path& folder);

  // Walks one window of length bytes; window must have kWindowSlack readable
  // bytes after them. Decoding may overwrite zero bytes of the window.
  void ScanWindow(uint8_t* window, uint32_t length);
  void DecodeRecord(uint8_t* cell, int32_t available, CellCandidate& candidate);
  RecordCategory Classify(const TypeSignature& signature) const;
  void ExtractRecord(RecordCategory category, const ColumnMap& columns, const Varint& rowid);
  void ExtractRecordInto(RecordBatch& batch, RecordCategory category, const ColumnMap& columns,
                         const Varint& rowid) const;
  void BuildPhoneBook();

  // Picture and video carving.
  void ScanPictures();
  void ScanVideos();
  void MatchPictureBlocks(const uint8_t* buffer, uint32_t length, uint64_t baseOffset);
  void MatchVideoBlocks(const uint8_t* buffer, uint32_t length, uint64_t baseOffset);
  void ComputeCarvedLengths();

  // Reusable memory of one window scan; one per thread.
  struct WindowScratch {
    std::vector<uint8_t> flags;
    std::vector<uint8_t> chunkMarks;
    // The first candidateCount are the current window's; the rest keep their
    // serial-type storage for the next window.
    std::vector<CellCandidate> candidates;
    size_t candidateCount = 0;
    ColumnMap columns;
  };
  // Finds the cells of a window, decodes them and extracts their records
  // into batch, touching nothing of the task but its options.
  void CollectWindowRecords(uint8_t* window, uint32_t length, WindowScratch& scratch,
                            RecordBatch& batch) const;
  void FindCells(const uint8_t* window, uint32_t length, WindowScratch& scratch) const;
  // Appends a window's records to the stores and rewrites the progress text.
  void CommitWindow(RecordBatch& batch);

  // Sum shown as "已经搜索到 %d 条记录" after each window (WeChat not counted).
  size_t RecordCountForProgress() const;

 private:
  enum class FileScanEnd { kDone, kStopped, kFailed };
  FileScanEnd ScanOneFile(const std::filesystem::path& path);
  FileScanEnd ScanWindowsInParallel(ImageSource& image, const std::u16string& pathText,
                                    uint64_t fullWindows, uint32_t rem);
  void ClearRecordStores();
};

}  // namespace velkor
