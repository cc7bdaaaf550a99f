#include "engine/text_format.h"

#include <array>

namespace velkor {
namespace {

// Pairs of digits, "00" to "99": one division by 100 gives two digits.
constexpr auto kDigitPairs = [] {
  std::array<char16_t, 200> pairs{};
  for (size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char16_t>(u'0' + i / 10);
    pairs[2 * i + 1] = static_cast<char16_t>(u'0' + i % 10);
  }
  return pairs;
}();

size_t DigitCount(uint64_t value) {
  size_t count = 1;
  for (uint64_t limit = 10; count < kMaxDecimalUnits && value >= limit; limit *= 10) ++count;
  return count;
}

}  // namespace

std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
  std::u16string out;
  size_t size = 0;
  for (auto part : parts) size += part.size();
  out.reserve(size);
  for (auto part : parts) out.append(part);
  return out;
}

// The digits are filled from the end: after every step value holds exactly
// the digits still to be written in front of end.
size_t DecimalUnits(uint64_t value, char16_t* out) {
  const size_t count = DigitCount(value);
  char16_t* end = out + count;
  while (value >= 100) {
    const size_t pair = 2 * static_cast<size_t>(value % 100);
    value /= 100;
    *--end = kDigitPairs[pair + 1];
    *--end = kDigitPairs[pair];
  }
  if (value >= 10) {
    *--end = kDigitPairs[2 * value + 1];
    *--end = kDigitPairs[2 * value];
  } else {
    *--end = static_cast<char16_t>(u'0' + value);
  }
  return count;
}

void AppendDecimal(std::u16string& out, uint64_t value) {
  char16_t digits[kMaxDecimalUnits];
  out.append(digits, DecimalUnits(value, digits));
}

void AssignDecimal(std::u16string& out, uint64_t value) {
  out.clear();
  AppendDecimal(out, value);
}

std::u16string DecimalText(uint64_t value) {
  std::u16string out;
  AssignDecimal(out, value);
  return out;
}

std::u16string DecimalText(int64_t value) {
  if (value >= 0) return DecimalText(static_cast<uint64_t>(value));
  // Negate in unsigned arithmetic so INT64_MIN is handled.
  std::u16string out(1, u'-');
  out += DecimalText(0 - static_cast<uint64_t>(value));
  return out;
}

}  // namespace velkor
