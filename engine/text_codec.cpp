#include "engine/text_codec.h"

#include <bit>

#include "engine/code_point_sets.h"

namespace velkor {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Writes n units to out; false when some byte is not ASCII (out then holds
// junk). Or-ing the bytes instead of testing each lets the loop vectorise.
bool WidenAscii(const uint8_t* bytes, size_t n, char16_t* out) {
  uint8_t seen = 0;
  for (size_t i = 0; i < n; ++i) {
    seen |= bytes[i];
    out[i] = bytes[i];
  }
  return seen < 0x80;
}

std::span<const uint8_t> BytesOf(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Decodes bytes into text, reusing its storage. No sequence gives more UTF-16
// units than it has bytes (four bytes give two units, an ill-formed subpart of
// one or more bytes one U+FFFD), so one unit per byte is always room enough.
void DecodeUtf8Into(std::span<const uint8_t> bytes, std::u16string& text) {
  text.resize(bytes.size());
  char16_t* const begin = text.data();
  char16_t* end = begin;
  for (size_t at = 0; at < bytes.size();) {
    if (bytes[at] < 0x80) {
      *end++ = bytes[at++];
      continue;
    }
    const Utf8Sequence sequence = ReadUtf8(bytes, at);
    end = WriteUtf16(end, sequence.codePoint);
    at += sequence.length;
  }
  text.resize(static_cast<size_t>(end - begin));
}

// The code point at text[i], moving i past it; an unpaired surrogate reads as
// U+FFFD.
char32_t ReadUtf16(std::u16string_view text, size_t& i) {
  const char16_t unit = text[i++];
  if (IsHighSurrogate(unit) && i < text.size() && IsLowSurrogate(text[i])) {
    return CombineSurrogates(unit, text[i++]);
  }
  return IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit;
}

size_t Utf8Length(char32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

char* WriteUtf8(char* out, char32_t c) {
  const size_t length = Utf8Length(c);
  if (length == 1) {
    *out++ = static_cast<char>(c);
    return out;
  }
  // The lead byte carries as many top bits as the sequence has bytes.
  static constexpr uint8_t kLeadMarks[] = {0, 0, 0xC0, 0xE0, 0xF0};
  *out++ = static_cast<char>(kLeadMarks[length] | (c >> (6 * (length - 1))));
  for (size_t k = length - 1; k-- > 0;) *out++ = static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  return out;
}

// Code page 936 holds no code point past U+FFFF and no surrogate: a pair
// becomes one '?' like an unpaired surrogate does, and every other unit stays
// itself or becomes '?'. The text therefore never grows, and each unit is
// read before the write position reaches it.
void PassAnsiCodePage(std::u16string& text) {
  const std::u16string_view units = text;
  size_t written = 0;
  for (size_t i = 0; i < units.size();) {
    if (units[i] < 0x80) {
      text[written++] = units[i++];
      continue;
    }
    const char32_t c = ReadUtf16(units, i);
    text[written++] = AnsiCodePageHolds(c) ? static_cast<char16_t>(c) : u'?';
  }
  text.resize(written);
}

}  // namespace

// The well-formed sequences of the Unicode standard (table 3-7): the second
// byte's range depends on the lead byte, which excludes overlong forms,
// surrogates and code points past U+10FFFF at the earliest byte that shows
// them. A sequence ends at the first byte outside its range, which starts the
// next read.
Utf8Sequence ReadUtf8(std::span<const uint8_t> bytes, size_t at) {
  const uint8_t lead = bytes[at];
  if (lead < 0x80) return {lead, 1, true};
  size_t length = 0;
  char32_t value = 0;
  uint8_t low = 0x80, high = 0xBF;  // the next continuation byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacement, 1, false};
  }
  for (size_t k = 1; k < length; ++k) {
    if (at + k >= bytes.size() || bytes[at + k] < low || bytes[at + k] > high) {
      return {kReplacement, k, false};
    }
    value = (value << 6) | (bytes[at + k] & 0x3Fu);
    low = 0x80, high = 0xBF;
  }
  return {value, length, true};
}

std::string ToUtf8(std::u16string_view text) {
  size_t length = 0;
  for (size_t i = 0; i < text.size();) length += Utf8Length(ReadUtf16(text, i));
  std::string out(length, '\0');
  char* end = out.data();
  for (size_t i = 0; i < text.size();) end = WriteUtf8(end, ReadUtf16(text, i));
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  DecodeUtf8Into(BytesOf(text), out);
  return out;
}

std::string Utf16LeBytes(std::u16string_view text, bool withMark) {
  std::string out(withMark ? kUtf16LeMark : std::string_view());
  AppendUtf16Le(out, text);
  return out;
}

std::u16string ThroughAnsiCodePage(std::u16string_view text) {
  std::u16string out(text);
  PassAnsiCodePage(out);
  return out;
}

// Every byte is stored back, changed or not, so the loop vectorises.
void BlankInnerZeros(uint8_t* bytes, size_t n) {
  for (size_t i = 0; i + 1 < n; ++i) bytes[i] = bytes[i] == 0 ? uint8_t{0x20} : bytes[i];
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
  BlankInnerZeros(bytes, n);
  // After the overwrite only the last byte can be zero, and it ends the text.
  const size_t length = bytes[n - 1] == 0 ? n - 1 : n;

  // ASCII is the same in UTF-8, in code page 936 and in UTF-16: each byte is
  // widened as it is, and the first byte past 0x7F sends the field to the
  // converters.
  out.resize(length);
  if (WidenAscii(bytes, length, out.data())) return;
  // Each ill-formed UTF-8 sequence (maximal subpart) becomes one U+FFFD,
  // which the code page then shows as '?'.
  const std::span<const uint8_t> field(bytes, length);
  if (full == nullptr) {
    DecodeUtf8Into(field, out);
    PassAnsiCodePage(out);
    return;
  }
  DecodeUtf8Into(field, *full);
  out.assign(*full);
  PassAnsiCodePage(out);
  if (out == *full) full->clear();
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
