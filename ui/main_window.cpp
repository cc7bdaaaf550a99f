#include "ui/main_window.h"

#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "res/command_ids.h"
#include "res/icons.h"
#include "res/menu_resources.h"
#include "ui/about_dialog.h"
#include "ui/carving_tools.h"
#include "ui/category_pane.h"
#include "ui/category_tree.h"
#include "ui/output_dock.h"
#include "ui/prompts.h"
#include "ui/result_pane.h"
#include "ui/search_hit_dock.h"
#include "ui/task_commands.h"

namespace velkor {
namespace {

constexpr int kInitialWidth = 1200;
constexpr int kInitialHeight = 800;
constexpr int kOutputHeight = 200;

// A status pane keeps the width it was given at creation, yet lets the window
// shrink below it.
class StatusPane final : public QLabel {
 public:
  StatusPane(const QString& text, int width, QWidget* parent)
      : QLabel(text, parent), width_(width) {
    setTextFormat(Qt::PlainText);
    setStyleSheet(QStringLiteral("color: rgb(0, 0, 255);"));
  }
  QSize sizeHint() const override { return {width_, QLabel::sizeHint().height()}; }
  QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

 private:
  int width_;
};

constexpr std::u16string_view kSettingsMenuTitle = u"设置";
constexpr std::u16string_view kOperationsMenuTitle = u"操作";
const QString kFullTextKey = QStringLiteral("view/fullUnicodeTexts");
constexpr std::u16string_view kExportText = u"导出";

// The text of a command in the main menu, which its toolbar button shows as
// its tooltip.
QString CommandText(int id) {
  if (id == ID_EXPORT) return Text(kExportText);
  for (const MenuDef& menu : MainMenuDefs()) {
    for (const MenuItemDef& item : menu.items) {
      if (item.id == id) return Text(item.text);
    }
  }
  return {};
}

QKeySequence CommandShortcut(int id) {
  switch (id) {
    case ID_NEW_TASK:
      return QKeySequence(Qt::CTRL | Qt::Key_N);
    case ID_SAVE:
      return QKeySequence(Qt::CTRL | Qt::Key_S);
    case ID_EXPORT:
      return QKeySequence(Qt::CTRL | Qt::Key_E);
    case ID_SEARCH:
      return QKeySequence(Qt::CTRL | Qt::Key_F);
    case ID_STOP:
      return QKeySequence(Qt::Key_Escape);
    default:
      return {};
  }
}

}  // namespace

MainWindow::MainWindow() {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(Text(kFrameCaption));
  setWindowIcon(AppIcon());
  resize(kInitialWidth, kInitialHeight);
  BuildMenu();
  BuildToolBar();
  BuildStatusBar();
  BuildPanes();
}

void MainWindow::BuildMenu() {
  for (const MenuDef& menuDef : MainMenuDefs()) {
    QMenu* menu = menuBar()->addMenu(Text(menuDef.title));
    QAction* save = nullptr;
    for (const MenuItemDef& item : menuDef.items) {
      if (item.id == 0) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(Text(item.text));
      action->setData(item.id);
      action->setIcon(ToolbarIcon(item.id));
      action->setIconVisibleInMenu(true);
      // Only the menu carries the shortcuts: one key, one action.
      action->setShortcut(CommandShortcut(item.id));
      const int id = item.id;
      connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
      if (id == ID_SAVE) save = action;
    }
    if (save) AddExportCommand(menu, save);
    if (menuDef.title == kSettingsMenuTitle) AddFullTextSetting(menu);
    if (menuDef.title == kOperationsMenuTitle) AddJumpToOffset(menu);
  }
}

void MainWindow::AddExportCommand(QMenu* menu, QAction* save) {
  const QList<QAction*> actions = menu->actions();
  const qsizetype at = actions.indexOf(save) + 1;
  auto* action = new QAction(Text(kExportText), menu);
  action->setObjectName(QStringLiteral("exportAction"));
  action->setData(int{ID_EXPORT});
  action->setShortcut(CommandShortcut(ID_EXPORT));
  menu->insertAction(at < actions.size() ? actions[at] : nullptr, action);
  connect(action, &QAction::triggered, this, [this] { RunCommand(ID_EXPORT); });
}

QAction* MainWindow::AddToolbarCommand(QToolBar* bar, const QIcon& icon, int id) {
  // Image only: the tooltip names the command.
  QAction* action = bar->addAction(icon, QString());
  action->setData(id);
  action->setToolTip(CommandText(id));
  connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
  return action;
}

void MainWindow::AddJumpToOffset(QMenu* menu) {
  menu->addSeparator();
  QAction* action = menu->addAction(QStringLiteral("跳转到偏移"));
  action->setObjectName(QStringLiteral("jumpToOffsetAction"));
  connect(action, &QAction::triggered, this, [this] {
    if (carving_) carving_->AskOffset(this, PlatformPrompts());
  });
}

void MainWindow::AddFullTextSetting(QMenu* menu) {
  menu->addSeparator();
  fullTextAction_ = menu->addAction(QStringLiteral("显示完整Unicode文本"));
  fullTextAction_->setObjectName(QStringLiteral("fullTextAction"));
  fullTextAction_->setCheckable(true);
  fullTextAction_->setChecked(QSettings().value(kFullTextKey, false).toBool());
  connect(fullTextAction_, &QAction::toggled, this, [this](bool on) {
    QSettings().setValue(kFullTextKey, on);
    if (results_) results_->ShowFullTexts(on);
  });
}

void MainWindow::BuildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("toolBar"));
  bar->setObjectName(QStringLiteral("toolBar"));
  bar->setIconSize(QSize(kToolbarImageSize, kToolbarImageSize));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->setMovable(false);
  bar->setFloatable(false);
  for (const int id : ToolbarCommandIds()) {
    AddToolbarCommand(bar, ToolbarIcon(id), id);
    if (id == ID_SAVE) {
      AddToolbarCommand(bar, style()->standardIcon(QStyle::SP_FileDialogDetailedView), ID_EXPORT)
          ->setObjectName(QStringLiteral("exportButton"));
    }
  }
}

void MainWindow::BuildStatusBar() {
  // Both panes take half of the window's width now and keep it.
  const int half = width() / 2;
  auto* product = new StatusPane(Text(kStatusProduct), half, statusBar());
  product->setObjectName(QStringLiteral("productPane"));
  auto* contact = new StatusPane(Text(kStatusContact), half, statusBar());
  contact->setObjectName(QStringLiteral("contactPane"));
  statusBar()->addWidget(product);
  statusBar()->addWidget(contact);
}

void MainWindow::BuildPanes() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("mainSplitter"));
  categories_ = new CategoryPane(kCategoryPaneWidth, splitter_);
  categories_->setObjectName(QStringLiteral("categoryPane"));
  results_ = new ResultPane(kResultPaneWidth, splitter_);
  results_->setObjectName(QStringLiteral("resultPane"));
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kCategoryPaneWidth, width() - kCategoryPaneWidth});
  setCentralWidget(splitter_);

  output_ = new OutputDock(this);
  addDockWidget(Qt::BottomDockWidgetArea, output_);
  resizeDocks({output_}, {kOutputHeight}, Qt::Vertical);

  // Beside the output pane, shown when a search has hits to list.
  searchHits_ = new SearchHitDock(this);
  splitDockWidget(output_, searchHits_, Qt::Horizontal);
  searchHits_->hide();

  connect(&Categories(), &CategoryTree::tabRequested, results_, &ResultPane::SetActiveTab);
  connect(&Categories(), &CategoryTree::imageShown, this, &MainWindow::ShowImageInTitle);
  results_->SetDetailPane(&output_->Detail());
  carving_ = new CarvingTools(*results_, output_->Detail(), output_->Log(), this);
  if (fullTextAction_) results_->ShowFullTexts(fullTextAction_->isChecked());
}

void MainWindow::SetCommandTarget(TaskCommands* target) {
  commands_ = target;
  results_->SetCommandTarget(target);
}

void MainWindow::RunCommand(int id) {
  if (id == ID_EXIT) {
    // No question: a running worker ends with the process.
    close();
    return;
  }
  if (id == ID_APP_ABOUT) {
    ShowAboutBox();
    return;
  }
  if (!commands_) return;
  switch (id) {
    case ID_NEW_TASK:
      commands_->NewTask();
      break;
    case ID_CLOSE_TASK:
      commands_->CloseTask();
      break;
    case ID_SCAN_PICTURE:
      commands_->ScanPictures();
      break;
    case ID_SCAN_VIDEO:
      commands_->ScanVideos();
      break;
    case ID_SEARCH:
      commands_->Search();
      break;
    case ID_SAVE:
      commands_->Save();
      break;
    case ID_EXPORT:
      commands_->Export();
      break;
    case ID_STOP:
      commands_->Stop();
      break;
    case ID_SETTINGS:
    case ID_HISTORY:
    case ID_TASK_SCAN:
    default:
      break;
  }
}

void MainWindow::ShowImageInTitle(const QString& imagePath) {
  const QString caption = Text(kFrameCaption);
  setWindowTitle(imagePath.isEmpty() ? caption : caption + QStringLiteral(" - ") + imagePath);
}

void MainWindow::ShowAboutBox() {
  AboutDialog about(this);
  about.exec();
}

CategoryTree& MainWindow::Categories() const {
  return categories_->Tree();
}

LogPane& MainWindow::Log() const {
  return output_->Log();
}

DetailPane& MainWindow::Detail() const {
  return output_->Detail();
}

}  // namespace velkor
