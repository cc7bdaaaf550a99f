// The classifier in a form for the scan's inner loop: each template becomes
// a set of forbidden (position, code) pairs, so a record is matched against
// all sixteen with a few word operations instead of a loop per template.
#pragma once

#include <array>
#include <cstdint>

#include "engine/record_types.h"
#include "engine/signature_templates.h"

namespace velkor {

// A signature as bits: position i, code c (0 to 3) is bit 4 * (i % 16) + c
// of word i / 16.
using SignatureBits = std::array<uint64_t, 3>;

struct ClassifierMasks {
  // Per template, in trial order: the bits a fitting record must not have.
  std::array<SignatureBits, kTemplateCount> forbidden{};
  std::array<RecordCategory, kTemplateCount> category{};
};

// Built from a template table; gives exactly what Classify gives with
// SignatureTemplates() for every signature the decoder produces (codes 1 to 3 up to the first 0,
// zeros after it), whatever the table holds.
ClassifierMasks BuildClassifierMasks(const SignatureTemplateTable& templates);
SignatureBits ToSignatureBits(const TypeSignature& signature);

inline RecordCategory ClassifyWithMasks(const ClassifierMasks& masks, const SignatureBits& bits) {
  for (size_t k = 0; k < kTemplateCount; ++k) {
    const SignatureBits& f = masks.forbidden[k];
    if (((bits[0] & f[0]) | (bits[1] & f[1]) | (bits[2] & f[2])) == 0) return masks.category[k];
  }
  return 0;
}

}  // namespace velkor
