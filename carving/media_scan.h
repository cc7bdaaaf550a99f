// Picture and video scans: the image range is read in 1 MiB windows, the
// start of every block is tested against the selected signatures, and each hit
// becomes a carved file whose length is the distance to the next hit.
#pragma once

#include <array>
#include <cstdint>

#include "carving/carved_file.h"
#include "carving/media_signatures.h"
#include "engine/scan_input.h"

namespace velkor {

// Empties found, then scans the sector range of params in the input's image
// (input.platform is not used) for the picture or the video formats. Progress:
// range = whole windows of the range, then per window the text
// "已经搜索到 N 条记录" (N files so far) and its position. A failed read is
// logged at its window's offset and retried in pieces; each joined
// unreadable range is logged once and listed in the result, and the scan
// goes on. A stop is logged with the offset where the scan ended; lengths
// are computed from the hits in every case.
ScanResult ScanPictures(const ScanInput& input, const MediaScanParams& params,
                        CarvedFileStore& found);
ScanResult ScanVideos(const ScanInput& input, const MediaScanParams& params,
                      CarvedFileStore& found);

// Tests every params.blockSize-th offset of length bytes at buffer (at
// baseOffset in the image) against the selected formats; probes past length
// see zeros. Each hit is stored with length params.maxFileSize.
void MatchBlocks(const std::array<MediaFormat, 6>& formats, const MediaScanParams& params,
                 const uint8_t* buffer, uint32_t length, uint64_t baseOffset,
                 CarvedFileStore& found);

// Each file runs up to the next hit, whatever its format, unless that lies
// more than maxFileSize away; the last keeps its length. No length runs past
// imageEnd.
void ComputeCarvedLengths(CarvedFileStore& found, uint64_t maxFileSize,
                          uint64_t imageEnd = UINT64_MAX);

// After the hits of a scan: drops MPG hits inside the stream of an earlier
// MPG hit (a pack header of a running stream is no new file), gives every
// file its length, and with params.structureLengths the end its own
// structure gives, marked verified.
void SettleCarvedFiles(ImageSource& image, const MediaScanParams& params,
                       const std::array<MediaFormat, 6>& formats, CarvedFileStore& found);

}  // namespace velkor
