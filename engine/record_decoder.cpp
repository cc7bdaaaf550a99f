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

void ColumnMap::Write(size_t index) const {
  if (pending[index] == kNumber) {
    AssignDecimal(columns[index], Number(index));
    full[index].clear();
  } else {
    DecodeTextInto(sources[index].bytes, sources[index].length, columns[index], full[index]);
  }
  pending[index] = kReady;
}

uint64_t ColumnMap::Number(size_t index) const {
  const Source& source = sources[index];
  return source.serialType >= 8 ? source.serialType - 8u
                                : ReadBigEndian(source.bytes, source.length);
}

// The decimal text of an unsigned integer reads back as itself, or as the
// limit where it is beyond it: neither parse sees a sign or another
// character in it.
int64_t ColumnMap::Int64(size_t index) const {
  if (index < pending.size() && pending[index] == kNumber) {
    return static_cast<int64_t>(
        std::min<uint64_t>(Number(index), std::numeric_limits<int64_t>::max()));
  }
  return ParseInt64(columns[index]);
}

uint32_t ColumnMap::UInt32(size_t index) const {
  if (index < pending.size() && pending[index] == kNumber) {
    return static_cast<uint32_t>(
        std::min<uint64_t>(Number(index), std::numeric_limits<uint32_t>::max()));
  }
  return ParseUInt32(columns[index]);
}

// One walk over the serial types gives both what the classifier needs and
// where every column lies; nothing of the body is read.
bool LocateColumns(uint8_t* cell, int32_t available, const CellCandidate& candidate,
                   ColumnMap& columns, SignatureBits& bits) {
  bits = SignatureBits{};
  bits.columns = static_cast<uint32_t>(candidate.serialTypes.size());
  const size_t most = std::min(candidate.serialTypes.size(), kMaxDecodedColumns);
  columns.pending.resize(most);
  columns.sources.resize(most);
  size_t count = 0;
  const bool reached = WalkColumns(
      available, candidate, [&](size_t index, uint64_t t, int64_t off, size_t readable) {
        const bool number = t >= 1 && t <= 9;
        columns.pending[index] = number ? ColumnMap::kNumber : ColumnMap::kText;
        columns.sources[index] = {cell + off, static_cast<uint32_t>(t == 0 ? 0 : readable),
                                  static_cast<uint8_t>(t < 12 ? t : 12)};
        bits.Set(index, TypeCode(t));
        count = index + 1;
      });
  columns.columns.resize(count);
  columns.full.resize(count);
  columns.pending.resize(count);
  columns.sources.resize(count);
  return reached;
}

void BlankTextColumns(const ColumnMap& columns) {
  for (const ColumnMap::Source& source : columns.sources) {
    if (source.serialType >= 12) BlankInnerZeros(source.bytes, source.length);
  }
}

bool DecodeColumns(uint8_t* cell, int32_t available, const CellCandidate& candidate,
                   ColumnMap& columns, TypeSignature& signature) {
  SignatureBits bits;
  const bool reached = LocateColumns(cell, available, candidate, columns, bits);
  BlankTextColumns(columns);
  signature.fill(kTypeNone);
  for (size_t i = 0; i < columns.sources.size(); ++i) {
    signature[i] = TypeCode(columns.sources[i].serialType);
  }
  return reached;
}

}  // namespace velkor
