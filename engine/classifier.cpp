#include <array>
#include <initializer_list>

#include "engine/fast_classifier.h"
#include "engine/record_scan_parts.h"

namespace velkor {
namespace {

// The order in which templates are tried; the first that fits wins. The
// widest classic template (9) goes first, and templates that are prefixes of
// others come after them. The current layouts come after the sixteen, so
// whatever a classic template takes keeps its category.
constexpr std::array<RecordCategory, kTemplateCount> kClassifyOrder = {
    9, 1, 2, 7, 12, 10, 3, 4, 16, 15, 11, 6, 14, 5, 8, 13, 17, 18, 19, 20, 21, 22, 23, 24, 25};

uint32_t CodeCount(const TypeSignature& signature) {
  uint32_t n = 0;
  while (n < kMaxDecodedColumns && signature[n] != 0) ++n;
  return n;
}

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

// The decoded columns all come before the first 0.
SignatureBits ToSignatureBits(const TypeSignature& signature, uint32_t columns) {
  SignatureBits bits;
  for (size_t i = 0; i < kMaxDecodedColumns && signature[i] != 0; ++i) bits.Set(i, signature[i]);
  bits.columns = columns != 0 ? columns : CodeCount(signature);
  return bits;
}

// Position i of a template with code t admits the codes t and 3 (NULL) and
// forbids the others; positions from the template's first 0 or its length
// limit on forbid nothing, exactly as Fits stops looking there.
ClassifierMasks BuildClassifierMasks(const SignatureTemplateTable& templates) {
  ClassifierMasks masks;
  for (size_t k = 0; k < kTemplateCount; ++k) {
    const RecordCategory category = kClassifyOrder[k];
    const SignatureTemplate& pattern = templates[category - 1];
    masks.category[k] = category;
    masks.gate[k] = ColumnGates()[category - 1];
    const size_t limit = TemplateLimit(category);
    for (size_t i = 0; i < limit && pattern[i] != 0; ++i) {
      const unsigned own = pattern[i] <= kTypeNull ? 1u << pattern[i] : 0u;
      const unsigned admitted = own | (1u << kTypeNull);
      const uint64_t forbidden = ~admitted & 0xFu;
      masks.forbidden[k][i / 16] |= forbidden << (4 * (i % 16));
    }
  }
  // A record of c columns has code 0 (bit 0 of its position) from c on,
  // whatever its first columns are.
  for (uint32_t columns = 0; columns < masks.possible.size(); ++columns) {
    for (size_t k = 0; k < kTemplateCount; ++k) {
      bool possible = masks.gate[k].Admits(columns);
      for (size_t i = columns; i < 48 && possible; ++i) {
        possible = ((masks.forbidden[k][i / 16] >> (4 * (i % 16))) & 1u) == 0;
      }
      if (possible) masks.possible[columns] |= TemplateSet{1} << k;
    }
  }
  return masks;
}

RecordCategory Classify(const TypeSignature& signature, const SignatureTemplateTable& templates,
                        uint32_t columns) {
  if (columns == 0) columns = CodeCount(signature);
  for (RecordCategory category : kClassifyOrder) {
    if (Fits(templates[category - 1], TemplateLimit(category), signature) &&
        ColumnGates()[category - 1].Admits(columns)) {
      return category;
    }
  }
  return 0;
}

void ExtractFirstTaken(RecordBatch& batch, uint8_t platform, TemplateSet fitting,
                       const ColumnMap& columns, const Varint& rowid, TemplateSet refused) {
  bool classicTried = false;
  while (fitting != 0) {
    const auto k = static_cast<size_t>(__builtin_ctz(fitting));
    fitting &= fitting - 1;
    if (k < kClassicTemplateCount) {
      if (classicTried) continue;
      classicTried = true;
    }
    if ((refused >> k) & 1u) return;
    if (ExtractRecord(batch, platform, kClassifyOrder[k], columns, rowid)) return;
  }
}

TemplateSet TemplatesOf(std::initializer_list<RecordCategory> categories) {
  TemplateSet set = 0;
  for (size_t k = 0; k < kTemplateCount; ++k) {
    for (RecordCategory category : categories) {
      if (kClassifyOrder[k] == category) set |= TemplateSet{1} << k;
    }
  }
  return set;
}

}  // namespace velkor
