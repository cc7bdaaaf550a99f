#include "engine/text_codec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>
#include <unicode/utypes.h>

#include <climits>
#include <memory>
#include <vector>

namespace velkor {
namespace {

// ICU's own substitution callback silently skips default-ignorable code
// points (U+200D, U+00AD, U+FEFF, variation selectors); the code page
// conversion we mirror writes the default character for them like for any
// other unmappable character, so every such code point must become '?'.
void SubstituteQuestionMark(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                            UChar32, UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  *err = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};

// One converter per thread: ICU converters keep state and are not shareable.
UConverter* AnsiConverter() {
  thread_local std::unique_ptr<UConverter, ConverterCloser> converter = [] {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open("windows-936-2000", &status);
    if (U_FAILURE(status)) return std::unique_ptr<UConverter, ConverterCloser>();
    ucnv_setFromUCallBack(c, SubstituteQuestionMark, nullptr, nullptr, nullptr, &status);
    return std::unique_ptr<UConverter, ConverterCloser>(c);
  }();
  return converter.get();
}

bool IsAscii(const uint8_t* bytes, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (bytes[i] >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > INT32_MAX / 3) return {};
  std::string out(text.size() * 3, '\0');
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &written,
                     reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                     0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<size_t>(written));
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > INT32_MAX / 2) return {};
  std::u16string out(text.size(), u'\0');
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                       &written, text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr,
                       &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<size_t>(written));
  return out;
}

void AppendUtf16Le(std::string& out, std::u16string_view text) {
  for (char16_t unit : text) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
}

std::string Utf16LeBytes(std::u16string_view text, bool withMark) {
  std::string out(withMark ? kUtf16LeMark : std::string_view());
  AppendUtf16Le(out, text);
  return out;
}

std::u16string ThroughAnsiCodePage(std::u16string_view text) {
  if (text.empty()) return {};
  UConverter* converter = AnsiConverter();
  if (converter == nullptr || text.size() > INT32_MAX / 4) return std::u16string(text.size(), u'?');
  ucnv_reset(converter);

  // A UTF-16 unit becomes at most 2 bytes of code page 936 (a '?' for each
  // unit of an unmappable pair at worst).
  std::vector<char> ansi(text.size() * 2 + 8);
  UErrorCode status = U_ZERO_ERROR;
  int32_t ansiLength = ucnv_fromUChars(converter, ansi.data(), static_cast<int32_t>(ansi.size()),
                                       reinterpret_cast<const UChar*>(text.data()),
                                       static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return std::u16string(text.size(), u'?');

  ucnv_reset(converter);
  std::u16string out(static_cast<size_t>(ansiLength) + 1, u'\0');
  status = U_ZERO_ERROR;
  int32_t outLength =
      ucnv_toUChars(converter, reinterpret_cast<UChar*>(out.data()),
                    static_cast<int32_t>(out.size()), ansi.data(), ansiLength, &status);
  if (U_FAILURE(status)) return std::u16string(text.size(), u'?');
  out.resize(static_cast<size_t>(outLength));
  return out;
}

namespace {

// full, when given, receives the UTF-8 reading where the code page pass
// changed it, and is emptied otherwise.
void DecodeColumnText(uint8_t* bytes, size_t n, std::u16string& out, std::u16string* full) {
  if (full != nullptr) full->clear();
  if (n == 0) {
    out.clear();
    return;
  }
  for (size_t i = 0; i + 1 < n; ++i) {
    if (bytes[i] == 0) bytes[i] = 0x20;
  }
  // After the overwrite only the last byte can be zero, and it ends the text.
  const size_t length = bytes[n - 1] == 0 ? n - 1 : n;

  // ASCII is the same in UTF-8, in code page 936 and in UTF-16.
  if (IsAscii(bytes, length)) {
    out.assign(bytes, bytes + length);
    return;
  }
  // Each ill-formed UTF-8 sequence (maximal subpart) becomes one U+FFFD,
  // which the code page then shows as '?'.
  std::u16string unicode = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes), length));
  out = ThroughAnsiCodePage(unicode);
  if (full != nullptr && unicode != out) *full = std::move(unicode);
}

}  // namespace

std::u16string DecodeText(uint8_t* bytes, size_t n) {
  std::u16string out;
  DecodeTextInto(bytes, n, out);
  return out;
}

void DecodeTextInto(uint8_t* bytes, size_t n, std::u16string& out) {
  DecodeColumnText(bytes, n, out, nullptr);
}

void DecodeTextInto(uint8_t* bytes, size_t n, std::u16string& out, std::u16string& full) {
  DecodeColumnText(bytes, n, out, &full);
}

}  // namespace velkor
