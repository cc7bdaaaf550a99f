// Text and blob fields through the UTF-8 and code page 936 conversion, and the
// UTF-8 edges of the program. Whatever the bytes, the column text is
// well-formed UTF-16 with no replacement character left in it, and a text
// that has been through the code page once comes back unchanged.
#include <vector>

#include "fuzz/fuzz_support.h"

namespace {

using namespace velkor;

bool WellFormed(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i])) {
      if (i + 1 == text.size() || !IsLowSurrogate(text[i + 1])) return false;
      ++i;
    } else if (IsLowSurrogate(text[i])) {
      return false;
    }
  }
  return true;
}

void CheckColumnText(const std::u16string& text, size_t inputUnits) {
  FUZZ_CHECK(text.size() <= inputUnits);
  FUZZ_CHECK(text.find(u'\uFFFD') == std::u16string::npos);
  FUZZ_CHECK(WellFormed(text));
  FUZZ_CHECK(ThroughAnsiCodePage(text) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A field exactly as long as the input, so that any read past it is caught.
  // Decoding turns every zero but a last one into a space, in place.
  std::vector<uint8_t> field(data, data + size);
  CheckColumnText(DecodeText(field.data(), field.size()), size);
  for (size_t i = 0; i < size; ++i) {
    FUZZ_CHECK(field[i] == (data[i] == 0 && i + 1 < size ? 0x20 : data[i]));
  }

  // The same bytes as UTF-16 units.
  const std::u16string units = InputReader{data, data + size}.RestUnits();
  CheckColumnText(ThroughAnsiCodePage(units), units.size());

  // UTF-8 <-> UTF-16 at the program's edges: ill-formed input is replaced,
  // never dropped or passed through, so one round trip reaches a fixed point.
  const std::u16string wide = FromUtf8({reinterpret_cast<const char*>(data), size});
  FUZZ_CHECK(WellFormed(wide));
  FUZZ_CHECK(FromUtf8(ToUtf8(wide)) == wide);
  FUZZ_CHECK(WellFormed(FromUtf8(ToUtf8(units))));
  return 0;
}
