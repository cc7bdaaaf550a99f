// The records the engine extracts and the intermediate forms of a decoded
// cell. Plain data: the record stores own every string in them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

// 0: no template fits; 1 to 16: the template that fitted.
using RecordCategory = uint8_t;

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
  std::vector<std::u16string> columns;
  bool Has(size_t index) const { return index < columns.size(); }
  const std::u16string& At(size_t index) const { return columns[index]; }
  size_t Count() const { return columns.size(); }
};

struct PhoneBookEntry {
  std::u16string name;    // name parts of one contact, joined with ","
  std::u16string number;  // number parts of one contact, joined with ","
};

struct SmsRecord {
  std::u16string number;
  std::u16string content;
  uint8_t status = 0;  // 1 received, 2 sent, 0 on IOS
  int64_t time = 0;    // as found: milliseconds or seconds since 1970
};

struct CallRecord {
  std::u16string number;
  std::u16string name;
  std::u16string location;
  int64_t time = 0;
  uint8_t callType = 0;  // 1 incoming, 2 dialled, 3 missed
  uint32_t count = 0;
};

struct ContactEvent {
  std::u16string number;
  std::u16string name;
  std::u16string location;
  std::u16string content;
  int64_t time = 0;
  uint8_t direction = 0;  // 1 received, 2 sent
  uint32_t count = 0;
};

struct WeChatRecord {
  std::u16string contact;
  std::u16string content;
  int64_t time = 0;
};

// A name or number of a contact, waiting for the phone-book build.
struct ContactPart {
  uint8_t mark = 0;  // 0 name, 1 number
  std::u16string text;
};

}  // namespace velkor
