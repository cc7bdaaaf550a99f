// The walk of each format, behind StructureLength (carving/structure_walks.h).
#pragma once

#include <cstdint>
#include <optional>

#include "carving/file_bytes.h"

namespace velkor::walks {

std::optional<uint64_t> JpegLength(FileBytes& bytes);
std::optional<uint64_t> PngLength(FileBytes& bytes);
std::optional<uint64_t> GifLength(FileBytes& bytes);
std::optional<uint64_t> BmpLength(FileBytes& bytes);
std::optional<uint64_t> TiffLength(FileBytes& bytes);
std::optional<uint64_t> PsdLength(FileBytes& bytes);

std::optional<uint64_t> BoxesLength(FileBytes& bytes);  // MP4, MOV
std::optional<uint64_t> AviLength(FileBytes& bytes);
std::optional<uint64_t> AmrLength(FileBytes& bytes);
std::optional<uint64_t> MtsLength(FileBytes& bytes);

}  // namespace velkor::walks
