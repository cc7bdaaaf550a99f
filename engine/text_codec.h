// Every conversion between the encodings the program meets, in one place:
// UTF-16 inside, UTF-8 at the edges (files, terminals, paths), UTF-16LE in
// the exported lists and the saved log, and the Chinese ANSI code page (936)
// that column text passes through, so that every character that code page
// cannot hold shows as '?'.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velkor {

// UTF-16 <-> UTF-8. Ill-formed input becomes U+FFFD; nothing is dropped
// silently.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

constexpr bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}
// The code point past U+FFFF that a high and a low surrogate stand for.
constexpr char32_t CombineSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// Writes c at out as one UTF-16 unit, or two past U+FFFF; returns the end.
inline char16_t* WriteUtf16(char16_t* out, char32_t c) {
  if (c < 0x10000) {
    *out++ = static_cast<char16_t>(c);
  } else {
    *out++ = static_cast<char16_t>(0xD7C0 + (c >> 10));
    *out++ = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
  }
  return out;
}

// One UTF-8 sequence read at bytes[at], at < bytes.size().
struct Utf8Sequence {
  char32_t codePoint;  // U+FFFD when ill-formed
  size_t length;       // the sequence, or when ill-formed its maximal subpart: at least one byte
  bool wellFormed;
};
Utf8Sequence ReadUtf8(std::span<const uint8_t> bytes, size_t at);

// The byte-order mark FF FE that starts a UTF-16LE file.
inline constexpr std::string_view kUtf16LeMark{"\xFF\xFE", 2};
// Appends the code units of text as little-endian byte pairs, unpaired
// surrogates included, as they are. Inline: the exports call it for every
// cell.
inline void AppendUtf16Le(std::string& out, std::u16string_view text) {
  // On a little-endian machine the units are already the file's bytes.
  if constexpr (std::endian::native == std::endian::little) {
    out.append(reinterpret_cast<const char*>(text.data()), 2 * text.size());
  } else {
    for (const char16_t unit : text) {
      out.push_back(static_cast<char>(unit & 0xFF));
      out.push_back(static_cast<char>(unit >> 8));
    }
  }
}
std::string Utf16LeBytes(std::u16string_view text, bool withMark);

// UTF-16 through code page 936 and back: unmappable characters (U+FFFD,
// emoji, default-ignorable ones such as U+200D) each become one '?'.
std::u16string ThroughAnsiCodePage(std::u16string_view text);

// Column text as the examiner sees it: a text or blob field of n bytes read
// as UTF-8, then passed through code page 936. Zero bytes among the first
// n - 1 are overwritten with spaces in place (a later record overlapping
// these bytes reads the spaces); a zero last byte ends the text.
std::u16string DecodeText(uint8_t* bytes, size_t n);
// Just the overwrite of the zero bytes among the first n - 1.
void BlankInnerZeros(uint8_t* bytes, size_t n);
// The same text written into out, reusing its storage.
void DecodeTextInto(uint8_t* bytes, size_t n, std::u16string& out);
// The same, keeping the full Unicode text (UTF-8 read, before the code page
// pass) in full where the code page changed it; full is emptied otherwise.
void DecodeTextInto(uint8_t* bytes, size_t n, std::u16string& out, std::u16string& full);

}  // namespace velkor
