#include "engine/record_decoder.h"

#include <algorithm>

#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {

// Column bodies follow the record header in serial-type order:
//
//   serial type   bytes read            column text                 code
//   0             none                  ""                          3 NULL
//   1..4          min(T, a)             unsigned big-endian decimal 1
//   5             min(6, a)             "                           1
//   6, 7          min(8, a)             " (a float's bits as integer) 1
//   8, 9          none                  "0", "1"                    1
//   12 and above  min(size, a)          text conversion             2
//
// a is what the window still holds from the column's first byte. Invariant:
// off always advances by the full content size, so a column cut short by the
// window end leaves every later column starting past it, and decoding stops
// at the first column that starts beyond the window (a < 0).
//
// Text columns also keep their full Unicode reading where the code page pass
// changed it (ColumnMap::full), so no character is lost to the record.
//
// The column strings of the previous record are overwritten in place, so a
// window of rows of one table decodes without allocating once the strings
// have grown to their sizes.
bool DecodeColumns(uint8_t* cell, int32_t available, const CellCandidate& candidate,
                   ColumnMap& columns, TypeSignature& signature) {
  signature.fill(kTypeNone);
  int64_t off = candidate.payloadLength.length + candidate.rowid.length +
                static_cast<int64_t>(candidate.headerLength.value);
  if (off >= available) {
    columns.columns.clear();
    columns.full.clear();
    return false;
  }

  size_t count = 0;
  columns.full.resize(columns.columns.size());
  for (const Varint& serial : candidate.serialTypes) {
    if (count >= kMaxDecodedColumns) break;
    const int64_t a = available - off;
    if (a < 0) break;
    const uint64_t t = serial.value;
    const uint64_t size = SerialTypeContentSize(t);
    const size_t readable = static_cast<size_t>(std::min<uint64_t>(size, static_cast<uint64_t>(a)));
    if (count == columns.columns.size()) {
      columns.columns.emplace_back();
      columns.full.emplace_back();
    }
    std::u16string& text = columns.columns[count];
    std::u16string& full = columns.full[count];
    full.clear();
    uint8_t code;
    if (t == 0) {
      code = kTypeNull;
      text.clear();
    } else if (t <= 7) {
      code = kTypeNumber;
      AssignDecimal(text, ReadBigEndian(cell + off, readable));
    } else if (t == 8 || t == 9) {
      code = kTypeNumber;
      text.assign(1, t == 8 ? u'0' : u'1');
    } else {
      code = kTypeText;
      DecodeTextInto(cell + off, readable, text, full);
    }
    signature[count] = code;
    ++count;
    off += static_cast<int64_t>(size);
  }
  columns.columns.resize(count);
  columns.full.resize(count);
  return true;
}

}  // namespace velkor
