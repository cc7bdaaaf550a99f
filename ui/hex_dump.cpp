#include "ui/hex_dump.h"

#include <algorithm>
#include <vector>

namespace velkor {

uint64_t HexWindowStart(uint64_t offset, uint64_t imageSize) {
  const uint64_t line = offset - offset % kHexLineBytes;
  uint64_t start = line > kHexWindowBytes / 2 ? line - kHexWindowBytes / 2 : 0;
  if (imageSize <= kHexWindowBytes) return 0;
  // Near the end the window moves back so it stays full, rounded up to a
  // line boundary so the columns line up with the offsets: the last line
  // may then be short, but the image's last byte is always shown.
  const uint64_t latest = imageSize - kHexWindowBytes;
  if (start > latest) start = latest + (kHexLineBytes - latest % kHexLineBytes) % kHexLineBytes;
  return start;
}

QStringList HexDumpLines(ImageSource& image, uint64_t start, uint64_t count) {
  std::vector<uint8_t> bytes(count);
  const size_t read = ReadFully(image, bytes.data(), bytes.size(), start);
  QStringList lines;
  for (size_t line = 0; line < read; line += kHexLineBytes) {
    const size_t end = std::min<size_t>(read, line + kHexLineBytes);
    QString hex;
    QString text;
    for (size_t i = line; i < line + kHexLineBytes; ++i) {
      if (i == line + kHexLineBytes / 2) hex += u' ';
      if (i >= end) {
        hex += QStringLiteral("   ");
        continue;
      }
      hex += QStringLiteral("%1 ").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
      text += bytes[i] >= 0x20 && bytes[i] < 0x7F ? QChar(bytes[i]) : QChar(u'.');
    }
    lines << QStringLiteral("%1  %2 %3")
                 .arg(QString::number(start + line, 16).toUpper().rightJustified(8, u'0'), hex,
                      text);
  }
  return lines;
}

std::optional<uint64_t> ParseOffsetText(const QString& text) {
  const QString trimmed = text.trimmed();
  const bool hex = trimmed.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive);
  const QString digits = hex ? trimmed.mid(2) : trimmed;
  // toULongLong alone would take a sign, blanks or a "0x" it should not.
  for (const QChar c : digits) {
    if (!(c.isDigit() || (hex && QStringLiteral("abcdefABCDEF").contains(c)))) return {};
  }
  bool ok = false;
  const qulonglong value = digits.toULongLong(&ok, hex ? 16 : 10);
  if (!ok) return {};
  return value;
}

}  // namespace velkor
