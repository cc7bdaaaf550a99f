#include "ui/main_frame.h"

#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "engine/app_state.h"
#include "res/command_ids.h"
#include "res/icons.h"
#include "res/menu_resources.h"
#include "tasks/left_dlg.h"
#include "tasks/velkor_left_tree_ctrl.h"
#include "ui/about_dlg.h"
#include "ui/output_wnd.h"
#include "ui/right_dlg.h"
#include "ui/velkor_left_view.h"
#include "ui/velkor_right_view.h"

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

}  // namespace

CMainFrame::CMainFrame() {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(Text(kFrameCaption));
  setWindowIcon(AppIcon());
  resize(kInitialWidth, kInitialHeight);
  BuildMenu();
  BuildToolBar();
  BuildStatusBar();
  BuildPanes();
}

void CMainFrame::BuildMenu() {
  for (const MenuDef& menuDef : MainMenuDefs()) {
    QMenu* menu = menuBar()->addMenu(Text(menuDef.title));
    for (const MenuItemDef& item : menuDef.items) {
      if (item.id == 0) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(Text(item.text));
      action->setData(item.id);
      action->setIcon(ToolbarIcon(item.id));
      action->setIconVisibleInMenu(true);
      const int id = item.id;
      connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
  }
}

void CMainFrame::BuildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("toolbar310"));
  bar->setObjectName(QStringLiteral("toolbar310"));
  bar->setIconSize(QSize(kToolbarImageSize, kToolbarImageSize));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->setMovable(false);
  bar->setFloatable(false);
  for (const int id : ToolbarCommandIds()) {
    // Image only: the button has no text, so no tooltip either.
    QAction* action = bar->addAction(ToolbarIcon(id), QString());
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  }
}

void CMainFrame::BuildStatusBar() {
  // Both panes take half of the window's width now and keep it.
  const int half = width() / 2;
  auto* product = new StatusPane(Text(kStatusProduct), half, statusBar());
  product->setObjectName(QStringLiteral("statusPane101"));
  auto* contact = new StatusPane(Text(kStatusContact), half, statusBar());
  contact->setObjectName(QStringLiteral("statusPane102"));
  statusBar()->addWidget(product);
  statusBar()->addWidget(contact);
}

void CMainFrame::BuildPanes() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("mainSplitter"));
  leftView_ = new CVelkorLeftView(kLeftPaneWidth, splitter_);
  leftView_->setObjectName(QStringLiteral("leftView"));
  rightView_ = new CVelkorRightView(kRightPaneWidth, splitter_);
  rightView_->setObjectName(QStringLiteral("rightView"));
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kLeftPaneWidth, width() - kLeftPaneWidth});
  setCentralWidget(splitter_);

  output_ = new COutputWnd(this);
  addDockWidget(Qt::BottomDockWidgetArea, output_);
  resizeDocks({output_}, {kOutputHeight}, Qt::Vertical);

  CVelkorLeftTreeCtrl& controller = leftView_->TreeCtrl();
  controller.SetMainFrame(this);
  rightView_->SetDetailView(&output_->DetailView());
  SetCommandTarget(&controller);
}

void CMainFrame::SetCommandTarget(TaskCommands* target) {
  commands_ = target;
  rightView_->SetCommandTarget(target);
}

void CMainFrame::OnCommand(int id) {
  switch (id) {
    case ID_NEW_TASK:
      commands_->OnNewTask();
      break;
    case ID_CLOSE_TASK:
      commands_->CloseTask();
      break;
    case ID_SCAN_PICTURE:
      commands_->OnScanPicture();
      break;
    case ID_SCAN_VIDEO:
      commands_->OnScanVideo();
      break;
    case ID_SEARCH:
      commands_->OnSearch();
      break;
    case ID_SAVE:
      commands_->OnSave();
      break;
    case ID_STOP:
      g_bStop.store(1);
      break;
    case ID_EXIT:
      // No question: a running worker ends with the process.
      close();
      break;
    case ID_APP_ABOUT:
      ShowAboutBox();
      break;
    case ID_SETTINGS:
    case ID_HISTORY:
    case ID_TASK_SCAN:
    default:
      break;
  }
}

void CMainFrame::ShowAboutBox() {
  CAboutDlg about(this);
  about.exec();
}

CVelkorLeftTreeCtrl* CMainFrame::TaskController() const {
  return &leftView_->TreeCtrl();
}

CLeftDlg* CMainFrame::LogView() const {
  return &output_->LogView();
}

CRightDlg* CMainFrame::DetailView() const {
  return &output_->DetailView();
}

}  // namespace velkor
