// The main window: menu, toolbar, status bar, the category and result panes in
// a splitter, and the Output dock at the bottom. Every command of the menu and
// the toolbar arrives at RunCommand and goes on to the task commands.
#pragma once

#include <QMainWindow>

class QAction;
class QMenu;
class QIcon;
class QSplitter;
class QToolBar;

namespace velkor {

class CarvingTools;
class CategoryPane;
class CategoryTree;
class DetailPane;
class LogPane;
class OutputDock;
class ResultPane;
class SearchHitDock;
class TaskCommands;

class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kCategoryPaneWidth = 400;
  static constexpr int kResultPaneWidth = 500;

  MainWindow();

  void RunCommand(int id);
  // Where the task commands of the menu, the toolbar and the list popups go;
  // nowhere until set.
  void SetCommandTarget(TaskCommands* target);
  void ShowAboutBox();

  CategoryTree& Categories() const;
  ResultPane& Results() const { return *results_; }
  LogPane& Log() const;
  DetailPane& Detail() const;
  OutputDock& Output() const { return *output_; }
  SearchHitDock& SearchHits() const { return *searchHits_; }
  CarvingTools& Carving() const { return *carving_; }
  QSplitter& MainSplitter() const { return *splitter_; }

  // No menu of panes and bars: none of them may be hidden by the user.
  QMenu* createPopupMenu() override { return nullptr; }

 private:
  void BuildMenu();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildPanes();
  // The checkable "显示完整Unicode文本" of the settings menu, remembered.
  void AddFullTextSetting(QMenu* menu);
  // "导出" after "保存" in the menu and on the toolbar.
  void AddExportCommand(QMenu* menu, QAction* save);
  QAction* AddToolbarCommand(QToolBar* bar, const QIcon& icon, int id);
  // The caption followed by the open image, if any.
  void ShowImageInTitle(const QString& imagePath);
  // "跳转到偏移" of the operations menu: the hex view at a typed offset.
  void AddJumpToOffset(QMenu* menu);

  QSplitter* splitter_ = nullptr;
  CategoryPane* categories_ = nullptr;
  ResultPane* results_ = nullptr;
  QAction* fullTextAction_ = nullptr;
  OutputDock* output_ = nullptr;
  SearchHitDock* searchHits_ = nullptr;
  CarvingTools* carving_ = nullptr;
  TaskCommands* commands_ = nullptr;
};

}  // namespace velkor
