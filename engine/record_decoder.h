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

// The signature of the type codes DecodeColumns gives, with the cell's
// column count, from the serial types alone (no column body is read); false
// where it decodes nothing.
bool ColumnSignatureBits(int32_t available, const CellCandidate& candidate, SignatureBits& bits);

// What decoding does to the window without converting anything: the inner
// zero bytes of the text fields become spaces, as a later cell overlapping
// them reads them.
void BlankTextZeros(uint8_t* cell, int32_t available, const CellCandidate& candidate);

// Decodes the columns of an accepted cell into column strings and type codes.
// available counts the window bytes from the cell's first byte; columns are
// cut at the window end and those starting past it are not decoded. False
// when the record body starts at or past the window end (nothing decoded).
// Text fields get their inner zero bytes overwritten with spaces in place;
// they are converted when a rule first reads them, so cell must stay as it
// is until the next cell is decoded into columns.
bool DecodeColumns(uint8_t* cell, int32_t available, const CellCandidate& candidate,
                   ColumnMap& columns, TypeSignature& signature);

}  // namespace velkor
