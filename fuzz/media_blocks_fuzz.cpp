// The picture and video block tests over a window of any length, block size
// and base offset, then the length rule and the found-files names. Every hit
// lies on a whole block of the window's grid, is of a selected format whose
// check holds on the zero-padded bytes there, runs to the next hit or the cap,
// and is named by its row number and extension alone.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "carving/found_files.h"
#include "carving/media_scan.h"
#include "carving/media_signatures.h"
#include "engine/text_format.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace velkor;

void CheckHits(const MediaScanParams& params, const CarvedFileStore& found,
               const std::vector<uint8_t>& window, uint64_t base) {
  const std::vector<RowTexts> rows = FoundFileRows(FoundFiles(found, params.mode));
  FUZZ_CHECK(rows.size() == found.size());
  uint64_t row = 0;
  for (auto it = found.begin(); it != found.end(); ++it, ++row) {
    const auto& [offset, file] = *it;
    FUZZ_CHECK(offset == file.offset && offset >= base);
    const uint64_t at = offset - base;
    FUZZ_CHECK(at % params.blockSize == 0 && at + params.blockSize <= window.size());
    FUZZ_CHECK((file.kind & params.formatMask & kAllMediaFormats) == file.kind);
    const MediaFormat* format = FindMediaFormat(MediaFormatsFor(params.mode), file.kind);
    FUZZ_CHECK(format != nullptr);
    std::array<uint8_t, kSignatureProbeBytes> probe{};
    std::memcpy(probe.data(), window.data() + at, std::min(probe.size(), window.size() - at));
    FUZZ_CHECK(format->check(probe.data()));

    const auto next = std::next(it);
    const uint64_t distance = next == found.end() ? UINT64_MAX : next->first - offset;
    const uint64_t left = base + window.size() - offset;  // no length runs past the image
    FUZZ_CHECK(file.length == std::min({distance, params.maxFileSize, left}));
    FUZZ_CHECK(rows[row][0] == DecimalText(row) + u"." + std::u16string(format->extension));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputReader input{data, data + size};
  const uint8_t flags = input.Byte();
  MediaScanParams params;
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

  CarvedFileStore found;
  MatchBlocks(MediaFormatsFor(params.mode), params, window.data(),
              static_cast<uint32_t>(window.size()), base, found);
  if (params.blockSize == 0) return 0;
  ComputeCarvedLengths(found, params.maxFileSize, base + window.size());
  CheckHits(params, found, window, base);
  return 0;
}
