// ICU's answers to the questions the program's text code answers from its
// own tables: the reference the engine tests compare with, and what
// scripts/make-codec-tables reads the tables off. Linux only.
#pragma once

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velkor::icu_reference {

// ICU's own substitution callback silently skips default-ignorable code
// points (U+200D, U+00AD, U+FEFF, variation selectors); the code page
// conversion the program mirrors writes the default character for them like
// for any other unmappable character, so every such code point becomes '?'.
inline void SubstituteQuestionMark(const void*, UConverterFromUnicodeArgs* args, const UChar*,
                                   int32_t, UChar32, UConverterCallbackReason reason,
                                   UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  *err = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
}

inline UConverter* CodePage936() {
  struct Closer {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
  };
  thread_local std::unique_ptr<UConverter, Closer> converter = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, Closer> c(ucnv_open("windows-936-2000", &status));
    ucnv_setFromUCallBack(c.get(), SubstituteQuestionMark, nullptr, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? std::move(c) : nullptr;
  }();
  return converter.get();
}

// The text through code page 936 and back; "<failed>" when ICU fails.
inline std::u16string ThroughCodePage936(std::u16string_view text) {
  UConverter* converter = CodePage936();
  if (converter == nullptr) return u"<failed>";
  ucnv_reset(converter);
  std::vector<char> ansi(text.size() * 2 + 8);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t ansiLength =
      ucnv_fromUChars(converter, ansi.data(), static_cast<int32_t>(ansi.size()), text.data(),
                      static_cast<int32_t>(text.size()), &status);
  ucnv_reset(converter);
  std::u16string out(static_cast<size_t>(ansiLength) + 1, u'\0');
  const int32_t outLength = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                          ansi.data(), ansiLength, &status);
  if (U_FAILURE(status)) return u"<failed>";
  out.resize(static_cast<size_t>(outLength));
  return out;
}

inline std::string ToUtf8(std::u16string_view text) {
  std::string out(text.size() * 3, '\0');
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &written, text.data(),
                     static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(written) : 0);
  return out;
}

inline std::u16string FromUtf8(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &written, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(written) : 0);
  return out;
}

inline bool PlainlyPrinted(UChar32 c) {
  return u_isprint(c) && (c == u' ' || !u_isUWhiteSpace(c));
}

// c alone as UTF-16: one unit, an unpaired one for a surrogate, or a pair.
inline std::u16string Units(UChar32 c) {
  std::u16string text;
  if (U_IS_BMP(c)) {
    text.push_back(static_cast<char16_t>(c));
  } else {
    text = {U16_LEAD(c), U16_TRAIL(c)};
  }
  return text;
}

}  // namespace velkor::icu_reference
