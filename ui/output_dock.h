// The docked "Output" pane at the bottom of the main window: the activity log
// and the detail view side by side. It can be resized and auto-hidden, never
// floated or closed.
#pragma once

#include <QDockWidget>
#include <QWidget>

class QSplitter;
class QToolButton;

namespace velkor {

class DetailPane;
class LogPane;

// The pane's inner frame: one splitter, log on the left, detail on the right.
class OutputPanes final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLogColumnWidth = 500;

  explicit OutputPanes(QWidget* parent = nullptr);
  QSplitter& Splitter() { return *splitter_; }
  LogPane& Log() { return *logView_; }
  DetailPane& Detail() { return *detailView_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QSplitter* splitter_ = nullptr;
  LogPane* logView_ = nullptr;
  DetailPane* detailView_ = nullptr;
};

class OutputDock final : public QDockWidget {
  Q_OBJECT

 public:
  explicit OutputDock(QWidget* parent = nullptr);

  LogPane& Log() { return frame_->Log(); }
  DetailPane& Detail() { return frame_->Detail(); }
  OutputPanes& Panes() { return *frame_; }

  // While auto-hidden only the title bar stays; the contents slide out while
  // the mouse is over the pane.
  void SetAutoHide(bool autoHide);
  bool IsAutoHide() const { return autoHide_; }
  bool ContentsShown() const;

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QWidget* BuildTitleBar();

  OutputPanes* frame_ = nullptr;
  QToolButton* pin_ = nullptr;
  bool autoHide_ = false;
};

}  // namespace velkor
