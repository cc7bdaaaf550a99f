// Pieces of record decoding that are useful on their own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/cell_detector.h"
#include "engine/fast_classifier.h"
#include "engine/record_types.h"

namespace velkor {

// Unsigned big-endian value of n bytes (0 to 8); 0 bytes give 0. Integers are
// never sign-extended: FF gives 255, eight FF bytes 18446744073709551615.
inline uint64_t ReadBigEndian(const uint8_t* bytes, size_t n) {
  uint64_t value = 0;
  for (size_t k = 0; k < n; ++k) value = (value << 8) | bytes[k];
  return value;
}

// Where each column of an accepted cell lies, as pending columns that
// convert when a rule first reads them, and the signature of their type
// codes with the cell's column count. Reads and writes nothing of the body,
// so cell must stay as it is until the next cell is located into columns.
// available counts the window bytes from the cell's first byte; columns are
// cut at the window end and those starting past it are left out. False
// when the record body starts at or past the window end (no column).
bool LocateColumns(uint8_t* cell, int32_t available, const CellCandidate& candidate,
                   ColumnMap& columns, SignatureBits& bits);

// What decoding does to the window: the inner zero bytes of the located
// text fields become spaces, as a later cell overlapping them reads them.
void BlankTextColumns(const ColumnMap& columns);

// LocateColumns and BlankTextColumns, with one type code per column.
bool DecodeColumns(uint8_t* cell, int32_t available, const CellCandidate& candidate,
                   ColumnMap& columns, TypeSignature& signature);

}  // namespace velkor
