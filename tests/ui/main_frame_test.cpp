// The main window: menu and toolbar contents, where each command goes, the
// Output pane's restrictions, status bar and first layout.
#include <QAction>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "engine/app_state.h"
#include "tasks/left_dlg.h"
#include "tasks/velkor_left_tree_ctrl.h"
#include "tests/ui/ui_test_support.h"
#include "ui/main_frame.h"
#include "ui/output_wnd.h"
#include "ui/right_dlg.h"
#include "ui/velkor_right_view.h"

using velkor::CMainFrame;

namespace {

QToolBar* ToolBar(CMainFrame& frame) {
  return frame.findChild<QToolBar*>(QStringLiteral("toolbar310"));
}

QAction* FindAction(const QList<QAction*>& actions, int id) {
  for (QAction* action : actions) {
    if (!action->isSeparator() && action->data().toInt() == id) return action;
  }
  return nullptr;
}

QList<QAction*> AllMenuActions(CMainFrame& frame) {
  QList<QAction*> all;
  for (QAction* top : frame.menuBar()->actions()) all += top->menu()->actions();
  return all;
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { g_bStop.store(0); }

  void menuHoldsEveryItemInOrder_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("file") << 0 << "文件"
                          << QStringList{"新建任务:32786", "关闭任务:32787", "-", "退出:32785"};
    QTest::newRow("operation") << 1 << "操作"
                               << QStringList{"任务扫描:32795", "-", "图片扫描:32789",
                                              "影片扫描:32790", "-", "操作记录:32791",
                                              "搜索:32792",     "-", "保存:32793"};
    QTest::newRow("settings") << 2 << "设置" << QStringList{"设置:32776", "停止:32784"};
    QTest::newRow("help") << 3 << "帮助" << QStringList{"关于:57664"};
  }

  void menuHoldsEveryItemInOrder() {
    QFETCH(int, position);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    CMainFrame frame;
    const QList<QAction*> menus = frame.menuBar()->actions();
    QCOMPARE(menus.size(), 4);
    QCOMPARE(menus[position]->text(), title);
    QCOMPARE(ActionItems(menus[position]->menu()->actions()), items);
  }

  void toolbarHoldsElevenImageButtonsInOrder() {
    CMainFrame frame;
    QToolBar* bar = ToolBar(frame);
    QVERIFY(bar);
    QList<int> ids;
    for (const QAction* action : bar->actions()) {
      QVERIFY(!action->isSeparator());
      QVERIFY(action->text().isEmpty());
      QVERIFY(!action->icon().pixmap(48, 48).isNull());
      ids << action->data().toInt();
    }
    QCOMPARE(ids, (QList<int>{32786, 32787, 32795, 32789, 32790, 32791, 32792, 32776, 32793, 32784,
                              32785}));
    QCOMPARE(bar->iconSize(), QSize(48, 48));
    QVERIFY(!bar->isMovable());
  }

  void commandReachesItsHandler_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("handler");
    QTest::newRow("new task") << 32786 << "OnNewTask";
    QTest::newRow("close task") << 32787 << "CloseTask";
    QTest::newRow("pictures") << 32789 << "OnScanPicture";
    QTest::newRow("videos") << 32790 << "OnScanVideo";
    QTest::newRow("search") << 32792 << "OnSearch";
    QTest::newRow("save") << 32793 << "OnSave";
    QTest::newRow("settings") << 32776 << "";
    QTest::newRow("history") << 32791 << "";
    QTest::newRow("task scan") << 32795 << "";
    QTest::newRow("stop") << 32784 << "";
  }

  void commandReachesItsHandler() {
    QFETCH(int, id);
    QFETCH(QString, handler);
    const QStringList expected = handler.isEmpty() ? QStringList{} : QStringList{handler};

    CMainFrame frame;
    CommandRecorder recorder;
    frame.SetCommandTarget(&recorder);
    QAction* menuAction = FindAction(AllMenuActions(frame), id);
    QVERIFY(menuAction);
    menuAction->trigger();
    QCOMPARE(recorder.calls, expected);
    QCOMPARE(g_bStop.load(), int(id == 32784));  // only Stop sets the flag

    // Every one of these commands is also a toolbar button.
    recorder.calls.clear();
    g_bStop.store(0);
    QAction* toolAction = FindAction(ToolBar(frame)->actions(), id);
    QVERIFY(toolAction);
    toolAction->trigger();
    QCOMPARE(recorder.calls, expected);
    QCOMPARE(g_bStop.load(), int(id == 32784));
  }

  void exitClosesWithoutAQuestion() {
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    g_bBusy.store(1);  // a worker "running" changes nothing
    ModalSeen seen;
    CloseNextModal(&seen, 10);
    FindAction(AllMenuActions(frame), 32785)->trigger();
    g_bBusy.store(0);
    QVERIFY(!frame.isVisible());
    QTest::qWait(300);
    QVERIFY(!seen.shown);
  }

  void aboutShowsLinkLines() {
    CMainFrame frame;
    ModalSeen seen;
    CloseNextModal(&seen);
    FindAction(AllMenuActions(frame), 57664)->trigger();
    QVERIFY(seen.shown);
    QCOMPARE(seen.className, QStringLiteral("velkor::CAboutDlg"));
    QVERIFY(seen.labels.contains(QStringLiteral("www.ostrel.example")));
    QVERIFY(seen.labels.contains(QStringLiteral("support@ostrel.example")));
  }

  void outputPaneNeitherFloatsNorCloses() {
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    velkor::COutputWnd* pane = frame.OutputPane();
    QCOMPARE(pane->windowTitle(), QStringLiteral("Output"));
    QCOMPARE(frame.dockWidgetArea(pane), Qt::BottomDockWidgetArea);
    QVERIFY(!(pane->features() & QDockWidget::DockWidgetClosable));
    QVERIFY(!(pane->features() & QDockWidget::DockWidgetFloatable));
    // The frame offers no menu through which a pane could be hidden.
    QCOMPARE(frame.createPopupMenu(), nullptr);
    QTest::mouseDClick(pane->titleBarWidget(), Qt::LeftButton, {}, QPoint(40, 5));
    QVERIFY(!pane->isFloating());
    QVERIFY(pane->isVisible());
  }

  // Left pane 400 px; the Output pane holds the log (500 px, kept on resize)
  // left of the detail view.
  void firstLayout() {
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.MainSplitter()->sizes().constFirst(), 400);
    QCOMPARE(frame.MainSplitter()->widget(1), frame.RightView());
    QSplitter& inner = frame.OutputPane()->InnerFrame().Splitter();
    QCOMPARE(inner.count(), 2);
    QCOMPARE(inner.widget(0), frame.LogView());
    QCOMPARE(inner.widget(1), frame.DetailView());
    QTRY_COMPARE(inner.sizes().constFirst(), 500);
    inner.setSizes({200, inner.width() - 200 - inner.handleWidth()});
    QCOMPARE(inner.sizes().constFirst(), 200);
    frame.resize(frame.width() + 100, frame.height() + 50);
    QTRY_COMPARE(inner.sizes().constFirst(), 500);
  }

  void outputPaneAutoHidesAndComesBack() {
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    velkor::COutputWnd* pane = frame.OutputPane();
    QVERIFY(pane->ContentsShown());
    pane->SetAutoHide(true);
    QVERIFY(!pane->ContentsShown());
    QTRY_VERIFY(pane->height() < 60);
    pane->SetAutoHide(false);
    QVERIFY(pane->ContentsShown());
    QVERIFY(pane->isVisible());
  }

  void captionAndStatusPanesAreBlueHalvesOfTheFirstWidth() {
    CMainFrame frame;
    QCOMPARE(frame.windowTitle(), QStringLiteral("Ostrel软件科技"));
    const int half = frame.width() / 2;
    const QStringList names{"statusPane101", "statusPane102"};
    for (const QString& name : names) {
      auto* pane = frame.statusBar()->findChild<QLabel*>(name);
      QVERIFY2(pane, qPrintable(name));
      QCOMPARE(pane->sizeHint().width(), half);
      QCOMPARE(pane->textFormat(), Qt::PlainText);
      pane->ensurePolished();
      QCOMPARE(pane->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
    QCOMPARE(frame.statusBar()->findChild<QLabel*>("statusPane101")->text(),
             QStringLiteral("Ostrel软件科技-手机版本"));
    frame.resize(frame.width() + 300, frame.height());
    QCOMPARE(frame.statusBar()->findChild<QLabel*>("statusPane102")->sizeHint().width(), half);
  }

  void closeTaskEmptiesTreeAndAllContactsOnly() {
    CMainFrame frame;
    velkor::CVelkorLeftTreeCtrl& tree = *frame.TaskController();
    const velkor::CVelkorCtrlItem root =
        tree.InsertItem(QStringLiteral("image"), velkor::kItemRoot, velkor::kItemLast);
    tree.InsertItem(QStringLiteral("短信箱"), root, velkor::kItemLast);
    frame.RightView()->List(3).SetRows({{u"1", u"a"}});
    frame.RightView()->List(0).SetRows({{u"1", u"b"}});
    frame.OnCommand(32787);
    QCOMPARE(tree.GetItemCount(), 0);
    QVERIFY(!tree.GetRootItem());
    QCOMPARE(frame.RightView()->List(3).GetItemCount(), 0);
    QCOMPARE(frame.RightView()->List(0).GetItemCount(), 1);
  }

  void busyCommandShowsTheBusyNotice() {
    CMainFrame frame;
    g_bBusy.store(1);
    ModalSeen seen;
    CloseNextModal(&seen);
    frame.OnCommand(32786);
    g_bBusy.store(0);
    QVERIFY(seen.shown);
    QCOMPARE(seen.text, QStringLiteral("其他作業正在進行，請稍等..."));
  }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
