#include "engine/cell_detector.h"

namespace velkor {

// The bounds are applied cheapest first. The prefilter leaves this test to
// few offsets but most of them are cells, so the serial types are stored as
// they are read, in one pass; a rejected candidate's list is cleared by the
// next test. Invariant of the serial-type loop: every serial type starts
// strictly inside the scanned part (its continuation bytes may lie in the
// slack), total is H plus the content sizes of the types read so far, and
// total never exceeds P.
bool DetectCell(const uint8_t* bytes, int32_t available, CellCandidate& candidate) {
  candidate.serialTypes.clear();
  if (available <= 0) return false;

  Varint& p = candidate.payloadLength;
  if (!ReadVarint(bytes, p)) return false;
  if (p.value < kMinPayload || p.value > kMaxPayload) return false;

  if (available - p.length <= 0) return false;
  Varint& r = candidate.rowid;
  if (!ReadVarint(bytes + p.length, r)) return false;
  if (r.value > kMaxRowid) return false;

  if (available - (p.length + r.length) <= 0) return false;
  Varint& h = candidate.headerLength;
  if (!ReadVarint(bytes + p.length + r.length, h)) return false;

  if (!(p.value > static_cast<uint64_t>(p.length + r.length) + h.value)) return false;

  const int64_t serialBytes = static_cast<int64_t>(h.value) - h.length;  // D
  if (serialBytes < static_cast<int64_t>(kMinSerialBytes) ||
      serialBytes > static_cast<int64_t>(kMaxSerialBytes)) {
    return false;
  }

  const int32_t lead = p.length + r.length + h.length;  // S
  if (!(lead < available) || lead > kMaxLeadBytes) return false;

  uint64_t total = h.value;
  int32_t consumed = 0;
  for (;;) {
    if (available - consumed - lead <= 0) return false;
    Varint t;
    if (!ReadVarint(bytes + lead + consumed, t)) return false;
    if (t.value == 10 || t.value == 11) return false;
    if (consumed == 0 && t.value >= 10) return false;
    total += SerialTypeContentSize(t.value);
    if (total > p.value) return false;
    candidate.serialTypes.push_back(t);
    consumed += t.length;
    if (consumed >= serialBytes) break;
  }
  const auto count = static_cast<int32_t>(candidate.serialTypes.size());
  return count >= kMinColumns && count <= kMaxColumns && consumed == serialBytes &&
         total == p.value;
}

}  // namespace velkor
