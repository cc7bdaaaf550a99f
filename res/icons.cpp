#include "res/icons.h"

#include <functional>

#include <QImage>
#include <QPainter>

#include "res/command_ids.h"
#include "res/glyphs.h"

namespace velkor {
namespace {

using Painting = std::function<void(QPainter&)>;

// Glyphs are drawn in a 48-unit square and scaled, so one drawing serves the
// 48-pixel toolbar and the 16-pixel tree.
QPixmap Paint(int size, const Painting& paint) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 48.0, size / 48.0);
  paint(painter);
  painter.end();
  return QPixmap::fromImage(image);
}

Painting ToolbarPainting(int commandId) {
  using namespace glyph;
  switch (commandId) {
    case ID_NEW_TASK:
      return [](QPainter& p) {
        Document(p, Qt::white);
        Plus(p, QColor(40, 160, 60));
      };
    case ID_CLOSE_TASK:
      return [](QPainter& p) {
        Document(p, Qt::white);
        Cross(p, QColor(200, 40, 40));
      };
    case ID_TASK_SCAN:
      return [](QPainter& p) {
        Phone(p, QColor(70, 80, 110));
        SmallMagnifier(p, QPointF(8, 8), 0.8, QColor(200, 235, 255, 180));
      };
    case ID_SCAN_PICTURE:
      return [](QPainter& p) {
        Picture(p);
        SmallMagnifier(p, QPointF(14, 14), 0.7, QColor(255, 255, 255, 150));
      };
    case ID_SCAN_VIDEO:
      return [](QPainter& p) {
        Film(p);
        SmallMagnifier(p, QPointF(14, 14), 0.7, QColor(255, 255, 255, 150));
      };
    case ID_HISTORY:
      return [](QPainter& p) { Clipboard(p); };
    case ID_SEARCH:
      return [](QPainter& p) { Magnifier(p, QColor(190, 225, 250)); };
    case ID_SETTINGS:
      return [](QPainter& p) { Gear(p, QColor(140, 150, 170)); };
    case ID_SAVE:
      return [](QPainter& p) { Floppy(p, QColor(50, 90, 170)); };
    case ID_STOP:
      return [](QPainter& p) { StopSign(p); };
    case ID_EXIT:
      return [](QPainter& p) { ExitDoor(p); };
    default:
      return {};
  }
}

// Index order follows the category tree: 0 short messages, 1 phone book,
// 2 calls (also all contacts), 3 calendar, 4 notes, 5 mail, 6 WeChat, 7 MSN,
// 8 QQ, 9 file system, 10 the image itself; 11 to 15 are spares for files.
Painting TreePainting(int index) {
  using namespace glyph;
  switch (index) {
    case 0:
      return [](QPainter& p) { Bubble(p, QColor(90, 170, 240), QRectF(4, 6, 40, 28)); };
    case 1:
      return [](QPainter& p) { Book(p, QColor(200, 90, 40)); };
    case 2:
      return [](QPainter& p) { Handset(p, QColor(40, 160, 70)); };
    case 3:
      return [](QPainter& p) { Calendar(p); };
    case 4:
      return [](QPainter& p) { Notepad(p); };
    case 5:
      return [](QPainter& p) { Envelope(p, QColor(250, 235, 190)); };
    case 6:
      return [](QPainter& p) {
        Bubble(p, QColor(80, 200, 80), QRectF(2, 4, 30, 22));
        Bubble(p, QColor(230, 240, 230), QRectF(16, 18, 30, 20));
      };
    case 7:
      return [](QPainter& p) { Person(p, QColor(60, 120, 220)); };
    case 8:
      return [](QPainter& p) { Penguin(p); };
    case 9:
      return [](QPainter& p) { Folder(p, QColor(250, 205, 80)); };
    case 10:
      return [](QPainter& p) { Disk(p); };
    case 11:
      return [](QPainter& p) { Picture(p); };
    case 12:
      return [](QPainter& p) { Film(p); };
    case 13:
      return [](QPainter& p) { Note(p, QColor(150, 60, 180)); };
    case 14:
      return [](QPainter& p) { Document(p, Qt::white); };
    case 15:
      return [](QPainter& p) { Folder(p, QColor(190, 190, 200)); };
    default:
      return {};
  }
}

}  // namespace

QIcon ToolbarIcon(int commandId) {
  const Painting painting = ToolbarPainting(commandId);
  if (!painting) return {};
  QIcon icon(Paint(kToolbarImageSize, painting));
  // The hot image of a button: the same picture, lightened.
  QImage hot = Paint(kToolbarImageSize, painting).toImage();
  QPainter lighten(&hot);
  lighten.setCompositionMode(QPainter::CompositionMode_SourceAtop);
  lighten.fillRect(hot.rect(), QColor(255, 255, 255, 60));
  lighten.end();
  icon.addPixmap(QPixmap::fromImage(hot), QIcon::Active);
  return icon;
}

QPixmap TreeImage(int index) {
  const Painting painting = TreePainting(index);
  if (!painting) return {};
  return Paint(kTreeImageSize, painting);
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) {
    icon.addPixmap(Paint(size, [](QPainter& p) {
      glyph::Phone(p, QColor(40, 70, 140));
      glyph::SmallMagnifier(p, QPointF(10, 10), 0.75, QColor(220, 240, 255, 200));
    }));
  }
  return icon;
}

QIcon OutputPaneIcon() {
  return QIcon(Paint(16, [](QPainter& p) { glyph::Clipboard(p); }));
}

}  // namespace velkor
