#include "engine/number_parse.h"

#include <limits>

namespace velkor {
namespace {

bool IsSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}

struct Scanned {
  bool negative = false;
  bool overflow = false;
  uint64_t magnitude = 0;
};

// Accumulates digits while the magnitude stays at or below limit.
Scanned Scan(std::u16string_view text, uint64_t limit) {
  Scanned out;
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    out.negative = text[i] == u'-';
    ++i;
  }
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    const uint64_t digit = static_cast<uint64_t>(text[i] - u'0');
    if (out.overflow || out.magnitude > (limit - digit) / 10) {
      out.overflow = true;
      continue;
    }
    out.magnitude = out.magnitude * 10 + digit;
  }
  return out;
}

}  // namespace

int64_t ParseInt64(std::u16string_view text) {
  constexpr uint64_t kMaxNegative = uint64_t{1} << 63;
  Scanned s = Scan(text, kMaxNegative);
  if (s.negative) {
    if (s.overflow) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(0 - s.magnitude);  // wraps 2^63 onto INT64_MIN
  }
  if (s.overflow || s.magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
    return std::numeric_limits<int64_t>::max();
  }
  return static_cast<int64_t>(s.magnitude);
}

uint32_t ParseUInt32(std::u16string_view text) {
  Scanned s = Scan(text, std::numeric_limits<uint32_t>::max());
  uint32_t value =
      s.overflow ? std::numeric_limits<uint32_t>::max() : static_cast<uint32_t>(s.magnitude);
  if (s.negative) value = 0u - value;
  return value;
}

}  // namespace velkor
