#include "ui/link_label.h"

#include <QDesktopServices>
#include <QMouseEvent>

namespace velkor {
namespace {

const QColor kLinkColour(0, 0, 255);
const QColor kHoverColour(255, 0, 0);

}  // namespace

LinkLabel::LinkLabel(const QString& text, const QString& target, QWidget* parent)
    : QLabel(text, parent),
      target_(QUrl::fromUserInput(target)),
      opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
  // A recovered or typed text never turns into markup.
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  setCursor(Qt::PointingHandCursor);
  SetColour(kLinkColour);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  SetColour(kHoverColour);
}

void LinkLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  SetColour(kLinkColour);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mouseReleaseEvent(event);
    return;
  }
  if (opener_) opener_(target_);
}

void LinkLabel::SetColour(QColor colour) {
  QPalette shown = palette();
  shown.setColor(QPalette::WindowText, colour);
  setPalette(shown);
}

}  // namespace velkor
