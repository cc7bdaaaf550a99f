// The text file a record list is saved as.
//
// UTF-16 little-endian, starting with the byte-order mark FF FE. No header
// line. For each row: every cell's text followed by CR LF, then one more
// CR LF. No terminator. A list with no columns gives just the mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/record_rows.h"
#include "engine/record_time.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {

// Rows appended to out in the file's bytes, cells given in column order
// (the column numbers are only for sinks that keep cells apart). Numbers and
// times are put together with their line end and appended in one piece.
struct TextRowBytes {
  static constexpr std::u16string_view kLineEnd = u"\r\n";
  std::string& out;
  RecordTimeWriter times{};

  void Start(size_t /*columns*/) {}
  void Text(size_t /*column*/, std::u16string_view text) {
    AppendUtf16Le(out, text);
    AppendUtf16Le(out, kLineEnd);
  }
  void Text(size_t /*column*/, StoredText text) {
    if (text.wide.empty()) {
      AppendUtf16Le(out, text.narrow);
    } else {
      AppendUtf16Le(out, text.wide);
    }
    AppendUtf16Le(out, kLineEnd);
  }
  void Decimal(size_t /*column*/, uint64_t value) {
    char16_t units[kMaxDecimalUnits + kLineEnd.size()];
    AppendWithLineEnd(units, DecimalUnits(value, units));
  }
  void Time(size_t /*column*/, uint32_t seconds) {
    char16_t units[kMaxRecordTimeUnits + kLineEnd.size()];
    AppendWithLineEnd(units, times.Write(seconds, units));
  }
  void End() { AppendUtf16Le(out, kLineEnd); }

 private:
  void AppendWithLineEnd(char16_t* units, size_t count) {
    kLineEnd.copy(units + count, kLineEnd.size());
    AppendUtf16Le(out, {units, count + kLineEnd.size()});
  }
};

// The bytes of the file for the given rows, each with columnCount cells
// (missing cells are written empty).
std::string TextExportBytes(const std::vector<RowTexts>& rows, size_t columnCount);

// Writes the rows to path (created or truncated). False when the file cannot
// be created or not every byte was written; a failed write removes nothing
// the caller could mistake for a complete export (the partial file is
// deleted).
bool WriteTextExport(const std::filesystem::path& path, const std::vector<RowTexts>& rows,
                     size_t columnCount);

// One file of rowCount rows whose bytes appendRows gives for any range of
// them (first, last) at a time, so a list is never held as bytes all at once.
struct TextExportJob {
  std::filesystem::path path;
  size_t rowCount;
  size_t columnCount;
  std::function<void(size_t first, size_t last, std::string& out)> appendRows;
};
// Writes every job's file as WriteTextExport does, on up to threads threads
// that share the rows of all files; whether each file was written, in job
// order.
std::vector<char> WriteTextExports(std::span<const TextExportJob> jobs, uint32_t threads);

}  // namespace velkor
