// The hex view's text: a window of image bytes as lines of offset, hex and
// printable characters.
#pragma once

#include <cstdint>
#include <optional>

#include <QString>
#include <QStringList>

#include "engine/image_source.h"

namespace velkor {

inline constexpr uint64_t kHexWindowBytes = 512;
inline constexpr uint64_t kHexLineBytes = 16;

// The first byte of the window shown around offset: half a window before
// the line holding it, never before the image's start nor so late that the
// window would run past its end.
uint64_t HexWindowStart(uint64_t offset, uint64_t imageSize);

// One line per 16 bytes from start: the offset in hex (at least 8 digits),
// the bytes in hex, then each byte as its ASCII character or '.' when it
// does not print. Stops early where the image ends or a read fails.
QStringList HexDumpLines(ImageSource& image, uint64_t start, uint64_t count);

// An offset as the user types it: decimal, or hex after "0x"; surrounding
// blanks ignored. Nothing for anything else or a value past 64 bits.
std::optional<uint64_t> ParseOffsetText(const QString& text);

}  // namespace velkor
