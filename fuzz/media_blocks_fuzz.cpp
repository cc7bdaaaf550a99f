// The picture and video block tests over a window of any length, block size
// and base offset, then the length rule and the found-files names. Every hit
// lies on the window's grid, is of a selected format whose check holds on
// the zero-padded bytes there, and is named by its row number and extension
// alone.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "carving/found_files.h"
#include "carving/media_scan.h"
#include "carving/media_signatures.h"
#include "engine/text_format.h"
#include "fuzz/fuzz_support.h"

namespace velkor::fuzz {
namespace {

struct Carving {
  MediaScanParams params;
  CarvedFileStore found;
};

void CheckHits(const Carving& task, const std::vector<uint8_t>& window, uint64_t base) {
  const MediaScanParams& params = task.params;
  const auto& formats = MediaFormatsFor(params.mode);
  for (const auto& [offset, file] : task.found) {
    FUZZ_CHECK(offset == file.offset && offset >= base);
    const uint64_t at = offset - base;
    FUZZ_CHECK(at < window.size() && at % params.blockSize == 0);
    FUZZ_CHECK(at + params.blockSize <= window.size());  // whole blocks only
    FUZZ_CHECK((file.kind & params.formatMask & kAllMediaFormats) == file.kind);
    const MediaFormat* format = FindMediaFormat(formats, file.kind);
    FUZZ_CHECK(format != nullptr);
    std::array<uint8_t, kSignatureProbeBytes> probe{};
    std::memcpy(probe.data(), window.data() + at,
                std::min<size_t>(probe.size(), window.size() - static_cast<size_t>(at)));
    FUZZ_CHECK(format->check(probe.data()));
  }
}

void CheckLengths(const Carving& task) {
  for (auto it = task.found.begin(); it != task.found.end(); ++it) {
    const auto next = std::next(it);
    const uint64_t max = task.params.maxFileSize;
    if (next == task.found.end()) {
      FUZZ_CHECK(it->second.length == max);
    } else {
      const uint64_t distance = next->first - it->first;
      FUZZ_CHECK(it->second.length == (distance <= max ? distance : max));
    }
  }
}

// Names are "<row>.<extension of the kind>", nothing taken from the bytes.
void CheckNames(const Carving& task) {
  const std::vector<RowTexts> rows = FoundFileRows(FoundFiles(task.found, task.params.mode));
  FUZZ_CHECK(rows.size() == task.found.size());
  uint64_t row = 0;
  for (const auto& [offset, file] : task.found) {
    const std::u16string& name = rows[row][0];
    const size_t dot = name.find(u'.');
    FUZZ_CHECK(dot != std::u16string::npos);
    FUZZ_CHECK(name.substr(0, dot) == DecimalText(row));
    const MediaFormat* format = FindMediaFormat(MediaFormatsFor(task.params.mode), file.kind);
    FUZZ_CHECK(name.substr(dot + 1) == format->extension);
    ++row;
  }
}

}  // namespace

int FuzzOne(const uint8_t* data, size_t size) {
  InputReader input(data, size);
  const uint8_t flags = input.Byte();
  Carving task;
  MediaScanParams& params = task.params;
  params.mode = (flags & 1) != 0 ? kModeVideos : kModePictures;
  params.formatMask = input.U32();
  // Mostly small blocks, so that a short input holds many candidates.
  const uint32_t block = input.U32();
  params.blockSize = (flags & 2) != 0 ? block : block % 64 + 1;
  params.maxFileSize = (flags & 4) != 0 ? input.U64() : input.Byte();
  const uint64_t base = (flags & 8) != 0 ? input.U64() / 2 : uint64_t{input.U32()} * 512;
  // Exactly the window's bytes, so that a read past the window is caught.
  const std::vector<uint8_t> window = input.Rest();
  if (window.size() > kWindowSize) return 0;

  MatchBlocks(MediaFormatsFor(params.mode), params, window.data(),
              static_cast<uint32_t>(window.size()), base, task.found);
  if (params.blockSize == 0) return 0;
  CheckHits(task, window, base);
  ComputeCarvedLengths(task.found, params.maxFileSize);
  CheckLengths(task);
  CheckNames(task);
  return 0;
}

}  // namespace velkor::fuzz
