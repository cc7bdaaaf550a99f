#include "engine/text_export.h"

#include <cstdio>

#include "engine/output_file.h"
#include "engine/text_codec.h"

namespace velkor {
namespace {

void AppendRow(std::string& out, const RowTexts& row, size_t columnCount) {
  for (size_t column = 0; column < columnCount; ++column) {
    if (column < row.size()) AppendUtf16Le(out, row[column]);
    AppendUtf16Le(out, u"\r\n");
  }
  AppendUtf16Le(out, u"\r\n");
}

// What the writer collects before handing it to the file.
constexpr size_t kWriteChunk = size_t{1} << 20;

}  // namespace

std::string TextExportBytes(const std::vector<RowTexts>& rows, size_t columnCount) {
  std::string out(kUtf16LeMark);
  if (columnCount == 0) return out;
  for (const RowTexts& row : rows) AppendRow(out, row, columnCount);
  return out;
}

bool WriteTextExport(const std::filesystem::path& path, const std::vector<RowTexts>& rows,
                     size_t columnCount) {
  return WriteTextExport(path, rows.size(), columnCount,
                         [&rows](size_t index, RowTexts& row) { row = rows[index]; });
}

// The chunk is written whenever it passes kWriteChunk, so it never holds
// more than that plus one row.
bool WriteTextExport(const std::filesystem::path& path, size_t rowCount, size_t columnCount,
                     const RowSource& rowAt) {
  return WriteWholeFile(path, [&](std::FILE* file) {
    std::string chunk(kUtf16LeMark);
    chunk.reserve(kWriteChunk + (kWriteChunk >> 2));
    auto flush = [&] {
      const bool written = std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
      chunk.clear();
      return written;
    };
    RowTexts row;
    for (size_t i = 0; columnCount != 0 && i < rowCount; ++i) {
      rowAt(i, row);
      AppendRow(chunk, row, columnCount);
      if (chunk.size() >= kWriteChunk && !flush()) return false;
    }
    return flush();
  });
}

}  // namespace velkor
