#include "carving/found_files.h"

#include <filesystem>
#include <limits>
#include <memory>

#include "carving/media_signatures.h"
#include "engine/log_entries.h"
#include "engine/output_file.h"
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

std::vector<FoundFile> FoundFiles(const CarvedFileStore& store, uint32_t mode) {
  std::vector<FoundFile> files;
  files.reserve(store.size());
  for (const auto& [offset, file] : store) {
    files.push_back({FoundFileName(files.size(), file.kind, mode), file});
  }
  return files;
}

std::vector<RowTexts> FoundFileRows(const std::vector<FoundFile>& files) {
  std::vector<RowTexts> rows;
  rows.reserve(files.size());
  for (const FoundFile& found : files) {
    rows.push_back({found.name, DecimalText(found.file.offset), DecimalText(found.file.length)});
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

std::vector<size_t> SaveCarvedFiles(const ScanInput& input, const std::vector<FoundFile>& files,
                                    const std::filesystem::path& folder) {
  std::vector<size_t> written;
  std::unique_ptr<ImageSource> image =
      input.imageOpener ? input.imageOpener(input.imagePath) : nullptr;
  if (!image) {
    LogOpenFailed(input.log, kTitleSaveError, PathText(input.imagePath), kLevelError);
    return written;
  }
  // An empty folder would put the files at the root: nothing is saved into
  // it. A root folder "/" itself loses its separator here and regains it in
  // the join.
  std::u16string folderText = PathText(folder);
  const bool folderGiven = !folderText.empty();
  if (folderGiven && folderText.back() == u'/') folderText.pop_back();

  ProgressSink* progress = input.progress;
  const auto total =
      static_cast<uint32_t>(std::min<size_t>(files.size(), std::numeric_limits<uint32_t>::max()));
  if (progress) progress->ProgressRange(total);
  for (size_t i = 0; i < files.size(); ++i) {
    if (progress) progress->ProgressPos(static_cast<uint32_t>(std::min<size_t>(i, total)));
    const FoundFile& found = files[i];
    const std::u16string pathText = Concat({folderText, u"/", found.name});
    // Names that would leave the folder are refused as uncreatable.
    if (!folderGiven || !IsPlainFileName(found.name) ||
        !SaveOne(folder / PathFromText(found.name), *image, found.file.offset, found.file.length)) {
      LogSaveFailed(input.log, kTitleSave, pathText, kLevelError);
      continue;
    }
    written.push_back(i);
  }
  return written;
}

}  // namespace velkor
