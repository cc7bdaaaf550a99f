// Reading numbers back from column texts, with the exact rules of the C
// runtime conversions the stored values have always been read with: leading
// white space, an optional sign, decimal digits up to the first other
// character, 0 when there are none.
#pragma once

#include <cstdint>
#include <string_view>

namespace velkor {

// 64-bit signed; saturates at the limits on overflow.
int64_t ParseInt64(std::u16string_view text);
// 32-bit unsigned; on overflow the result is 0xFFFFFFFF, then a leading minus
// sign negates whatever was read (so "-1" gives 0xFFFFFFFF).
uint32_t ParseUInt32(std::u16string_view text);
inline uint8_t ParseUInt8(std::u16string_view text) {
  return static_cast<uint8_t>(ParseUInt32(text) & 0xFF);
}

}  // namespace velkor
