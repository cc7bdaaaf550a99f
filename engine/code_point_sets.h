// The sets of code points the text handling asks about, answered from tables
// generated once from ICU (engine/codec_tables.inc), so that every build of
// the program, with or without ICU, answers alike.
#pragma once

namespace velkor {

// Whether c comes back as itself through code page 936 and back; every other
// code point (unmappable, default-ignorable, past U+FFFF, a surrogate) comes
// back as one '?'.
bool AnsiCodePageHolds(char32_t c);

// Whether c plainly prints: U+0020, or a character that is neither white space
// nor in general category C (controls, format characters that can reorder or
// hide text, unassigned, private-use and surrogate code points).
bool IsPlainlyPrinted(char32_t c);

}  // namespace velkor
