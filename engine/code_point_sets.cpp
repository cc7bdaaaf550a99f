#include "engine/code_point_sets.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <span>

namespace velkor {
namespace {

// Both ends included.
struct CodePointRange {
  char32_t first;
  char32_t last;
};

#include "engine/codec_tables.inc"

// Lookups find a code point's range by its start, which needs the ranges in
// order and apart.
constexpr bool InOrderAndApart(std::span<const CodePointRange> ranges) {
  for (size_t i = 0; i < ranges.size(); ++i) {
    if (ranges[i].first > ranges[i].last) return false;
    if (i > 0 && ranges[i - 1].last >= ranges[i].first) return false;
  }
  return true;
}
static_assert(InOrderAndApart(kAnsiCodePageRanges) && InOrderAndApart(kPlainlyPrintedRanges));
static_assert(kAnsiCodePageRanges[std::size(kAnsiCodePageRanges) - 1].last <= 0xFFFF,
              "the code page pass expects no code point past U+FFFF to survive");

// The code page pass asks about every non-ASCII unit of every column text:
// one bit per BMP code point answers in one load.
constexpr std::array<uint64_t, 0x10000 / 64> BitsOf(std::span<const CodePointRange> ranges) {
  std::array<uint64_t, 0x10000 / 64> bits{};
  for (const CodePointRange& range : ranges) {
    for (char32_t c = range.first; c <= range.last; ++c) bits[c >> 6] |= uint64_t{1} << (c & 63);
  }
  return bits;
}
constexpr std::array<uint64_t, 0x10000 / 64> kAnsiCodePageBits = BitsOf(kAnsiCodePageRanges);

}  // namespace

bool AnsiCodePageHolds(char32_t c) {
  return c <= 0xFFFF && ((kAnsiCodePageBits[c >> 6] >> (c & 63)) & 1) != 0;
}

bool IsPlainlyPrinted(char32_t c) {
  const auto* after = std::upper_bound(
      std::begin(kPlainlyPrintedRanges), std::end(kPlainlyPrintedRanges), c,
      [](char32_t value, const CodePointRange& range) { return value < range.first; });
  return after != std::begin(kPlainlyPrintedRanges) && c <= std::prev(after)->last;
}

}  // namespace velkor
