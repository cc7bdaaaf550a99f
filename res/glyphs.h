// Drawing primitives of the program's pictures. Each draws into a square of
// 48 by 48 logical units; callers scale the painter to the target size.
#pragma once

#include <QColor>
#include <QPainter>

namespace velkor::glyph {

void Document(QPainter& p, QColor fill);
void Plus(QPainter& p, QColor colour);
void Cross(QPainter& p, QColor colour);
void Magnifier(QPainter& p, QColor lens);
// The magnifier shrunk by scale with its top left corner at at.
void SmallMagnifier(QPainter& p, QPointF at, double scale, QColor lens);
void Phone(QPainter& p, QColor body);
void Picture(QPainter& p);
void Film(QPainter& p);
void Clipboard(QPainter& p);
void Gear(QPainter& p, QColor colour);
void Floppy(QPainter& p, QColor colour);
void StopSign(QPainter& p);
void ExitDoor(QPainter& p);
void Bubble(QPainter& p, QColor fill, const QRectF& box);
void Book(QPainter& p, QColor cover);
void Handset(QPainter& p, QColor colour);
void Calendar(QPainter& p);
void Notepad(QPainter& p);
void Envelope(QPainter& p, QColor fill);
void Person(QPainter& p, QColor colour);
void Penguin(QPainter& p);
void Folder(QPainter& p, QColor fill);
void Disk(QPainter& p);
void Note(QPainter& p, QColor colour);

}  // namespace velkor::glyph
