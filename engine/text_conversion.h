// Column text as the examiner sees it: the bytes are read as UTF-8, then
// passed through the Chinese ANSI code page (936) and back, so that every
// character that code page cannot hold shows as '?'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velkor {

// Converts a text or blob field of n bytes. Zero bytes among the first n - 1
// are overwritten with spaces in place (a later record overlapping these
// bytes reads the spaces); a zero last byte ends the text.
std::u16string DecodeText(uint8_t* bytes, size_t n);
// The same text written into out, reusing its storage.
void DecodeTextInto(uint8_t* bytes, size_t n, std::u16string& out);

// UTF-16 through code page 936 and back: unmappable characters (U+FFFD,
// emoji, default-ignorable ones such as U+200D) each become one '?'.
std::u16string ThroughAnsiCodePage(std::u16string_view text);

}  // namespace velkor
