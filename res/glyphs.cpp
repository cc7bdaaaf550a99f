#include "res/glyphs.h"

#include <array>
#include <cmath>
#include <numbers>

#include <QPainterPath>
#include <QPolygonF>

namespace velkor::glyph {
namespace {

const QColor kOutline(40, 40, 60);

QPen Outline(double width = 2.0) {
  return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

void Document(QPainter& p, QColor fill) {
  QPainterPath page;
  page.moveTo(10, 4);
  page.lineTo(30, 4);
  page.lineTo(40, 14);
  page.lineTo(40, 44);
  page.lineTo(10, 44);
  page.closeSubpath();
  p.setPen(Outline());
  p.setBrush(fill);
  p.drawPath(page);
  p.setBrush(fill.darker(120));
  p.drawPolygon(QPolygonF({QPointF(30, 4), QPointF(30, 14), QPointF(40, 14)}));
  p.setPen(QPen(QColor(150, 160, 180), 2));
  for (int y = 20; y <= 36; y += 6) p.drawLine(15, y, 34, y);
}

namespace {

// A round badge in the lower right corner with a white mark on it.
void Badge(QPainter& p, QColor colour, QLineF first, QLineF second) {
  p.setPen(Outline(1.5));
  p.setBrush(colour);
  p.drawEllipse(QRectF(26, 26, 20, 20));
  p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(first);
  p.drawLine(second);
}

}  // namespace

void Plus(QPainter& p, QColor colour) {
  Badge(p, colour, QLineF(36, 30, 36, 42), QLineF(30, 36, 42, 36));
}

void Cross(QPainter& p, QColor colour) {
  Badge(p, colour, QLineF(31, 31, 41, 41), QLineF(41, 31, 31, 41));
}

void SmallMagnifier(QPainter& p, QPointF at, double scale, QColor lens) {
  p.save();
  p.translate(at);
  p.scale(scale, scale);
  Magnifier(p, lens);
  p.restore();
}

void Magnifier(QPainter& p, QColor lens) {
  p.setPen(QPen(QColor(90, 60, 30), 6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(34, 34), QPointF(45, 45));
  p.setPen(QPen(kOutline, 3));
  p.setBrush(lens);
  p.drawEllipse(QRectF(14, 14, 24, 24));
  p.setPen(QPen(QColor(255, 255, 255, 200), 2, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(18, 18, 16, 16), 100 * 16, 70 * 16);
}

void Phone(QPainter& p, QColor body) {
  p.setPen(Outline());
  p.setBrush(body);
  p.drawRoundedRect(QRectF(12, 2, 24, 44), 4, 4);
  p.setBrush(QColor(170, 220, 250));
  p.drawRect(QRectF(15, 7, 18, 28));
  p.setBrush(kOutline);
  p.drawEllipse(QRectF(22, 38, 4, 4));
}

void Picture(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(QColor(180, 225, 255));
  p.drawRect(QRectF(4, 8, 40, 32));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 200, 40));
  p.drawEllipse(QRectF(30, 12, 9, 9));
  p.setBrush(QColor(60, 160, 70));
  p.drawPolygon(QPolygonF({QPointF(5, 39), QPointF(18, 20), QPointF(30, 39)}));
  p.setBrush(QColor(40, 120, 60));
  p.drawPolygon(QPolygonF({QPointF(20, 39), QPointF(32, 26), QPointF(43, 39)}));
}

void Film(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(QColor(50, 50, 60));
  p.drawRect(QRectF(6, 4, 36, 40));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  for (int y = 7; y < 42; y += 8) {
    p.drawRect(QRectF(8, y, 4, 4));
    p.drawRect(QRectF(36, y, 4, 4));
  }
  p.setBrush(QColor(120, 190, 240));
  p.drawRect(QRectF(15, 8, 18, 14));
  p.drawRect(QRectF(15, 26, 18, 14));
}

void Clipboard(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(QColor(200, 150, 90));
  p.drawRoundedRect(QRectF(8, 6, 32, 40), 3, 3);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(12, 12, 24, 30));
  p.setBrush(QColor(160, 160, 170));
  p.drawRoundedRect(QRectF(17, 2, 14, 8), 2, 2);
  p.setPen(QPen(QColor(60, 90, 160), 2));
  for (int y = 18; y <= 36; y += 6) p.drawLine(16, y, 32, y);
}

void Gear(QPainter& p, QColor colour) {
  QPainterPath gear;
  const QPointF centre(24, 24);
  constexpr int kTeeth = 8;
  for (int i = 0; i < kTeeth * 4; ++i) {
    const double angle = 2 * std::numbers::pi * i / (kTeeth * 4);
    const double radius = (i % 4 < 2) ? 20.0 : 15.0;
    const QPointF point = centre + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
    if (i == 0) {
      gear.moveTo(point);
    } else {
      gear.lineTo(point);
    }
  }
  gear.closeSubpath();
  gear.addEllipse(centre, 6, 6);
  p.setPen(Outline());
  p.setBrush(colour);
  p.drawPath(gear);
}

void Floppy(QPainter& p, QColor colour) {
  p.setPen(Outline());
  p.setBrush(colour);
  p.drawRoundedRect(QRectF(5, 5, 38, 38), 3, 3);
  p.setBrush(QColor(220, 220, 230));
  p.drawRect(QRectF(13, 5, 22, 13));
  p.setBrush(colour.darker(150));
  p.drawRect(QRectF(27, 7, 5, 9));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(11, 25, 26, 18));
}

void StopSign(QPainter& p) {
  QPolygonF octagon;
  for (int i = 0; i < 8; ++i) {
    const double angle = std::numbers::pi / 8 + i * std::numbers::pi / 4;
    octagon << QPointF(24 + 21 * std::cos(angle), 24 + 21 * std::sin(angle));
  }
  p.setPen(QPen(Qt::white, 3));
  p.setBrush(QColor(210, 30, 30));
  p.drawPolygon(octagon);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(14, 20, 20, 8));
}

void ExitDoor(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(QColor(150, 100, 60));
  p.drawRect(QRectF(6, 4, 22, 40));
  p.setBrush(QColor(250, 210, 60));
  p.drawEllipse(QRectF(22, 23, 3, 3));
  p.setPen(QPen(QColor(30, 140, 60), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(QPointF(24, 24), QPointF(43, 24));
  p.drawPolyline(QPolygonF({QPointF(36, 16), QPointF(44, 24), QPointF(36, 32)}));
}

void Bubble(QPainter& p, QColor fill, const QRectF& box) {
  QPainterPath bubble;
  bubble.addRoundedRect(box, box.height() / 3, box.height() / 3);
  QPainterPath tail;
  tail.moveTo(box.left() + box.width() * 0.25, box.bottom() - 2);
  tail.lineTo(box.left() + box.width() * 0.15, box.bottom() + box.height() * 0.3);
  tail.lineTo(box.left() + box.width() * 0.45, box.bottom() - 2);
  tail.closeSubpath();
  p.setPen(Outline(2.5));
  p.setBrush(fill);
  p.drawPath(bubble.united(tail));
}

void Book(QPainter& p, QColor cover) {
  p.setPen(Outline(2.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(12, 6, 30, 38));
  p.setBrush(cover);
  p.drawRect(QRectF(6, 4, 30, 38));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(15, 12, 12, 12));
  p.drawRect(QRectF(13, 27, 16, 8));
}

void Handset(QPainter& p, QColor colour) {
  QPainterPath handset;
  handset.moveTo(8, 10);
  handset.quadTo(8, 4, 15, 4);
  handset.lineTo(18, 14);
  handset.lineTo(14, 18);
  handset.quadTo(20, 30, 30, 34);
  handset.lineTo(34, 30);
  handset.lineTo(44, 33);
  handset.quadTo(44, 44, 38, 44);
  handset.quadTo(10, 40, 8, 10);
  p.setPen(Outline(2.5));
  p.setBrush(colour);
  p.drawPath(handset);
}

void Calendar(QPainter& p) {
  p.setPen(Outline(2.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(5, 8, 38, 36));
  p.setBrush(QColor(210, 50, 50));
  p.drawRect(QRectF(5, 8, 38, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(80, 80, 100));
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 4; ++col) p.drawRect(QRectF(9 + col * 9, 22 + row * 7, 5, 4));
  }
}

void Notepad(QPainter& p) {
  p.setPen(Outline(2.5));
  p.setBrush(QColor(255, 245, 160));
  p.drawRect(QRectF(8, 6, 32, 38));
  p.setPen(QPen(QColor(150, 130, 60), 2.5));
  for (int y = 16; y <= 36; y += 7) p.drawLine(12, y, 36, y);
}

void Envelope(QPainter& p, QColor fill) {
  p.setPen(Outline(2.5));
  p.setBrush(fill);
  p.drawRect(QRectF(4, 10, 40, 28));
  p.drawPolyline(QPolygonF({QPointF(4, 10), QPointF(24, 27), QPointF(44, 10)}));
}

void Person(QPainter& p, QColor colour) {
  p.setPen(Outline(2.5));
  p.setBrush(colour);
  p.drawEllipse(QRectF(15, 4, 18, 18));
  p.drawChord(QRectF(6, 24, 36, 40), 0, 180 * 16);
}

void Penguin(QPainter& p) {
  p.setPen(Outline(2.5));
  p.setBrush(QColor(30, 30, 40));
  p.drawEllipse(QRectF(10, 4, 28, 40));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(16, 18, 16, 24));
  p.setBrush(QColor(250, 180, 30));
  p.drawEllipse(QRectF(20, 14, 8, 5));
  p.setBrush(QColor(220, 40, 40));
  p.drawRect(QRectF(12, 26, 24, 4));
}

void Folder(QPainter& p, QColor fill) {
  QPainterPath folder;
  folder.moveTo(4, 10);
  folder.lineTo(18, 10);
  folder.lineTo(22, 15);
  folder.lineTo(44, 15);
  folder.lineTo(44, 40);
  folder.lineTo(4, 40);
  folder.closeSubpath();
  p.setPen(Outline(2.5));
  p.setBrush(fill);
  p.drawPath(folder);
}

void Disk(QPainter& p) {
  p.setPen(Outline(2.5));
  p.setBrush(QColor(170, 175, 190));
  p.drawRoundedRect(QRectF(4, 12, 40, 24), 4, 4);
  p.setBrush(QColor(60, 200, 90));
  p.drawEllipse(QRectF(34, 27, 5, 5));
  p.setPen(QPen(kOutline, 2));
  p.drawLine(10, 30, 26, 30);
}

void Note(QPainter& p, QColor colour) {
  p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(30, 8), QPointF(30, 34));
  p.drawLine(QPointF(30, 8), QPointF(40, 14));
  p.setPen(Outline(2));
  p.setBrush(colour);
  p.drawEllipse(QRectF(18, 30, 13, 10));
}

}  // namespace velkor::glyph
