// Which template a type signature fits, in the fixed order of trial.
#include <gtest/gtest.h>

#include <string>

#include "engine/fast_classifier.h"
#include "engine/record_scan_parts.h"
#include "engine/signature_templates.h"

namespace velkor {
namespace {

// Signature from a digit string ("1" number, "2" text, "3" NULL).
TypeSignature Sig(const std::string& codes) {
  TypeSignature s{};
  for (size_t i = 0; i < codes.size() && i < kMaxDecodedColumns; ++i) {
    s[i] = static_cast<uint8_t>(codes[i] - '0');
  }
  return s;
}

class ClassifyTest : public ::testing::Test {
 protected:
  RecordCategory Classify(const std::string& codes) const { return velkor::Classify(Sig(codes)); }
};

TEST_F(ClassifyTest, ContactDataRows) {
  // Template 9 fails at its second position, so template 1 decides.
  EXPECT_EQ(Classify("11111111" + std::string(12, '2')), 1);
  EXPECT_EQ(Classify("1111111" + std::string(13, '2')), 2);
  // More columns than the template are fine.
  EXPECT_EQ(Classify("11111111" + std::string(12, '2') + "1111"), 1);
}

TEST_F(ClassifyTest, NullFitsAnyType) {
  EXPECT_EQ(Classify("11131111" + std::string(12, '2')), 1);
  EXPECT_EQ(Classify("33333333" + std::string(12, '2')), 1);
  EXPECT_EQ(Classify("111113"), 13);
}

TEST_F(ClassifyTest, ShortRecordsFitNothing) {
  EXPECT_EQ(Classify("11111"), 0);
  EXPECT_EQ(Classify("111111"), 0);  // template 13 wants a text at position 5
  EXPECT_EQ(Classify(""), 0);
}

TEST_F(ClassifyTest, ShortPrefixTemplates) {
  EXPECT_EQ(Classify("111112"), 13);
  EXPECT_EQ(Classify("111112222"), 13);
  EXPECT_EQ(Classify("121111212"), 8);
  EXPECT_EQ(Classify("12111112121"), 6);
  EXPECT_EQ(Classify("12121121111"), 14);
}

TEST_F(ClassifyTest, Template9NeedsAll35Columns) {
  const std::string t9 = "12211112212212222212211112222222222";
  EXPECT_EQ(Classify(t9), 9);
  EXPECT_NE(Classify(t9.substr(0, 34)), 9);
  std::string nullTail = t9;
  nullTail[34] = '3';
  EXPECT_EQ(Classify(nullTail), 9);
}

TEST_F(ClassifyTest, EveryTemplateIsReachable) {
  // A record made of exactly a template's codes lands on that template or on
  // one tried earlier that it also fits; for these sixteen no earlier one
  // does, so each comes back as itself.
  for (RecordCategory c = 1; c <= 16; ++c) {
    std::string codes;
    for (uint8_t code : SignatureTemplates()[c - 1]) {
      if (code == 0) break;
      codes.push_back(static_cast<char>('0' + code));
    }
    EXPECT_EQ(Classify(codes), c) << codes;
  }
}

}  // namespace
}  // namespace velkor

namespace velkor {
namespace {

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
      // Mostly the shapes of real templates, with NULLs and short records.
      const SignatureTemplate& base = templates[next(16)];
      const uint32_t columns = next(36);
      for (uint32_t i = 0; i < columns; ++i) {
        const uint32_t roll = next(10);
        // Decoded columns only ever have the codes 1, 2 and 3.
        signature[i] =
            roll < 7 && base[i] != 0 && base[i] <= 3 ? base[i] : static_cast<uint8_t>(1 + next(3));
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
