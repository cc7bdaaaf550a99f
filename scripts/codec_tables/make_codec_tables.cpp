// Writes engine/codec_tables.inc to standard output: the code point sets the
// engine answers without ICU, read off ICU for every code point. Fails when
// ICU's code page round trip turns a code point into anything but itself or
// one '?', which a set of surviving code points could not describe.
#include <cstdio>
#include <vector>

#include "tests/engine/icu_reference.h"

namespace {

using namespace velkor::icu_reference;

struct Range {
  UChar32 first;
  UChar32 last;
};

// Extends the last range when c follows it; code points come in order.
void Add(std::vector<Range>& ranges, UChar32 c) {
  if (!ranges.empty() && ranges.back().last + 1 == c) {
    ranges.back().last = c;
  } else {
    ranges.push_back({c, c});
  }
}

void Print(const char* comment, const char* name, const std::vector<Range>& ranges) {
  std::printf("\n%s\nconstexpr CodePointRange %s[] = {", comment, name);
  for (size_t i = 0; i < ranges.size(); ++i) {
    std::printf("%s{0x%04X, 0x%04X},", i % 5 == 0 ? "\n    " : " ", ranges[i].first,
                ranges[i].last);
  }
  std::printf("\n};\n");
}

}  // namespace

int main() {
  std::vector<Range> survivors;
  std::vector<Range> printed;
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    const std::u16string alone = Units(c);
    const std::u16string back = ThroughCodePage936(alone);
    if (back == alone) {
      Add(survivors, c);
    } else if (back != u"?") {
      std::fprintf(stderr, "U+%04X comes back through code page 936 as neither itself nor '?'\n",
                   c);
      return 1;
    }
    if (PlainlyPrinted(c)) Add(printed, c);
  }

  std::printf(
      "// Generated from ICU %s (Unicode %s) by scripts/make-codec-tables: do not edit.\n"
      "// After an ICU upgrade, when the engine tests find the engine and ICU apart,\n"
      "// run scripts/make-codec-tables to rewrite this file.\n"
      "// clang-format off\n",
      U_ICU_VERSION, U_UNICODE_VERSION);
  Print(
      "// The code points that come back as themselves through code page 936\n"
      "// (ICU's \"windows-936-2000\") and back; every other one comes back as '?'.",
      "kAnsiCodePageRanges", survivors);
  Print("// The code points u_isprint accepts, without the white space but U+0020.",
        "kPlainlyPrintedRanges", printed);
  std::printf("// clang-format on\n");
  return 0;
}
