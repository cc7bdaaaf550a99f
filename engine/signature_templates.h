// The sixteen fixed column-type templates that tell what a record is. Codes
// as in TypeSignature: 1 number, 2 text or blob, 0 end of template.
#pragma once

#include <array>
#include <cstdint>

#include "engine/record_types.h"

namespace velkor {

inline constexpr size_t kTemplateCount = 16;
// Template 9 (the merged call and message log) has room for 35 codes, the
// others for 20; unused room is 0.
using SignatureTemplate = std::array<uint8_t, kMaxDecodedColumns>;
// Indexed by category - 1.
using SignatureTemplateTable = std::array<SignatureTemplate, kTemplateCount>;

// The sixteen templates; every position after a template's last code is 0.
const SignatureTemplateTable& SignatureTemplates();

// Length limit the classifier uses for a category's template.
constexpr size_t TemplateLimit(RecordCategory category) {
  return category == 9 ? 35 : 20;
}

}  // namespace velkor
