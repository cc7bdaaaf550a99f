// The text file a record list is saved as.
//
// UTF-16 little-endian, starting with the byte-order mark FF FE. No header
// line. For each row: every cell's text followed by CR LF, then one more
// CR LF. No terminator. A list with no columns gives just the mark.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/record_rows.h"

namespace velkor {

// Writes the texts of row index into row (whose strings may be reused).
using RowSource = std::function<void(size_t index, RowTexts& row)>;

// The bytes of the file for the given rows, each with columnCount cells
// (missing cells are written empty).
std::string TextExportBytes(const std::vector<RowTexts>& rows, size_t columnCount);

// Writes the rows to path (created or truncated). False when the file cannot
// be created or not every byte was written; a failed write removes nothing
// the caller could mistake for a complete export (the partial file is
// deleted).
bool WriteTextExport(const std::filesystem::path& path, const std::vector<RowTexts>& rows,
                     size_t columnCount);
// The same file for rowCount rows that rowAt gives one at a time, so a list
// is never held as texts all at once.
bool WriteTextExport(const std::filesystem::path& path, size_t rowCount, size_t columnCount,
                     const RowSource& rowAt);

}  // namespace velkor
