// The scan dialog's number fields and its confirm rule, and the text export
// of rows of any texts. A confirmed range always lies within the image's whole
// sectors; an export is the byte-order mark and each cell and row end in
// order, so that the rows can be read back from it.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "carving/media_signatures.h"
#include "carving/scan_params.h"
#include "engine/text_export.h"
#include "fuzz/fuzz_support.h"

namespace velkor::fuzz {
namespace {

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

void CheckFields(const ScanDialogFields& fields, uint64_t imageLength, uint32_t mode,
                 uint32_t mask) {
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
}

void AppendUnits(std::u16string& out, const std::string& bytes, size_t& at) {
  for (; at + 1 < bytes.size(); at += 2) {
    out.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[at]) |
                                        (static_cast<uint8_t>(bytes[at + 1]) << 8)));
  }
}

void CheckExport(const std::vector<RowTexts>& rows, size_t columnCount) {
  const std::string bytes = TextExportBytes(rows, columnCount);
  FUZZ_CHECK(bytes.size() % 2 == 0 && bytes.compare(0, 2, "\xFF\xFE") == 0);
  std::u16string expected;
  if (columnCount != 0) {
    for (const RowTexts& row : rows) {
      for (size_t column = 0; column < columnCount; ++column) {
        if (column < row.size()) expected += row[column];
        expected += u"\r\n";
      }
      expected += u"\r\n";
    }
  }
  std::u16string written;
  size_t at = 2;
  AppendUnits(written, bytes, at);
  FUZZ_CHECK(written == expected);
}

}  // namespace

int FuzzOne(const uint8_t* data, size_t size) {
  InputReader input(data, size);
  const uint64_t imageLength = input.U64();
  const uint32_t mode = input.Byte() & 1 ? kModeVideos : kModePictures;
  const uint32_t mask = input.U32();
  const size_t columnCount = input.Byte() % 8;

  // The rest as UTF-16 units; '|' separates fields and '\n' rows.
  std::vector<std::u16string> fields(1);
  std::vector<RowTexts> rows(1);
  const std::vector<uint8_t> rest = input.Rest();
  for (size_t i = 0; i + 1 < rest.size(); i += 2) {
    const auto unit = static_cast<char16_t>(rest[i] | (rest[i + 1] << 8));
    if (unit == u'|') {
      fields.emplace_back();
      rows.back().emplace_back(fields[fields.size() - 2]);
    } else if (unit == u'\n') {
      rows.emplace_back();
    } else {
      fields.back().push_back(unit);
    }
  }
  fields.resize(std::max<size_t>(fields.size(), 4));
  CheckFields({fields[0], fields[1], fields[2], fields[3]}, imageLength, mode, mask);
  CheckExport(rows, columnCount);
  return 0;
}

}  // namespace velkor::fuzz
