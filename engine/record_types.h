// The records the engine extracts and the intermediate forms of a decoded
// cell. Plain data: the record stores own every string in them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velkor {

// 0: no template fits; 1 to 16: the classic template that fitted; from 17 on
// the templates of current phones' layouts.
using RecordCategory = uint8_t;

enum : RecordCategory {
  kCategoryAndroidSms = 17,      // sms since Android 5 (19 to 49 columns)
  kCategoryCallLogDb = 18,       // calls of calllog.db since Android 7
  kCategoryContactsCalls = 19,   // calls of contacts2.db on Android 5 and 6
  kCategoryHashIdData = 20,      // contact data with hash_id
  kCategoryIosMessage = 21,      // message since iOS 6 (number from handle)
  kCategoryIosHandle = 22,       // handle: the numbers of iOS messages
  kCategoryMultiValueGuid = 23,  // ABMultiValue with guid (7 columns)
  kCategoryIosCallHistory = 24,  // call of call_history.db
  kCategoryCallRecord = 25,      // ZCALLRECORD of CallHistory.storedata
};
inline constexpr size_t kCurrentLayoutCount = 9;

// Column type codes of a decoded record.
enum : uint8_t {
  kTypeNone = 0,    // no such column
  kTypeNumber = 1,  // serial types 1 to 9
  kTypeText = 2,    // serial types 12 and above (texts and blobs)
  kTypeNull = 3,    // serial type 0
};

inline constexpr size_t kMaxDecodedColumns = 35;

// One code per column; entry 35 is always 0 and ends the signature.
using TypeSignature = std::array<uint8_t, kMaxDecodedColumns + 1>;

// The decoded columns of one record, indexes consecutive from 0.
struct ColumnMap {
  // What a column holds until a rule first reads it: most columns of a row
  // are never read, so their decimal or converted text is never written.
  enum Pending : uint8_t {
    kReady = 0,   // columns (and full) hold it
    kNumber = 1,  // an integer, read from its source when asked for
    kText = 2,    // the bytes of its source, to be converted
  };
  // Where a pending column's bytes lie: in the window or rebuilt cell being
  // decoded, valid until the next cell is decoded into this map.
  struct Source {
    uint8_t* bytes;
    uint32_t length;
    uint8_t serialType;  // 0 to 9 as it is; 12 for any text or blob
  };
  mutable std::vector<std::u16string> columns;
  // Per column, the text before the code page 936 pass where that pass
  // changed it; empty otherwise (and wherever full is shorter than columns).
  mutable std::vector<std::u16string> full;
  // Per column (wherever pending is shorter than columns, kReady).
  mutable std::vector<uint8_t> pending{};
  std::vector<Source> sources{};
  bool Has(size_t index) const { return index < columns.size(); }
  const std::u16string& At(size_t index) const {
    if (index < pending.size() && pending[index] != kReady) Write(index);
    return columns[index];
  }
  void Write(size_t index) const;
  // A pending integer column's value.
  uint64_t Number(size_t index) const;
  // The column's number as ParseInt64 and ParseUInt32 read it from At(index);
  // an integer column gives it without its decimal text being written.
  int64_t Int64(size_t index) const;
  uint32_t UInt32(size_t index) const;
  uint8_t UInt8(size_t index) const { return static_cast<uint8_t>(UInt32(index) & 0xFF); }
  const std::u16string& FullAt(size_t index) const {
    const std::u16string& list = At(index);
    return index < full.size() && !full[index].empty() ? full[index] : list;
  }
  size_t Count() const { return columns.size(); }
};

// The full Unicode forms of a record's texts that differ from their list
// texts (the code page 936 view), keyed by the list column they show in.
// Empty for the usual record, whose texts survive the code page unchanged.
struct FullTexts {
  std::vector<std::pair<uint8_t, std::u16string>> differing;

  void Set(uint8_t column, std::u16string_view list, std::u16string full) {
    if (full != list) differing.emplace_back(column, std::move(full));
  }
  const std::u16string* Find(uint8_t column) const {
    for (const auto& [c, text] : differing) {
      if (c == column) return &text;
    }
    return nullptr;
  }
};

// How a record was found: kCell, a whole cell of a table leaf page (live or
// deleted, anywhere in the image); kFreeblock, a deleted cell rebuilt after
// SQLite wrote a freeblock header over its first four bytes (its offset is
// that header's first byte).
enum class FoundBy : uint8_t { kCell = 0, kFreeblock = 1 };

// Where a record's cell starts: the position of its first byte in the image,
// or in folder mode in the backup file stores.files[file - 1].
struct RecordOrigin {
  uint64_t offset = 0;
  uint32_t file = 0;  // 0: the image itself
  FoundBy found = FoundBy::kCell;
};

struct PhoneBookEntry {
  std::u16string name;    // name parts of one contact, joined with ","
  std::u16string number;  // number parts of one contact, joined with ","
  FullTexts full{};       // list columns 1 name, 2 number
  // The cell of the first part; offsets lists every part's cell, ascending.
  RecordOrigin origin{};
  std::vector<uint64_t> offsets{};
};

struct SmsRecord {
  std::u16string number;
  std::u16string content;
  uint8_t status = 0;  // 1 received, 2 sent, 0 in the iOS 5 layout
  // Milliseconds since 1970 on Android, seconds on iOS (the 2001-based dates
  // of iOS 6 on are moved to 1970).
  int64_t time = 0;
  FullTexts full{};  // list columns 1 number, 4 content
  RecordOrigin origin{};
};

struct CallRecord {
  std::u16string number;
  std::u16string name;
  std::u16string location;
  int64_t time = 0;      // milliseconds since 1970, iOS calls too
  uint8_t callType = 0;  // 1 incoming, 2 dialled, 3 missed
  uint32_t count = 0;
  FullTexts full{};  // list columns 1 name, 2 number, 3 location
  RecordOrigin origin{};
};

struct ContactEvent {
  std::u16string number;
  std::u16string name;
  std::u16string location;
  std::u16string content;
  int64_t time = 0;
  uint8_t direction = 0;  // 1 received, 2 sent
  uint32_t count = 0;
  FullTexts full{};  // list columns 1 name, 2 number, 3 location, 7 content
  RecordOrigin origin{};
};

struct WeChatRecord {
  std::u16string contact;
  std::u16string content;
  int64_t time = 0;
  FullTexts full{};  // list columns 1 contact, 3 content
  RecordOrigin origin{};
};

// A name or number of a contact, waiting for the phone-book build.
struct ContactPart {
  uint8_t mark = 0;  // 0 name, 1 number; 2, 3 the message-handle join
  std::u16string text;
  std::u16string full{};  // the Unicode form where it differs from text
  uint64_t offset = 0;    // of its cell
  FoundBy found = FoundBy::kCell;
};

}  // namespace velkor
