// The record scan: every table row of a phone database that can still be
// found anywhere in an image (or in the files of a backup folder).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <vector>

#include "engine/record_store.h"
#include "engine/record_types.h"
#include "engine/scan_input.h"

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

struct RecordScanOptions {
  // 0 only measures the image; any other value scans for every record type.
  uint32_t recordTypeMask = 0;
  // 1 scans window after window on the calling thread; more scan windows side
  // by side and hand their records over in image order, with the same stores,
  // progress events and log lines. With more than one, the image source's
  // Read is called from several threads.
  uint32_t threads = 1;
  // The prefiltered cell test; false tests every offset with DetectCell
  // alone. Both give the same cells.
  bool fastCellTest = true;
  // Also rebuilds deleted rows whose first four bytes a freeblock header
  // took (FoundBy::kFreeblock), never in place of a whole cell's record.
  bool deep = false;
  // Given every window's bytes in image order (unreadable bytes as zeros),
  // one call at a time, so that a digest of the image costs no second read.
  // With one thread it runs on the calling thread; with more, on a thread of
  // its own beside the scan. In folder mode it sees each file's windows in
  // turn.
  std::function<void(uint64_t offset, std::span<const uint8_t> bytes)> windowRead{};
  // The bytes of one window, above 0; cells are found, and memory is held, a
  // window at a time. Fuzzing scans images of a few pages in windows of a
  // few pages, so that an input costs its own size rather than a mebibyte.
  uint32_t windowSize = kWindowSize;
};

// Everything one record scan found, in list order.
struct RecordStores {
  uint8_t platform = kPlatformAndroid;  // what the stores were scanned as (SMS time unit)
  std::vector<PhoneBookEntry> phoneBook;
  SmsStore sms;
  CallStore calls;
  EventStore contactEvents;
  WeChatStore weChat;
  // Folder mode: the scanned files, relative to the folder, in scan order;
  // RecordOrigin::file counts from 1 into them.
  std::vector<std::filesystem::path> files;
};

// Empties stores, then scans the image file, or every file of the folder in
// name order on kPlatformItunes. Progress: per file, range = its full window
// count, one step per full window, and the text "已经搜索到 N 条记录" after
// each window. A file that cannot be opened is logged. A failed read is
// logged at its window's offset and retried in kReadPiece pieces; each joined
// unreadable range is logged once and listed in the result, cells touching it
// are not taken, and the scan goes on. Every file gets its own phone-book
// build. A stop ends the whole scan after the current window and the file's
// phone-book build, and is logged with the offset where it stopped.
ScanResult ScanRecords(const ScanInput& input, const RecordScanOptions& options,
                       RecordStores& stores);

}  // namespace velkor
