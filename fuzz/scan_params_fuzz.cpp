// The scan dialog's number fields and its confirm rule: each field is read
// up to its first non-digit and held at the largest value, and a confirmed
// range always lies within the image's whole sectors.
#include <limits>
#include <vector>

#include "carving/media_signatures.h"
#include "carving/scan_params.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace velkor;

// The leading digits, by wide arithmetic, held at 2^64 - 1.
uint64_t ReferenceDecimal(std::u16string_view text) {
  unsigned __int128 value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + static_cast<unsigned>(c - u'0');
    if (value > std::numeric_limits<uint64_t>::max()) return std::numeric_limits<uint64_t>::max();
  }
  return static_cast<uint64_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputReader input{data, data + size};
  const uint64_t imageLength = input.U64();
  const uint32_t mode = input.Byte() & 1 ? kModeVideos : kModePictures;
  const uint32_t mask = input.U32();
  // The rest as UTF-16 units; '|' ends a field.
  std::vector<std::u16string> parts(1);
  for (const char16_t unit : input.RestUnits()) {
    if (unit == u'|') {
      parts.emplace_back();
    } else {
      parts.back().push_back(unit);
    }
  }
  parts.resize(std::max<size_t>(parts.size(), 4));
  const ScanDialogFields fields{parts[0], parts[1], parts[2], parts[3]};
  for (const std::u16string* field : {&fields.position, &fields.size, &fields.fileSize}) {
    FUZZ_CHECK(ParseDecimalField(*field) == ReferenceDecimal(*field));
  }
  const uint64_t block = ReferenceDecimal(fields.blockSize);
  FUZZ_CHECK(ParseBlockSizeField(fields.blockSize) ==
             static_cast<int32_t>(std::min<uint64_t>(block, INT32_MAX)));

  const auto params = ConfirmScanParams(mode, imageLength, fields, mask);
  const unsigned __int128 end = static_cast<unsigned __int128>(ReferenceDecimal(fields.position)) +
                                ReferenceDecimal(fields.size);
  const bool valid = ReferenceDecimal(fields.size) != 0 && block != 0 &&
                     ReferenceDecimal(fields.fileSize) != 0 && end <= imageLength / kSectorSize;
  FUZZ_CHECK(params.has_value() == valid);
  if (params) {
    FUZZ_CHECK(params->mode == mode && params->formatMask == (mask & kAllMediaFormats));
    FUZZ_CHECK(params->blockSize != 0 && params->blockSize <= uint32_t{INT32_MAX});
  }
  // The defaults are accepted whenever the image holds a whole sector.
  FUZZ_CHECK(
      ConfirmScanParams(mode, imageLength, DefaultScanFields(imageLength), mask).has_value() ==
      (imageLength >= kSectorSize));
  return 0;
}
