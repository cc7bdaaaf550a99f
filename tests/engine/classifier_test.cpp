// Which template a type signature fits, in the fixed order of trial.
#include <gtest/gtest.h>

#include <string>

#include "engine/fast_classifier.h"
#include "engine/record_scan_parts.h"
#include "engine/signature_templates.h"

namespace velkor {
namespace {

// Classifies a digit string ("1" number, "2" text, "3" NULL).
RecordCategory ClassifyCodes(const std::string& codes) {
  TypeSignature s{};
  for (size_t i = 0; i < codes.size() && i < kMaxDecodedColumns; ++i) {
    s[i] = static_cast<uint8_t>(codes[i] - '0');
  }
  return Classify(s);
}

TEST(Classify, SignaturesInTheOrderOfTrial) {
  const std::string t9 = "12211112212212222212211112222222222";
  const struct {
    std::string codes;
    RecordCategory category;
  } cases[] = {// Template 9 fails at its second position, so template 1 decides.
               {"11111111" + std::string(12, '2'), 1},
               {"1111111" + std::string(13, '2'), 2},
               {"11111111" + std::string(12, '2') + "1111", 1},  // more columns are fine
               {"11131111" + std::string(12, '2'), 1},           // NULL fits any type
               {"33333333" + std::string(12, '2'), 1},
               {"111113", 13},
               {"11111", 0},
               {"111111", 0},  // template 13 wants a text at position 5
               {"", 0},
               {"111112", 13},
               {"121111212", 8},
               {"12111112121", 6},
               {"12121121111", 14},
               {t9, 9},
               {t9.substr(0, 34) + "3", 9}};
  for (const auto& c : cases) EXPECT_EQ(ClassifyCodes(c.codes), c.category) << c.codes;
  EXPECT_NE(ClassifyCodes(t9.substr(0, 34)), 9);  // template 9 needs all 35 columns
}

// The word-operation classifier of the scan loop must agree with the plain
// one on every signature, for the real table and for arbitrary tables.
TEST(FastClassifier, AgreesWithThePlainClassifier) {
  uint32_t state = 2024;
  auto next = [&state](uint32_t bound) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % bound;
  };
  for (int table = 0; table < 40; ++table) {
    SignatureTemplateTable templates = SignatureTemplates();
    if (table != 0) {
      for (auto& pattern : templates) {
        pattern.fill(0);
        const uint32_t length = next(36);
        for (uint32_t i = 0; i < length; ++i)
          pattern[i] = static_cast<uint8_t>(1 + next(table % 5 == 0 ? 5 : 2));
      }
    }
    const ClassifierMasks masks = BuildClassifierMasks(templates);
    for (int record = 0; record < 4000; ++record) {
      TypeSignature signature{};
      // Mostly the shapes of real templates, with NULLs and short records;
      // decoded columns only ever have the codes 1, 2 and 3.
      const SignatureTemplate& base = templates[next(16)];
      const uint32_t columns = next(36);
      for (uint32_t i = 0; i < columns; ++i) {
        const bool keep = next(10) < 7 && base[i] != 0 && base[i] <= 3;
        signature[i] = keep ? base[i] : static_cast<uint8_t>(1 + next(3));
      }
      if (columns < 35) signature[columns] = 0;
      ASSERT_EQ(ClassifyWithMasks(masks, ToSignatureBits(signature)),
                Classify(signature, templates))
          << "table " << table << " record " << record;
    }
  }
}

}  // namespace
}  // namespace velkor
