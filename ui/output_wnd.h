// The docked "Output" pane at the bottom of the main window: the activity log
// and the detail view side by side. It can be resized and auto-hidden, never
// floated or closed.
#pragma once

#include <QDockWidget>
#include <QWidget>

class QSplitter;
class QToolButton;

namespace velkor {

class CLeftDlg;
class CRightDlg;

// The pane's inner frame: one splitter, log on the left, detail on the right.
class CMyFrameWnd final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLogColumnWidth = 500;

  explicit CMyFrameWnd(QWidget* parent = nullptr);
  QSplitter& Splitter() { return *splitter_; }
  CLeftDlg& LogView() { return *logView_; }
  CRightDlg& DetailView() { return *detailView_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QSplitter* splitter_ = nullptr;
  CLeftDlg* logView_ = nullptr;
  CRightDlg* detailView_ = nullptr;
};

class COutputWnd final : public QDockWidget {
  Q_OBJECT

 public:
  explicit COutputWnd(QWidget* parent = nullptr);

  CLeftDlg& LogView() { return frame_->LogView(); }
  CRightDlg& DetailView() { return frame_->DetailView(); }
  CMyFrameWnd& InnerFrame() { return *frame_; }

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

  CMyFrameWnd* frame_ = nullptr;
  QToolButton* pin_ = nullptr;
  bool autoHide_ = false;
};

}  // namespace velkor
