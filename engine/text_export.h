// The text file a record list is saved as.
//
// UTF-16 little-endian, starting with the byte-order mark FF FE. No header
// line. For each row: every cell's text followed by CR LF, then one more
// CR LF. No terminator. A list with no columns gives just the mark.
#pragma once

#include <algorithm>
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
// (the column numbers are only for sinks that keep cells apart). Cells are
// put together in a buffer of units that goes to out whole when full and at
// the end: a dense list has tens of millions of short cells, and growing
// out for each cost more than formatting it.
class TextRowBytes {
 public:
  static constexpr std::u16string_view kLineEnd = u"\r\n";

  explicit TextRowBytes(std::string& out) : out_(out) {}
  TextRowBytes(const TextRowBytes&) = delete;
  TextRowBytes& operator=(const TextRowBytes&) = delete;
  ~TextRowBytes() { Flush(); }

  void Start(size_t /*columns*/) {}
  void Text(size_t /*column*/, std::u16string_view text) {
    Put(text);
    PutLineEnd();
  }
  void Text(size_t /*column*/, StoredText text) {
    if (text.wide) {
      Put(text.Wide());
    } else {
      PutNarrow(text.Narrow());
    }
    PutLineEnd();
  }
  void Decimal(size_t /*column*/, uint64_t value) {
    Room(kMaxDecimalUnits);
    used_ += DecimalUnits(value, units_ + used_);
    PutLineEnd();
  }
  void Time(size_t /*column*/, uint32_t seconds) {
    Room(kMaxRecordTimeUnits);
    used_ += times_.Write(seconds, units_ + used_);
    PutLineEnd();
  }
  void End() { PutLineEnd(); }
  // Appends what the buffer holds to out.
  void Flush() {
    AppendUtf16Le(out_, {units_, used_});
    used_ = 0;
  }

 private:
  static constexpr size_t kUnits = 8192;

  void Room(size_t count) {
    if (used_ + count > kUnits) Flush();
  }
  void Put(std::u16string_view text) {
    if (text.size() > kUnits) {
      Flush();
      AppendUtf16Le(out_, text);
      return;
    }
    Room(text.size());
    text.copy(units_ + used_, text.size());
    used_ += text.size();
  }
  void PutNarrow(std::span<const uint8_t> text) {
    for (size_t from = 0; from < text.size(); from += kUnits) {
      const size_t count = std::min(kUnits, text.size() - from);
      Room(count);
      char16_t* to = units_ + used_;
      for (size_t i = 0; i < count; ++i) to[i] = text[from + i];
      used_ += count;
    }
  }
  void PutLineEnd() {
    Room(2);
    units_[used_] = u'\r';
    units_[used_ + 1] = u'\n';
    used_ += 2;
  }

  std::string& out_;
  RecordTimeWriter times_{};
  size_t used_ = 0;
  char16_t units_[kUnits];
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

// One file: head, then rowCount rows whose bytes appendRows gives for any
// range of them (first, last) at a time, so a list is never held as bytes
// all at once. The text export's head is its byte-order mark; the reports
// (engine/record_reports.h) are written the same way.
struct TextExportJob {
  std::filesystem::path path;
  std::string head;
  size_t rowCount;
  std::function<void(size_t first, size_t last, std::string& out)> appendRows;
};
// A text export job for a list of columnCount columns: no rows without
// columns, as TextExportBytes gives.
TextExportJob TextListJob(std::filesystem::path path, size_t rowCount, size_t columnCount,
                          std::function<void(size_t first, size_t last, std::string& out)> rows);
// Writes every job's file as WriteTextExport does, on up to threads threads
// that share the rows of all files; whether each file was written, in job
// order.
std::vector<char> WriteTextExports(std::span<const TextExportJob> jobs, uint32_t threads);

}  // namespace velkor
