// The main window: menu, toolbar, status bar, the left and right panes in a
// splitter, and the Output pane docked at the bottom. Every command of the
// menu and the toolbar arrives at OnCommand.
#pragma once

#include <QMainWindow>

class QSplitter;

namespace velkor {

class COutputWnd;
class CLeftDlg;
class CRightDlg;
class CVelkorLeftView;
class CVelkorLeftTreeCtrl;
class CVelkorRightView;
class TaskCommands;

class CMainFrame final : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kLeftPaneWidth = 400;
  static constexpr int kRightPaneWidth = 500;

  CMainFrame();

  void OnCommand(int id);
  // Where task commands go; the left pane's controller unless replaced.
  void SetCommandTarget(TaskCommands* target);
  void ShowAboutBox();

  CVelkorLeftView* LeftView() const { return leftView_; }
  CVelkorRightView* RightView() const { return rightView_; }
  CVelkorLeftTreeCtrl* TaskController() const;
  CLeftDlg* LogView() const;
  CRightDlg* DetailView() const;
  COutputWnd* OutputPane() const { return output_; }
  QSplitter* MainSplitter() const { return splitter_; }

  // No menu of panes and bars: none of them may be hidden by the user.
  QMenu* createPopupMenu() override { return nullptr; }

 private:
  void BuildMenu();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildPanes();

  QSplitter* splitter_ = nullptr;
  CVelkorLeftView* leftView_ = nullptr;
  CVelkorRightView* rightView_ = nullptr;
  COutputWnd* output_ = nullptr;
  TaskCommands* commands_ = nullptr;
};

}  // namespace velkor
