#include "ui/output_dock.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QResizeEvent>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>

#include "res/icons.h"
#include "res/menu_resources.h"
#include "ui/detail_pane.h"
#include "ui/log_pane.h"

namespace velkor {

OutputPanes::OutputPanes(QWidget* parent) : QWidget(parent) {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("outputSplitter"));
  splitter_->setChildrenCollapsible(true);
  logView_ = new LogPane(splitter_);
  logView_->setObjectName(QStringLiteral("logView"));
  detailView_ = new DetailPane(splitter_);
  detailView_->setObjectName(QStringLiteral("detailView"));
  logView_->setMinimumSize(0, 0);
  detailView_->setMinimumSize(0, 0);
}

void OutputPanes::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int width = event->size().width();
  splitter_->setGeometry(0, 0, width, event->size().height());
  // The log column comes back to its width whenever the pane changes size.
  splitter_->setSizes(
      {kLogColumnWidth, std::max(0, width - kLogColumnWidth - splitter_->handleWidth())});
}

OutputDock::OutputDock(QWidget* parent) : QDockWidget(Text(kOutputTitle), parent) {
  setObjectName(QStringLiteral("outputDock"));
  // Resizing and auto-hiding only: the pane must always stay with the window.
  setFeatures(QDockWidget::DockWidgetMovable);
  setAllowedAreas(Qt::AllDockWidgetAreas);
  setWindowIcon(OutputPaneIcon());
  frame_ = new OutputPanes(this);
  setWidget(frame_);
  setTitleBarWidget(BuildTitleBar());
}

QWidget* OutputDock::BuildTitleBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("outputTitleBar"));
  auto* icon = new QLabel(bar);
  icon->setPixmap(OutputPaneIcon().pixmap(16, 16));
  auto* title = new QLabel(Text(kOutputTitle), bar);
  title->setTextFormat(Qt::PlainText);
  pin_ = new QToolButton(bar);
  pin_->setObjectName(QStringLiteral("autoHidePin"));
  pin_->setCheckable(true);
  pin_->setAutoRaise(true);
  pin_->setToolTip(QStringLiteral("自动隐藏"));
  pin_->setIcon(style()->standardIcon(QStyle::SP_TitleBarShadeButton));
  connect(pin_, &QToolButton::toggled, this, &OutputDock::SetAutoHide);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(4, 1, 2, 1);
  layout->addWidget(icon);
  layout->addWidget(title);
  layout->addStretch(1);
  layout->addWidget(pin_);
  return bar;
}

void OutputDock::SetAutoHide(bool autoHide) {
  if (autoHide_ == autoHide) return;
  autoHide_ = autoHide;
  pin_->setChecked(autoHide);
  pin_->setIcon(style()->standardIcon(autoHide ? QStyle::SP_TitleBarUnshadeButton
                                               : QStyle::SP_TitleBarShadeButton));
  frame_->setVisible(!autoHide);
  setMaximumHeight(autoHide ? titleBarWidget()->sizeHint().height() : QWIDGETSIZE_MAX);
}

bool OutputDock::ContentsShown() const {
  return !frame_->isHidden();
}

void OutputDock::enterEvent(QEnterEvent* event) {
  QDockWidget::enterEvent(event);
  if (!autoHide_) return;
  setMaximumHeight(QWIDGETSIZE_MAX);
  frame_->show();
  if (auto* window = qobject_cast<QMainWindow*>(parentWidget())) {
    window->resizeDocks({this}, {std::max(200, window->height() / 4)}, Qt::Vertical);
  }
}

void OutputDock::leaveEvent(QEvent* event) {
  QDockWidget::leaveEvent(event);
  if (!autoHide_) return;
  frame_->hide();
  setMaximumHeight(titleBarWidget()->sizeHint().height());
}

}  // namespace velkor
