// Where a freed cell may start: the byte tests the deep scan makes before it
// walks any serial types (see engine/freeblock_cells.h for the layout).
#pragma once

#include <cstdint>

namespace velkor {

// The cases a position can be, as bits: k = 4, 3 and 2 (the lead bytes a
// freeblock header took), and with k = 2 a lost integer column 0.
enum : uint8_t { kMayBeFour = 1, kMayBeThree = 2, kMayBeTwo = 4, kMayBeTwoAfterInteger = 8 };

// Freeblocks are looked for in pages of up to 16 KiB (phones' databases use
// 4 KiB): the size and the next freeblock's offset lie below it.
inline constexpr uint32_t kMaxFreeblockPage = 16384;
// The header length of a rebuilt cell is one byte.
inline constexpr uint32_t kMaxFreedHeader = 127;

// The cases the nine bytes at b allow, before any serial type is walked;
// never kMayBeTwoAfterInteger, which is a case of kMayBeTwo.
uint8_t PossibleCases(const uint8_t* b);

// The nine bytes at b read as a freeblock header (a size that can hold a
// cell; the next freeblock, in ascending page order, beyond it or none; both
// inside a page) followed by bytes that allow some case.
bool MayStartFreedCell(const uint8_t* b);

// Sets bit i % 64 of marks[i / 64] for every position i in [0, n) where
// MayStartFreedCell may hold, and for few others; clears the rest of the
// (n + 63) / 64 words. Reads up to 72 bytes past n. True when a bit is set.
bool MarkFreedCellStarts(const uint8_t* w, uint32_t n, uint64_t* marks);

}  // namespace velkor
