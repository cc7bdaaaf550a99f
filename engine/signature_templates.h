// The column-type templates that tell what a record is: the sixteen classic
// layouts first, then the layouts of current phones. Codes as in
// TypeSignature: 1 number, 2 text or blob, 0 end of template.
#pragma once

#include <array>
#include <cstdint>

#include "engine/record_types.h"

namespace velkor {

inline constexpr size_t kClassicTemplateCount = 16;
inline constexpr size_t kTemplateCount = kClassicTemplateCount + kCurrentLayoutCount;
// Template 9 (the merged call and message log) has room for 35 codes, the
// others for 20 (the current layouts' templates are shorter); unused room is 0.
using SignatureTemplate = std::array<uint8_t, kMaxDecodedColumns>;
// Indexed by category - 1.
using SignatureTemplateTable = std::array<SignatureTemplate, kTemplateCount>;

// The range of column counts (serial types in the record header, not only
// the decoded ones) a template accepts besides its codes. The classic
// templates accept any count from their length on.
struct ColumnGate {
  uint32_t minColumns = 0;
  uint32_t maxColumns = UINT32_MAX;
  bool Admits(uint32_t columns) const { return columns >= minColumns && columns <= maxColumns; }
};
using ColumnGateTable = std::array<ColumnGate, kTemplateCount>;

// Every position after a template's last code is 0.
const SignatureTemplateTable& SignatureTemplates();
const ColumnGateTable& ColumnGates();

// Length limit the classifier uses for a category's template.
constexpr size_t TemplateLimit(RecordCategory category) {
  return category == 9 || category > kClassicTemplateCount ? 35 : 20;
}

}  // namespace velkor
