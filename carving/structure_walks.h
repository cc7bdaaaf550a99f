// Where a carved file ends by its own structure: each format is walked from
// its first byte by the lengths its headers, segments, chunks, boxes or
// frames give, to the marker that ends it. A walk that meets a field that
// does not hold, a byte it cannot read, or the region's limit before an end
// fails, and the caller keeps the distance to the next hit.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "carving/file_bytes.h"

namespace velkor {

// The length of the file at the start of bytes, walked as format (the
// signature's extension, as u"jpg"); nullopt when the walk fails or the
// format has no walk.
std::optional<uint64_t> StructureLength(std::u16string_view format, FileBytes& bytes);

// An MPEG program stream from its first pack: packs, system headers and PES
// packets by their length fields. extent is where the stream's bytes end
// (after the program end code, or at the first bytes that are no part of
// it); ended tells whether the end code was reached.
struct MpegStreamExtent {
  uint64_t extent = 0;
  bool ended = false;
};
MpegStreamExtent WalkMpegStream(FileBytes& bytes);

}  // namespace velkor
