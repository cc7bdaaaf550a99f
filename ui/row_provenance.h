// What the lists know of a record row beyond its texts: where its cells lie,
// the backup file it came from, how it was found, which earlier row it
// repeats and the instant its time column shows. Plain data, built by the
// task from the record stores and handed to the lists with the rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "engine/record_scan.h"

namespace velkor {

struct RowProvenance {
  std::vector<uint64_t> offsets;  // one, or every cell of a phone-book entry
  std::u16string sourceFile;      // relative to the folder; empty for an image
  std::u16string foundBy;
  uint32_t duplicateOf = 0;         // 1-based index of the row it repeats, or 0
  std::optional<uint32_t> seconds;  // the time column's instant, if it has one
};

// One entry per row of the tab's list, in list order.
std::vector<RowProvenance> ProvenanceRows(const RecordStores& stores, int tab);

// "0x10F5AB (1111467)".
QString OffsetText(uint64_t offset);
// Every offset of a row, joined by ", ".
QString OffsetsText(const std::vector<uint64_t>& offsets);

}  // namespace velkor
