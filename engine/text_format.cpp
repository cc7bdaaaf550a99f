#include "engine/text_format.h"

namespace velkor {

std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
  std::u16string out;
  size_t size = 0;
  for (auto part : parts) size += part.size();
  out.reserve(size);
  for (auto part : parts) out.append(part);
  return out;
}

void AppendDecimal(std::u16string& out, uint64_t value) {
  char16_t digits[24];
  size_t n = sizeof digits / sizeof digits[0];
  do {
    digits[--n] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  out.append(digits + n, digits + sizeof digits / sizeof digits[0]);
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
