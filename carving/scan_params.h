// The parameters of a picture or video scan as the scan dialog takes them:
// four number fields entered as text, their defaults, and the rules that
// decide whether a scan may start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "carving/carved_file.h"

namespace velkor {

// Shown (caption "警告") when the fields do not describe a usable range.
inline constexpr std::u16string_view kInvalidScanParamsText = u"填写参数错误";
inline constexpr uint32_t kDefaultBlockSize = 4096;
inline constexpr uint64_t kDefaultMaxFileSize = 104857600;

// The four edits of the dialog, as typed.
struct ScanDialogFields {
  std::u16string position;   // first sector
  std::u16string size;       // sector count
  std::u16string blockSize;  // bytes
  std::u16string fileSize;   // largest carved file, bytes
};

// Position 0, the image's whole sectors, block 4096, file size 104857600.
ScanDialogFields DefaultScanFields(uint64_t imageLength);

// JPG for pictures, MP4 for videos: bit 0x01 in both modes.
inline constexpr uint32_t kDefaultFormatMask = 0x01;

// The leading decimal digits of text as an unsigned number; parsing stops at
// the first other character and an empty field is 0. Values too large for
// 64 bits are held at 2^64 - 1.
uint64_t ParseDecimalField(std::u16string_view text);

// The block-size field is a signed 32-bit number: the same digits, held at
// 2^31 - 1.
int32_t ParseBlockSizeField(std::u16string_view text);

// True when the range is not empty and lies within the image's whole sectors
// and the block and file sizes are not 0. Safe for any values: sums that
// would overflow count as past the image.
bool ScanParamsValid(const MediaScanParams& params, uint64_t imageLength);

// The confirm step: parses the fields, and when they are valid returns the
// parameter block with the given mode and formats (bits 6 to 31 cleared);
// nullopt when the dialog has to show kInvalidScanParamsText and stay open.
std::optional<MediaScanParams> ConfirmScanParams(uint32_t mode, uint64_t imageLength,
                                                 const ScanDialogFields& fields,
                                                 uint32_t formatMask);

}  // namespace velkor
