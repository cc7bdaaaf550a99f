#include "engine/text_export.h"

#include <cstdio>

#include "engine/output_file.h"
#include "engine/text_codec.h"

namespace velkor {

std::string TextExportBytes(const std::vector<RowTexts>& rows, size_t columnCount) {
  std::string out(kUtf16LeMark);
  if (columnCount == 0) return out;
  for (const RowTexts& row : rows) {
    for (size_t column = 0; column < columnCount; ++column) {
      if (column < row.size()) AppendUtf16Le(out, row[column]);
      AppendUtf16Le(out, u"\r\n");
    }
    AppendUtf16Le(out, u"\r\n");
  }
  return out;
}

bool WriteTextExport(const std::filesystem::path& path, const std::vector<RowTexts>& rows,
                     size_t columnCount) {
  const std::string bytes = TextExportBytes(rows, columnCount);
  return WriteWholeFile(path, [&bytes](std::FILE* file) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  });
}

}  // namespace velkor
