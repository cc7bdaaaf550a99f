// Small helpers for building UTF-16 texts from parts and numbers, in the
// forms the lists and logs show ("%d", "%I64u", "%I64d": plain decimals,
// no separators).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace velkor {

std::u16string Concat(std::initializer_list<std::u16string_view> parts);
std::u16string DecimalText(uint64_t value);
// The most code units DecimalUnits writes (2^64 - 1 has 20 digits).
inline constexpr size_t kMaxDecimalUnits = 20;
// Writes the digits of value at out; returns how many.
size_t DecimalUnits(uint64_t value, char16_t* out);
// The same text written into out, reusing its storage.
void AssignDecimal(std::u16string& out, uint64_t value);
// The same text added at the end of out.
void AppendDecimal(std::u16string& out, uint64_t value);
std::u16string DecimalText(int64_t value);
inline std::u16string DecimalText(uint32_t value) {
  return DecimalText(uint64_t{value});
}
inline std::u16string DecimalText(int32_t value) {
  return DecimalText(int64_t{value});
}

}  // namespace velkor
