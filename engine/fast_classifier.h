// The classifier in a form for the scan's inner loop: each template becomes
// a set of forbidden (position, code) pairs, so a record is matched against
// every template with a few word operations instead of a loop per template.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "engine/record_types.h"
#include "engine/signature_templates.h"

namespace velkor {

// A signature as bits: position i, code c (0 to 3) is bit 4 * (i % 16) + c
// of word i / 16; and the record's column count for the column gates.
struct SignatureBits {
  // Every position starts as code 0 (no column).
  std::array<uint64_t, 3> words{0x1111111111111111u, 0x1111111111111111u, 0x111u};
  uint32_t columns = 0;

  // Moves position i, still at code 0, to code (1 to 3).
  void Set(size_t i, uint8_t code) {
    const uint64_t moved = (uint64_t{1} << (code & 3)) ^ 1u;
    words[i / 16] ^= moved << (4 * (i % 16));
  }
};

// Bit k set: the template k of the trial order fits.
using TemplateSet = uint32_t;
static_assert(kTemplateCount <= 32);
inline constexpr TemplateSet kEveryTemplate = ~TemplateSet{0} >> (32 - kTemplateCount);

struct ClassifierMasks {
  // Per template, in trial order: the bits a fitting record must not have.
  std::array<std::array<uint64_t, 3>, kTemplateCount> forbidden{};
  std::array<ColumnGate, kTemplateCount> gate{};
  std::array<RecordCategory, kTemplateCount> category{};
  // Per column count up to 80, the templates a record of that many columns
  // may fit: its gate admits the count, and every position from the count
  // on, where a record has no column, admits none.
  std::array<TemplateSet, 81> possible{};
};

// Built from a template table (with the column gates of ColumnGates()); gives
// exactly what Classify gives with the same table for every signature the
// decoder produces (codes 1 to 3 up to the first 0, zeros after it).
ClassifierMasks BuildClassifierMasks(const SignatureTemplateTable& templates);
// columns is the record's count of serial types; 0 takes the signature's
// count of codes (the two agree up to kMaxDecodedColumns).
SignatureBits ToSignatureBits(const TypeSignature& signature, uint32_t columns = 0);

// Only the templates possible for the column count are tried: a handful
// of the 25 for most rows.
inline TemplateSet FittingTemplates(const ClassifierMasks& masks, const SignatureBits& bits) {
  TemplateSet set = 0;
  const auto& w = bits.words;
  TemplateSet left =
      bits.columns < masks.possible.size() ? masks.possible[bits.columns] : kEveryTemplate;
  for (; left != 0; left &= left - 1) {
    const auto k = static_cast<size_t>(std::countr_zero(left));
    const auto& f = masks.forbidden[k];
    const bool fits = ((w[0] & f[0]) | (w[1] & f[1]) | (w[2] & f[2])) == 0;
    if (fits && masks.gate[k].Admits(bits.columns)) set |= TemplateSet{1} << k;
  }
  return set;
}

inline RecordCategory ClassifyWithMasks(const ClassifierMasks& masks, const SignatureBits& bits) {
  const TemplateSet set = FittingTemplates(masks, bits);
  return set == 0 ? 0 : masks.category[static_cast<size_t>(__builtin_ctz(set))];
}

}  // namespace velkor
