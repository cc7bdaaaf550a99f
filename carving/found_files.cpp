#include "carving/found_files.h"

#include <filesystem>
#include <limits>
#include <memory>

#include "carving/media_signatures.h"
#include "carving/output_file.h"
#include "carving/scan_params.h"
#include "engine/log_entries.h"
#include "engine/text_format.h"

namespace velkor {

namespace {

constexpr size_t kCopyChunk = size_t{1} << 20;

// A name that stays a plain file inside the save folder.
bool IsPlainFileName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  return name.find_first_of(std::u16string_view(u"/\\\0", 3)) == std::u16string_view::npos;
}

bool SaveOne(const std::filesystem::path& path, ImageSource& image, uint64_t offset,
             uint64_t length) {
  return WriteWholeFile(
      path, [&](std::FILE* file) { return CopyImageRange(file, image, offset, length); });
}

}  // namespace

std::u16string FoundFileName(uint64_t row, uint32_t kind, uint32_t mode) {
  const MediaFormat* format = FindMediaFormat(MediaFormatsFor(mode), kind);
  if (format == nullptr) return DecimalText(row);
  return Concat({DecimalText(row), u".", format->extension});
}

std::vector<RowTexts> FoundFileRows(const CarvedFileStore& store, uint32_t mode) {
  std::vector<RowTexts> rows;
  rows.reserve(store.size());
  uint64_t row = 0;
  for (const auto& [offset, file] : store) {
    rows.push_back(
        {FoundFileName(row, file.kind, mode), DecimalText(file.offset), DecimalText(file.length)});
    ++row;
  }
  return rows;
}

bool CopyImageRange(std::FILE* output, ImageSource& image, uint64_t offset, uint64_t length) {
  std::vector<uint8_t> buffer(kCopyChunk);
  uint64_t copied = 0;
  while (copied < length) {
    // An offset that would wrap lies past every image: the copy ends there.
    if (copied > std::numeric_limits<uint64_t>::max() - offset) break;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kCopyChunk, length - copied));
    const size_t got = ReadFully(image, buffer.data(), want, offset + copied);
    if (got > 0 && std::fwrite(buffer.data(), 1, got, output) != got) return false;
    copied += got;
    if (got < want) {
      // Short of the image's end the read failed (a bad sector, a file cut
      // since it was measured): the file would silently miss its rest.
      return offset + copied >= image.Size();
    }
  }
  return true;
}

std::vector<size_t> SaveCarvedFiles(const ImageOpener& opener, std::u16string_view imagePath,
                                    const std::vector<CarvedFileRow>& rows,
                                    std::u16string_view folder, LogSink* log,
                                    ProgressSink* progress) {
  std::vector<size_t> written;
  std::unique_ptr<ImageSource> image = opener(PathFromText(imagePath));
  if (!image) {
    LogOpenFailed(log, kTitleSaveError, imagePath, kLevelError);
    return written;
  }
  // An empty folder text would put the files at the root: nothing is saved
  // into it. A root folder "/" itself loses its separator here and regains
  // it in the join.
  const bool folderGiven = !folder.empty();
  if (folderGiven && folder.back() == u'/') folder.remove_suffix(1);

  const auto total =
      static_cast<uint32_t>(std::min<size_t>(rows.size(), std::numeric_limits<uint32_t>::max()));
  if (progress) progress->ProgressRange(total);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (progress) progress->ProgressPos(static_cast<uint32_t>(std::min<size_t>(i, total)));
    const CarvedFileRow& row = rows[i];
    if (!row.ticked) continue;
    const std::u16string pathText = Concat({folder, u"/", row.name});
    // Names that would leave the folder are refused as uncreatable.
    if (!folderGiven || !IsPlainFileName(row.name) ||
        !SaveOne(PathFromText(pathText), *image, ParseDecimalField(row.offsetText),
                 ParseDecimalField(row.lengthText))) {
      LogSaveFailed(log, kTitleSave, pathText, kLevelError);
      continue;
    }
    written.push_back(i);
  }
  return written;
}

}  // namespace velkor
