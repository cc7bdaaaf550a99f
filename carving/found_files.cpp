#include "carving/found_files.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>

#include "carving/media_signatures.h"
#include "engine/log_entries.h"
#include "engine/output_file.h"
#include "engine/piecewise_read.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {

namespace {

constexpr size_t kCopyChunk = size_t{1} << 20;

// A name that stays a plain file inside the save folder.
bool IsPlainFileName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  return name.find_first_of(std::u16string_view(u"/\\\0", 3)) == std::u16string_view::npos;
}

// The end of the unreadable pieces that follow from `from` on, up to the
// first piece that reads again or limit.
uint64_t UnreadableRunEnd(ImageSource& image, uint64_t from, uint64_t limit) {
  std::vector<uint8_t> piece(kReadPiece);
  uint64_t end = from;
  while (end < limit) {
    const uint64_t pieceEnd = std::min<uint64_t>((end / kReadPiece + 1) * kReadPiece, limit);
    if (ReadFully(image, piece.data(), static_cast<size_t>(pieceEnd - end), end) > 0) break;
    end = pieceEnd;
  }
  return end;
}

enum class SaveEnd { kWhole, kCut, kFailed };

// A file cut by an unreadable range keeps what was read before it: a prefix
// is still a usable start of a picture, and nothing is made up for the rest.
SaveEnd SaveOne(const std::filesystem::path& path, ImageSource& image, const CarvedFile& carved,
                ByteRange& lost) {
  lost = {};
  const bool kept = WriteWholeFile(path, [&](std::FILE* file) {
    return CopyImageRange(file, image, carved.offset, carved.length, &lost) || lost.length > 0;
  });
  if (!kept) return SaveEnd::kFailed;
  return lost.length > 0 ? SaveEnd::kCut : SaveEnd::kWhole;
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

std::string FoundFileJson(const FoundFile& found, uint32_t mode) {
  std::u16string_view format;
  for (const MediaFormat& candidate : MediaFormatsFor(mode)) {
    if (candidate.bit == found.file.kind) format = candidate.extension;
  }
  nlohmann::ordered_json json;
  json["name"] = ToUtf8(found.name);
  json["offset"] = found.file.offset;
  json["length"] = found.file.length;
  json["format"] = ToUtf8(format);
  json["verified"] = found.file.verified;
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// A chunk that does not read whole is read again piece by piece, so the
// copy keeps every byte before the first unreadable one.
bool CopyImageRange(std::FILE* output, ImageSource& image, uint64_t offset, uint64_t length,
                    ByteRange* unreadable) {
  std::vector<uint8_t> buffer(kCopyChunk);
  uint64_t copied = 0;
  while (copied < length) {
    // An offset that would wrap lies past every image: the copy ends there.
    if (copied > std::numeric_limits<uint64_t>::max() - offset) break;
    const uint64_t at = offset + copied;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kCopyChunk, length - copied));
    const std::vector<ByteRange> holes = ReadWindowPiecewise(image, buffer, want, at);
    const uint64_t imageEnd = image.Size();
    const size_t held =
        at >= imageEnd ? 0 : static_cast<size_t>(std::min<uint64_t>(want, imageEnd - at));
    const size_t good = holes.empty() ? held : static_cast<size_t>(holes.front().offset - at);
    if (good > 0 && std::fwrite(buffer.data(), 1, good, output) != good) return false;
    copied += good;
    if (!holes.empty()) {
      // Short of the image's end the read failed (a bad sector, a file cut
      // since it was measured): the file would silently miss its rest.
      if (unreadable != nullptr) {
        ByteRange run = holes.front();
        if (run.End() == at + held) {
          const uint64_t fileEnd = length > imageEnd - offset ? imageEnd : offset + length;
          run.length = UnreadableRunEnd(image, run.End(), fileEnd) - run.offset;
        }
        *unreadable = run;
      }
      return false;
    }
    if (held < want) return true;  // the image ends here
  }
  return true;
}

std::vector<size_t> SaveCarvedFiles(const ScanInput& input, const std::vector<FoundFile>& files,
                                    const std::filesystem::path& folder, size_t* attempted) {
  std::vector<size_t> written;
  if (attempted != nullptr) *attempted = 0;
  std::unique_ptr<ImageSource> image =
      input.imageOpener ? input.imageOpener(input.imagePath) : nullptr;
  if (!image) {
    LogOpenFailed(input.log, kTitleSaveError, PathText(input.imagePath), kLevelError);
    return written;
  }
  // An empty folder would put the files at the root: nothing is saved into
  // it. A root folder ("/", "C:\") itself loses its separator here and
  // regains it in the join.
  const auto separator = static_cast<char16_t>(std::filesystem::path::preferred_separator);
  std::u16string folderText = PathText(folder);
  const bool folderGiven = !folderText.empty();
  if (folderGiven && (folderText.back() == u'/' || folderText.back() == separator)) {
    folderText.pop_back();
  }

  ProgressSink* progress = input.progress;
  const auto total =
      static_cast<uint32_t>(std::min<size_t>(files.size(), std::numeric_limits<uint32_t>::max()));
  if (progress) progress->ProgressRange(total);
  for (size_t i = 0; i < files.size(); ++i) {
    if (StopRequested(input)) {
      LogSaveStopped(input.log, files.size() - i);
      break;
    }
    if (progress) progress->ProgressPos(static_cast<uint32_t>(std::min<size_t>(i, total)));
    if (attempted != nullptr) *attempted = i + 1;
    const FoundFile& found = files[i];
    const std::u16string pathText =
        Concat({folderText, std::u16string_view(&separator, 1), found.name});
    // Names that would leave the folder are refused as uncreatable.
    ByteRange lost;
    const SaveEnd end = folderGiven && IsPlainFileName(found.name)
                            ? SaveOne(folder / PathFromText(found.name), *image, found.file, lost)
                            : SaveEnd::kFailed;
    if (end == SaveEnd::kFailed) {
      LogSaveFailed(input.log, kTitleSave, pathText, kLevelError);
    } else if (end == SaveEnd::kCut) {
      LogSaveIncomplete(input.log, pathText, lost.offset, lost.length);
    } else {
      written.push_back(i);
    }
  }
  return written;
}

}  // namespace velkor
