#include "ui/my_static_link.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace velkor {

CMyStaticLink::CMyStaticLink() : opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {}

CMyStaticLink::~CMyStaticLink() {
  DetachLink();
}

bool CMyStaticLink::AttachLink(QLabel* control) {
  if (!control || control_) return false;
  control_ = control;
  control->installEventFilter(this);
  control->setCursor(Qt::PointingHandCursor);
  control->setMouseTracking(true);
  control->update();
  return true;
}

QLabel* CMyStaticLink::DetachLink() {
  QLabel* control = control_.data();
  if (!control) return nullptr;
  control->removeEventFilter(this);
  control->unsetCursor();
  control->update();
  control_ = nullptr;
  hovering_ = false;
  displayText_.clear();
  target_.clear();
  return control;
}

bool CMyStaticLink::SetLink(const QString& displayText, const QString& target) {
  if (displayText.size() > kMaxDisplayText || target.size() > kMaxTarget) return false;
  displayText_ = displayText;
  target_ = target;
  if (control_) control_->update();
  return true;
}

QColor CMyStaticLink::TextColour() const {
  return hovering_ ? QColor(255, 0, 0) : QColor(0, 0, 255);
}

QString CMyStaticLink::TextToDraw() const {
  if (!displayText_.isEmpty() || !control_) return displayText_;
  return control_->text();
}

QString CMyStaticLink::TargetToOpen() const {
  if (!target_.isEmpty() || !control_) return target_;
  return control_->text();
}

bool CMyStaticLink::eventFilter(QObject* watched, QEvent* event) {
  if (watched != control_.data()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint:
      Paint();
      return true;
    case QEvent::Enter:
      SetHovering(true);
      return false;
    case QEvent::Leave:
      SetHovering(false);
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    case QEvent::MouseButtonRelease: {
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
      const QString target = TargetToOpen();
      if (!target.isEmpty() && opener_) opener_(QUrl::fromUserInput(target));
      return true;
    }
    default:
      return false;
  }
}

void CMyStaticLink::Paint() {
  QLabel* control = control_.data();
  QPainter painter(control);
  QFont font = control->font();
  font.setUnderline(true);
  painter.setFont(font);
  painter.setPen(TextColour());
  painter.drawText(control->contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   TextToDraw());
}

void CMyStaticLink::SetHovering(bool hovering) {
  if (hovering_ == hovering) return;
  hovering_ = hovering;
  control_->update();
}

}  // namespace velkor
