// Where each row of a record list came from, and which rows repeat an
// earlier one: what an examiner cites beside the list texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/record_scan.h"

namespace velkor {

// The origin of a row of a record tab; nullptr outside the tab's rows.
const RecordOrigin* RecordOriginOf(const RecordStores& stores, int tab, size_t index);
// The cell offsets of a row: one, or every cell of a phone-book entry in
// image order; empty outside the tab's rows.
std::vector<uint64_t> RecordOffsets(const RecordStores& stores, int tab, size_t index);
// The backup file a row was found in, relative to the folder; nullopt for an
// image.
std::optional<std::filesystem::path> RecordSourceFile(const RecordStores& stores,
                                                      const RecordOrigin& origin);
// "cell" and the names of the other ways, as the reports write them.
std::string_view FoundByName(FoundBy found);

// For every row of the tab: 0, or the 1-based index of the first row whose
// list texts equal its own in every column but the index. Rows are grouped
// by their code page texts, as the list shows them, whatever form a report
// writes.
std::vector<uint32_t> DuplicateOf(const RecordStores& stores, int tab);

// The instant a row's time column shows, in seconds since 1970; nullopt for
// a tab without a time column.
std::optional<uint32_t> RecordListSeconds(const RecordStores& stores, int tab, size_t index);

}  // namespace velkor
