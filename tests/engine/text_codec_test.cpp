// The program's own UTF-8, UTF-16 and code page 936 conversions and its set
// of printable characters against ICU, which they replace so that a build
// without ICU gives byte-identical exports: every code point alone, then
// random mixed texts (the code page pass must not depend on context) and
// hostile byte strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/code_point_sets.h"
#include "engine/text_codec.h"
#include "tests/engine/icu_reference.h"

namespace velkor {
namespace {

namespace ref = icu_reference;

TEST(TextCodec, EveryCodePointAsIcu) {
  size_t differences = 0;
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    const std::u16string alone = ref::Units(c);  // surrogates unpaired
    const std::string utf8 = ref::ToUtf8(alone);
    const bool same[] = {ThroughAnsiCodePage(alone) == ref::ThroughCodePage936(alone),
                         ToUtf8(alone) == utf8, FromUtf8(utf8) == ref::FromUtf8(utf8),
                         IsPlainlyPrinted(static_cast<char32_t>(c)) == ref::PlainlyPrinted(c)};
    if (std::find(std::begin(same), std::end(same), false) != std::end(same) &&
        ++differences <= 8) {
      ADD_FAILURE() << "U+" << std::hex << c << ": code page, ToUtf8, FromUtf8, printable agree "
                    << testing::PrintToString(same);
    }
  }
  EXPECT_EQ(differences, 0u);
}

// A code point of a kind recovered texts mix: ASCII, Chinese, private use,
// emoji, default-ignorable, a lone surrogate (two in a row may pair), or any.
UChar32 MixedCodePoint(std::mt19937& random) {
  static constexpr UChar32 kKinds[][2] = {{0x20, 0x7E},       {0x00, 0x7F},     {0x4E00, 0x9FFF},
                                          {0x3000, 0x33FF},   {0xE000, 0xF8FF}, {0xF0000, 0xF00FF},
                                          {0x1F300, 0x1FAFF}, {0x200B, 0x206F}, {0xFE00, 0xFEFF},
                                          {0xE0000, 0xE01EF}, {0xD800, 0xDFFF}, {0x80, 0xFFFF},
                                          {0x10000, 0x10FFFF}};
  const auto& kind = kKinds[random() % std::size(kKinds)];
  return std::uniform_int_distribution<UChar32>(kind[0], kind[1])(random);
}

TEST(TextCodec, MixedTextsAsIcu) {
  std::mt19937 random(936);
  for (int round = 0; round < 200000; ++round) {
    std::u16string text;
    for (size_t n = random() % 16; n > 0; --n) text += ref::Units(MixedCodePoint(random));
    ASSERT_EQ(ThroughAnsiCodePage(text), ref::ThroughCodePage936(text)) << ToUtf8(text);
    ASSERT_EQ(ToUtf8(text), ref::ToUtf8(text)) << round;
  }
}

// Bytes where UTF-8 decoding decides: the limits of lead bytes of each
// length and of their continuation bytes, and bytes never valid.
constexpr uint8_t kEdgeBytes[] = {0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1,
                                  0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1,
                                  0xF3, 0xF4, 0xF5, 0xF7, 0xF8, 0xFB, 0xFC, 0xFE, 0xFF};

// Truncated, overlong and surrogate encodings, C0 and C1 controls, code
// points past U+10FFFF and whole sequences of any code point, run together.
std::string HostileBytes(std::mt19937& random) {
  std::string bytes;
  for (size_t n = random() % 10; n > 0; --n) {
    const std::string sequence = ref::ToUtf8(ref::Units(MixedCodePoint(random)));
    const std::string pieces[] = {
        std::string(1, static_cast<char>(kEdgeBytes[random() % std::size(kEdgeBytes)])),
        std::string(1, static_cast<char>(random())), sequence,
        sequence.substr(0, random() % sequence.size())};  // cut short
    bytes += pieces[random() % std::size(pieces)];
  }
  return bytes;
}

// Column text is the UTF-8 reading through the code page, and the full text
// is kept where the code page changed it; the strings are reused throughout.
TEST(TextCodec, HostileBytesAsIcu) {
  std::mt19937 random(65001);
  std::u16string out = u"stale", full = u"stale";
  for (int round = 0; round < 200000; ++round) {
    std::string bytes = HostileBytes(random);
    const std::u16string unicode = ref::FromUtf8(bytes);
    ASSERT_EQ(FromUtf8(bytes), unicode) << testing::PrintToString(bytes);
    if (bytes.find('\0') != std::string::npos) continue;  // zeros: DecodeText's own table
    const std::u16string shown = ref::ThroughCodePage936(unicode);
    DecodeTextInto(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), out, full);
    ASSERT_EQ(out, shown) << testing::PrintToString(bytes);
    ASSERT_EQ(full, shown == unicode ? u"" : unicode) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace velkor
