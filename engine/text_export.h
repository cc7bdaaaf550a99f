// The text file a record list is saved as.
//
// UTF-16 little-endian, starting with the byte-order mark FF FE. No header
// line. For each row: every cell's text followed by CR LF, then one more
// CR LF. No terminator. A list with no columns gives just the mark.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/record_rows.h"

namespace velkor {

// The bytes of the file for the given rows, each with columnCount cells
// (missing cells are written empty).
std::string TextExportBytes(const std::vector<RowTexts>& rows, size_t columnCount);

// Writes the rows to path (created or truncated). False when the file cannot
// be created or not every byte was written; a failed write removes nothing
// the caller could mistake for a complete export (the partial file is
// deleted).
bool WriteTextExport(const std::filesystem::path& path, const std::vector<RowTexts>& rows,
                     size_t columnCount);

}  // namespace velkor
