#include "carving/scan_params.h"

#include <limits>

#include "carving/media_signatures.h"
#include "engine/text_format.h"

namespace velkor {

ScanDialogFields DefaultScanFields(uint64_t imageLength) {
  return {u"0", DecimalText(imageLength / kSectorSize), DecimalText(kDefaultBlockSize),
          DecimalText(kDefaultMaxFileSize)};
}

uint64_t ParseDecimalField(std::u16string_view text) {
  constexpr uint64_t kLargest = std::numeric_limits<uint64_t>::max();
  uint64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    const auto digit = static_cast<uint64_t>(c - u'0');
    if (value > (kLargest - digit) / 10) return kLargest;
    value = value * 10 + digit;
  }
  return value;
}

int32_t ParseBlockSizeField(std::u16string_view text) {
  constexpr uint64_t kLargest = std::numeric_limits<int32_t>::max();
  const uint64_t value = ParseDecimalField(text);
  return static_cast<int32_t>(value > kLargest ? kLargest : value);
}

bool ScanParamsValid(const MediaScanParams& params, uint64_t imageLength) {
  const uint64_t imageSectors = imageLength / kSectorSize;
  if (params.sectorCount == 0 || params.blockSize == 0 || params.maxFileSize == 0) return false;
  // start + count <= imageSectors, written so that it cannot wrap.
  return params.sectorCount <= imageSectors &&
         params.startSector <= imageSectors - params.sectorCount;
}

std::optional<MediaScanParams> ConfirmScanParams(uint32_t mode, uint64_t imageLength,
                                                 const ScanDialogFields& fields,
                                                 uint32_t formatMask) {
  MediaScanParams params;
  params.mode = mode;
  params.startSector = ParseDecimalField(fields.position);
  params.sectorCount = ParseDecimalField(fields.size);
  params.blockSize = static_cast<uint32_t>(ParseBlockSizeField(fields.blockSize));
  params.maxFileSize = ParseDecimalField(fields.fileSize);
  if (!ScanParamsValid(params, imageLength)) return std::nullopt;
  params.formatMask = formatMask & kAllMediaFormats;
  return params;
}

}  // namespace velkor
