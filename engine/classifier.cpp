#include <array>

#include "engine/scan_task.h"

namespace velkor {
namespace {

// The order in which templates are tried; the first that fits wins. The
// widest template (9) goes first, and templates that are prefixes of others
// come after them.
constexpr std::array<RecordCategory, kTemplateCount> kClassifyOrder = {
    9, 1, 2, 7, 12, 10, 3, 4, 16, 15, 11, 6, 14, 5, 8, 13};

// A template fits when each of its positions, up to its first 0 or its length
// limit, holds the same type code in the record or a NULL (which fits any
// type). A record shorter than the template has 0 there and does not fit.
bool Fits(const SignatureTemplate& pattern, size_t limit, const TypeSignature& signature) {
  for (size_t i = 0; i < limit; ++i) {
    const uint8_t t = pattern[i];
    if (t == 0) return true;
    const uint8_t s = signature[i];
    if (s != kTypeNull && s != t) return false;
  }
  return true;
}

}  // namespace

RecordCategory ScanTask::Classify(const TypeSignature& signature) const {
  for (RecordCategory category : kClassifyOrder) {
    if (Fits(templates[category - 1], TemplateLimit(category), signature)) return category;
  }
  return 0;
}

}  // namespace velkor
