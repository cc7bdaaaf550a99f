#include "engine/record_decoder.h"

#include <algorithm>
#include <limits>

#include "engine/number_parse.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {

namespace {

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
//
// Calls visit(index, serialType, off, readable) for each column that
// decoding reaches, in order; false when the body starts at or past the
// window end.
template <typename Visit>
bool WalkColumns(int32_t available, const CellCandidate& candidate, Visit visit) {
  int64_t off = candidate.payloadLength.length + candidate.rowid.length +
                static_cast<int64_t>(candidate.headerLength.value);
  if (off >= available) return false;
  size_t count = 0;
  for (const Varint serial : candidate.serialTypes) {
    if (count >= kMaxDecodedColumns) break;
    const int64_t a = available - off;
    if (a < 0) break;
    const uint64_t size = SerialTypeContentSize(serial.value);
    const auto readable = static_cast<size_t>(std::min<uint64_t>(size, static_cast<uint64_t>(a)));
    visit(count, serial.value, off, readable);
    ++count;
    off += static_cast<int64_t>(size);
  }
  return true;
}

uint8_t TypeCode(uint64_t serialType) {
  return serialType == 0 ? kTypeNull : serialType <= 9 ? kTypeNumber : kTypeText;
}

}  // namespace

bool ColumnSignatureBits(int32_t available, const CellCandidate& candidate, SignatureBits& bits) {
  bits = SignatureBits{};
  bits.columns = static_cast<uint32_t>(candidate.serialTypes.size());
  return WalkColumns(available, candidate, [&](size_t index, uint64_t t, int64_t, size_t) {
    bits.Set(index, TypeCode(t));
  });
}

void BlankTextZeros(uint8_t* cell, int32_t available, const CellCandidate& candidate) {
  WalkColumns(available, candidate, [&](size_t, uint64_t t, int64_t off, size_t readable) {
    if (t >= 12) BlankInnerZeros(cell + off, readable);
  });
}

void ColumnMap::WriteNumber(size_t index) const {
  AssignDecimal(columns[index], numbers[index]);
  pending[index] = 0;
}

// The decimal text of an unsigned integer reads back as itself, or as the
// limit where it is beyond it: neither parse sees a sign or another
// character in it.
int64_t ColumnMap::Int64(size_t index) const {
  if (index < pending.size() && pending[index] != 0) {
    return static_cast<int64_t>(
        std::min<uint64_t>(numbers[index], std::numeric_limits<int64_t>::max()));
  }
  return ParseInt64(columns[index]);
}

uint32_t ColumnMap::UInt32(size_t index) const {
  if (index < pending.size() && pending[index] != 0) {
    return static_cast<uint32_t>(
        std::min<uint64_t>(numbers[index], std::numeric_limits<uint32_t>::max()));
  }
  return ParseUInt32(columns[index]);
}

bool DecodeColumns(uint8_t* cell, int32_t available, const CellCandidate& candidate,
                   ColumnMap& columns, TypeSignature& signature) {
  signature.fill(kTypeNone);
  size_t count = 0;
  columns.full.resize(columns.columns.size());
  columns.pending.resize(columns.columns.size());
  columns.numbers.resize(columns.columns.size());
  const bool reached = WalkColumns(
      available, candidate, [&](size_t index, uint64_t t, int64_t off, size_t readable) {
        if (index == columns.columns.size()) {
          columns.columns.emplace_back();
          columns.full.emplace_back();
          columns.pending.emplace_back();
          columns.numbers.emplace_back();
        }
        std::u16string& text = columns.columns[index];
        columns.full[index].clear();
        columns.pending[index] = 0;
        if (t == 0) {
          text.clear();
        } else if (t <= 7) {
          columns.numbers[index] = ReadBigEndian(cell + off, readable);
          columns.pending[index] = 1;
        } else if (t == 8 || t == 9) {
          text.assign(1, t == 8 ? u'0' : u'1');
        } else {
          DecodeTextInto(cell + off, readable, text, columns.full[index]);
        }
        signature[index] = TypeCode(t);
        count = index + 1;
      });
  columns.columns.resize(count);
  columns.full.resize(count);
  columns.pending.resize(count);
  columns.numbers.resize(count);
  return reached;
}

}  // namespace velkor
