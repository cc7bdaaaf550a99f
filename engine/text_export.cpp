#include "engine/text_export.h"

#include <cstdio>

#include "engine/output_file.h"

namespace velkor {

namespace {

void AppendUtf16LE(std::string& out, std::u16string_view text) {
  for (char16_t unit : text) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
}

}  // namespace

std::string TextExportBytes(const std::vector<RowTexts>& rows, size_t columnCount) {
  std::string out("\xFF\xFE", 2);
  if (columnCount == 0) return out;
  for (const RowTexts& row : rows) {
    for (size_t column = 0; column < columnCount; ++column) {
      if (column < row.size()) AppendUtf16LE(out, row[column]);
      AppendUtf16LE(out, u"\r\n");
    }
    AppendUtf16LE(out, u"\r\n");
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
