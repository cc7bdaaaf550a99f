#include "carving/media_scan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#include "carving/file_bytes.h"
#include "carving/structure_walks.h"
#include "engine/log_entries.h"
#include "engine/piecewise_read.h"
#include "engine/text_format.h"
#include "engine/unreadable_ranges.h"

namespace velkor {

namespace {

using FormatList = std::array<MediaFormat, 6>;

// A window is read and tested in slices of this size: the copy out of the
// page cache runs at the speed of the storage only while its destination
// stays in the processor's nearest caches, and a 1 MiB buffer does not.
constexpr uint32_t kSliceSize = 64 * 1024;

// Byte offsets are held at the largest one a file can have. Sector numbers
// too large for it give offsets past every image, so such a range ends in a
// failed read at its first window instead of wrapping round to the image's
// start.
constexpr uint64_t kLargestOffset = std::numeric_limits<int64_t>::max();

uint64_t OffsetProduct(uint64_t a, uint64_t b) {
  if (b != 0 && a > kLargestOffset / b) return kLargestOffset;
  return a * b;
}

uint64_t OffsetSum(uint64_t a, uint64_t b) {
  return a > kLargestOffset - std::min(b, kLargestOffset) ? kLargestOffset : a + b;
}

// Tests the candidates of one window that start inside a piece of it. piece
// holds pieceBytes bytes of the window from pieceStart on; candidates are
// those k * blockSize (k below windowLength / blockSize) that fall in
// [pieceStart, pieceStart + pieceLength). A probe that runs past pieceBytes
// sees zeros there, as it does past the window's end.
void MatchPieceBlocks(const FormatList& formats, const MediaScanParams& params,
                      CarvedFileStore& store, const uint8_t* piece, uint32_t pieceStart,
                      uint32_t pieceLength, uint32_t pieceBytes, uint32_t windowLength,
                      uint64_t windowOffset) {
  // A zero block size never comes from the scan dialog; it would leave no
  // grid to walk, so nothing is tested rather than dividing by it.
  if (params.blockSize == 0) return;
  uint32_t selected = params.formatMask & kAllMediaFormats;
  if (selected == 0) return;
  const uint32_t count = windowLength / params.blockSize;
  const uint32_t pieceEnd = pieceStart + pieceLength;
  std::array<uint8_t, kSignatureProbeBytes> edge{};
  for (uint32_t k = (pieceStart + params.blockSize - 1) / params.blockSize; k < count; ++k) {
    const uint32_t at = k * params.blockSize;
    if (at >= pieceEnd) break;
    const uint32_t inPiece = at - pieceStart;
    const uint8_t* candidate = piece + inPiece;
    // Fast path: the whole probe lies inside the piece. Otherwise the bytes
    // past it are tested as zeros from a local copy.
    if (pieceBytes - inPiece < kSignatureProbeBytes) {
      edge.fill(0);
      std::memcpy(edge.data(), candidate, pieceBytes - inPiece);
      candidate = edge.data();
    }
    for (const MediaFormat& format : formats) {
      if ((selected & format.bit) == 0 || !format.check(candidate)) continue;
      const uint64_t offset = windowOffset + at;
      // The first record at an offset stays; later hits there are dropped.
      store.try_emplace(offset, CarvedFile{offset, format.bit, params.maxFileSize});
    }
  }
}

// MatchPieceBlocks over the readable runs of a slice only: a candidate that
// starts in unreadable bytes would be tested on zeros that are not the
// image's. holes are at image offsets, the slice at windowOffset + pieceStart.
void MatchReadableBlocks(const FormatList& formats, const MediaScanParams& params,
                         CarvedFileStore& store, const uint8_t* piece, uint32_t pieceStart,
                         uint32_t pieceLength, uint32_t pieceBytes, uint32_t windowLength,
                         uint64_t windowOffset, const std::vector<ByteRange>& holes) {
  const uint64_t sliceOffset = windowOffset + pieceStart;
  uint32_t runStart = 0;
  auto matchRun = [&](uint32_t runEnd) {
    if (runEnd <= runStart) return;
    MatchPieceBlocks(formats, params, store, piece + runStart, pieceStart + runStart,
                     runEnd - runStart, pieceBytes - runStart, windowLength, windowOffset);
  };
  for (const ByteRange& hole : ClipRanges(holes, sliceOffset, sliceOffset + pieceLength)) {
    matchRun(static_cast<uint32_t>(hole.offset - sliceOffset));
    runStart = static_cast<uint32_t>(hole.End() - sliceOffset);
  }
  matchRun(pieceLength);
}

// The scan procedure shared by pictures and videos; only the formats differ.
ScanResult RunMediaScan(const ScanInput& input, const MediaScanParams& params,
                        const FormatList& formats, CarvedFileStore& found) {
  found.clear();
  ScanResult result;
  std::unique_ptr<ImageSource> image =
      input.imageOpener ? input.imageOpener(input.imagePath) : nullptr;
  if (!image) {
    LogOpenFailed(input.log, kTitleError, PathText(input.imagePath), kLevelError);
    return result;
  }
  result.opened = true;
  result.imageSize = image->Size();

  const uint64_t start = OffsetProduct(params.startSector, kSectorSize);
  const uint64_t rangeBytes = OffsetProduct(params.sectorCount, kSectorSize);
  // The window count is a 32-bit progress total; a range of 4 PiB or more is
  // held at the largest count rather than wrapped to a small one.
  const uint32_t windows = static_cast<uint32_t>(
      std::min<uint64_t>(rangeBytes / kWindowSize, std::numeric_limits<uint32_t>::max()));
  const uint32_t tail = static_cast<uint32_t>(rangeBytes % kWindowSize);

  if (input.progress) input.progress->ProgressRange(windows);
  std::vector<uint8_t> slice(kSliceSize + kSignatureProbeBytes);

  // Reads and tests window number position, slice by slice; each slice is
  // read with the probe's length of the bytes after it (never past the
  // window), so every candidate sees exactly the bytes the window holds. A
  // read that ends early at the image's end is no failure: the bytes past it
  // stay zero and the window is tested at its full length. Bytes that cannot
  // be read are zeros too; a candidate starting in them is not tested, and
  // each slice reports only its own bytes (the probe's bytes after it belong
  // to the next slice).
  UnreadableRanges unreadable(input.log, input.imagePath, result);
  std::vector<ByteRange> windowHoles;
  // A window that starts past the image's end (a range the dialog would not
  // allow) ends the scan: the rest of the range is unreadable.
  const uint64_t rangeEnd = OffsetSum(start, rangeBytes);
  auto scanWindow = [&](uint32_t position, uint32_t length) {
    const uint64_t offset = OffsetSum(start, uint64_t{position} * kWindowSize);
    if (offset >= result.imageSize) {
      const uint64_t lost = rangeEnd > offset ? rangeEnd - offset : length;
      unreadable.AddWindow(offset, lost, {{offset, lost}});
      return false;
    }
    windowHoles.clear();
    for (uint32_t sliceStart = 0; sliceStart < length; sliceStart += kSliceSize) {
      const uint32_t sliceLength = std::min(kSliceSize, length - sliceStart);
      const uint32_t readLength =
          std::min<uint32_t>(sliceLength + kSignatureProbeBytes, length - sliceStart);
      const uint64_t sliceOffset = OffsetSum(offset, sliceStart);
      const std::vector<ByteRange> holes =
          ReadWindowPiecewise(*image, slice, readLength, sliceOffset);
      if (holes.empty()) {
        MatchPieceBlocks(formats, params, found, slice.data(), sliceStart, sliceLength, readLength,
                         length, offset);
        continue;
      }
      for (const ByteRange& hole : ClipRanges(holes, sliceOffset, sliceOffset + sliceLength)) {
        windowHoles.push_back(hole);
      }
      MatchReadableBlocks(formats, params, found, slice.data(), sliceStart, sliceLength, readLength,
                          length, offset, holes);
    }
    unreadable.AddWindow(offset, length, windowHoles);
    SendProgressText(input,
                     Concat({u"已经搜索到 ", DecimalText(uint64_t{found.size()}), u" 条记录"}));
    if (input.progress) input.progress->ProgressPos(position);
    return true;
  };

  uint32_t scanned = 0;
  bool pastEnd = false;
  for (; scanned < windows && !result.stopped && !pastEnd; ++scanned) {
    pastEnd = !scanWindow(scanned, kWindowSize);
    result.stopped = StopRequested(input);
  }
  result.stopped = StopRequested(input);
  if (tail > 0 && !result.stopped && !pastEnd) scanWindow(windows, tail);
  unreadable.Finish();
  if (result.stopped) {
    LogScanStopped(input.log, OffsetSum(start, uint64_t{scanned} * kWindowSize));
  }
  SettleCarvedFiles(*image, params, formats, found);
  return result;
}

}  // namespace

ScanResult ScanPictures(const ScanInput& input, const MediaScanParams& params,
                        CarvedFileStore& found) {
  return RunMediaScan(input, params, MediaFormatsFor(kModePictures, params.extendedSignatures),
                      found);
}

ScanResult ScanVideos(const ScanInput& input, const MediaScanParams& params,
                      CarvedFileStore& found) {
  return RunMediaScan(input, params, MediaFormatsFor(kModeVideos, params.extendedSignatures),
                      found);
}

void MatchBlocks(const FormatList& formats, const MediaScanParams& params, const uint8_t* buffer,
                 uint32_t length, uint64_t baseOffset, CarvedFileStore& found) {
  MatchPieceBlocks(formats, params, found, buffer, 0, length, length, length, baseOffset);
}

void ComputeCarvedLengths(CarvedFileStore& found, uint64_t maxFileSize, uint64_t imageEnd) {
  for (auto it = found.begin(); it != found.end(); ++it) {
    auto next = std::next(it);
    if (next != found.end()) {
      const uint64_t distance = next->first - it->first;
      if (distance <= maxFileSize) it->second.length = distance;
    }
    const uint64_t left = it->first < imageEnd ? imageEnd - it->first : 0;
    it->second.length = std::min(it->second.length, left);
  }
}

// Invariant of the echo pass: streamEnd is the end of the last MPG stream
// kept, so a hit before it lies inside that stream.
void SettleCarvedFiles(ImageSource& image, const MediaScanParams& params,
                       const FormatList& formats, CarvedFileStore& found) {
  const uint64_t imageEnd = image.Size();
  const MediaFormat* mpg = nullptr;
  for (const MediaFormat& format : formats) {
    if (format.extension == u"mpg") mpg = &format;
  }
  if (mpg != nullptr) {
    uint64_t streamEnd = 0;
    for (auto it = found.begin(); it != found.end();) {
      if (it->second.kind != mpg->bit) {
        ++it;
      } else if (it->first < streamEnd) {
        it = found.erase(it);
      } else {
        FileBytes bytes(image, it->first, params.maxFileSize);
        streamEnd = it->first + WalkMpegStream(bytes).extent;
        ++it;
      }
    }
  }
  ComputeCarvedLengths(found, params.maxFileSize, imageEnd);
  if (!params.structureLengths) return;
  for (auto& [offset, file] : found) {
    for (const MediaFormat& format : formats) {
      if (format.bit != file.kind) continue;
      FileBytes bytes(image, offset, params.maxFileSize);
      if (const auto length = StructureLength(format.extension, bytes)) {
        file.length = *length;
        file.verified = true;
      }
    }
  }
}

}  // namespace velkor
