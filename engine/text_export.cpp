#include "engine/text_export.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/output_file.h"

namespace velkor {
namespace {

// The rows through one sink, whose buffer reaches out at the end.
void AppendRows(std::string& out, std::span<const RowTexts> rows, size_t columnCount) {
  TextRowBytes cells{out};
  for (const RowTexts& row : rows) {
    for (size_t column = 0; column < columnCount; ++column) {
      cells.Text(column, column < row.size() ? std::u16string_view(row[column]) : u"");
    }
    cells.End();
  }
}

// What one piece of a file is sized to: the bytes a thread formats before
// the piece is written.
constexpr size_t kPieceBytes = size_t{1} << 20;
// Rows of a file's first piece, before its bytes per row are known.
constexpr size_t kFirstPieceRows = 1024;
// Pieces of one file claimed but not yet written, at most.
constexpr size_t kPiecesInFlight = 4;

// One file on its way: pieces are claimed in row order, formatted by any
// thread and written strictly in claim order.
struct FileInProgress {
  const TextExportJob* job = nullptr;
  std::unique_ptr<PartialFile> file;
  bool ok = false;
  size_t rowCount = 0;  // 0 when there are no columns: the file is just the mark
  size_t nextRow = 0;
  size_t claimed = 0;
  size_t written = 0;
  bool writing = false;
  size_t rowsFormatted = 0;
  size_t bytesFormatted = 0;
  std::map<size_t, std::string> ready;  // formatted pieces waiting for their turn

  size_t InFlight() const { return claimed - written; }
  bool RowsLeft() const { return ok && nextRow < rowCount; }
  size_t PieceRows() const {
    if (bytesFormatted == 0) return kFirstPieceRows;
    return std::max<size_t>(1, kPieceBytes / std::max<size_t>(1, bytesFormatted / rowsFormatted));
  }
};

// The threads share one lock for claiming and handing over pieces; the
// formatting and the writes happen outside it. Invariants: a file's pieces
// reach it in claim order, because only the one thread that set writing
// writes it, and only the piece numbered written; every piece in flight is
// either being formatted or waiting in ready while its file has a writer or
// an earlier piece is being formatted, so a thread that waits for room is
// always woken by a later write.
class PieceWriter {
 public:
  explicit PieceWriter(std::vector<FileInProgress>& files) : files_(files) {}

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      FileInProgress* file = Choose();
      if (file == nullptr) {
        if (std::none_of(files_.begin(), files_.end(),
                         [](const FileInProgress& f) { return f.RowsLeft(); }))
          return;
        changed_.wait(lock);
        continue;
      }
      const size_t piece = file->claimed++;
      const size_t first = file->nextRow;
      const size_t last = first + std::min(file->PieceRows(), file->rowCount - first);
      file->nextRow = last;
      std::string bytes = TakeBuffer();
      lock.unlock();
      file->job->appendRows(first, last, bytes);
      lock.lock();
      file->rowsFormatted += last - first;
      file->bytesFormatted += bytes.size();
      file->ready.emplace(piece, std::move(bytes));
      if (!file->writing) WriteReadyPieces(*file, lock);
    }
  }

 private:
  // The file with the fewest pieces in flight among those with rows left
  // and room for another piece, so that the threads spread over the files.
  FileInProgress* Choose() {
    FileInProgress* best = nullptr;
    for (FileInProgress& file : files_) {
      if (!file.RowsLeft() || file.InFlight() >= kPiecesInFlight) continue;
      if (best == nullptr || file.InFlight() < best->InFlight()) best = &file;
    }
    return best;
  }

  std::string TakeBuffer() {
    if (spare_.empty()) return {};
    std::string bytes = std::move(spare_.back());
    spare_.pop_back();
    bytes.clear();
    return bytes;
  }

  void WriteReadyPieces(FileInProgress& file, std::unique_lock<std::mutex>& lock) {
    file.writing = true;
    for (auto at = file.ready.find(file.written); at != file.ready.end();
         at = file.ready.find(file.written)) {
      std::string bytes = std::move(at->second);
      file.ready.erase(at);
      const bool ok = file.ok;
      lock.unlock();
      const bool written =
          ok && std::fwrite(bytes.data(), 1, bytes.size(), file.file->Get()) == bytes.size();
      lock.lock();
      file.ok = written;
      ++file.written;
      spare_.push_back(std::move(bytes));
      changed_.notify_all();
    }
    file.writing = false;
  }

  std::vector<FileInProgress>& files_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> spare_;  // buffers of written pieces, reused
};

}  // namespace

std::string TextExportBytes(const std::vector<RowTexts>& rows, size_t columnCount) {
  std::string out(kUtf16LeMark);
  if (columnCount == 0) return out;
  AppendRows(out, rows, columnCount);
  return out;
}

bool WriteTextExport(const std::filesystem::path& path, const std::vector<RowTexts>& rows,
                     size_t columnCount) {
  const TextExportJob job =
      TextListJob(path, rows.size(), columnCount, [&](size_t first, size_t last, std::string& out) {
        AppendRows(out, std::span(rows).subspan(first, last - first), columnCount);
      });
  return WriteTextExports({&job, 1}, 1)[0] != 0;
}

TextExportJob TextListJob(std::filesystem::path path, size_t rowCount, size_t columnCount,
                          std::function<void(size_t first, size_t last, std::string& out)> rows) {
  return {std::move(path), std::string(kUtf16LeMark), columnCount == 0 ? 0 : rowCount,
          std::move(rows)};
}

std::vector<char> WriteTextExports(std::span<const TextExportJob> jobs, uint32_t threads) {
  std::vector<FileInProgress> files;
  files.reserve(jobs.size());
  for (const TextExportJob& job : jobs) {
    FileInProgress& file = files.emplace_back();
    file.job = &job;
    file.file = std::make_unique<PartialFile>(job.path);
    file.rowCount = job.rowCount;
    file.ok = file.file->Get() != nullptr &&
              std::fwrite(job.head.data(), 1, job.head.size(), file.file->Get()) == job.head.size();
  }
  PieceWriter writer(files);
  std::vector<std::thread> helpers;
  for (uint32_t t = 1; t < threads; ++t) helpers.emplace_back([&writer] { writer.Run(); });
  writer.Run();
  for (std::thread& helper : helpers) helper.join();
  std::vector<char> written;
  for (FileInProgress& file : files) written.push_back(file.file->Finish(file.ok));
  return written;
}

}  // namespace velkor
