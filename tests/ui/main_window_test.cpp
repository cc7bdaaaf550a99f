// The main window: menu and toolbar contents, where each command goes, the
// Output dock's restrictions, status bar, first layout and the About links.
#include <QAction>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "res/command_ids.h"
#include "tasks/desktop.h"
#include "tests/ui/ui_test_support.h"
#include "ui/about_dialog.h"
#include "ui/category_tree.h"
#include "ui/detail_pane.h"
#include "ui/link_label.h"
#include "ui/log_pane.h"
#include "ui/main_window.h"
#include "ui/output_dock.h"
#include "ui/result_pane.h"

using velkor::MainWindow;

namespace {

QToolBar* ToolBar(MainWindow& window) {
  return window.findChild<QToolBar*>(QStringLiteral("toolBar"));
}

QAction* FindAction(const QList<QAction*>& actions, int id) {
  for (QAction* action : actions) {
    if (!action->isSeparator() && action->data().toInt() == id) return action;
  }
  return nullptr;
}

QList<QAction*> AllMenuActions(MainWindow& window) {
  QList<QAction*> all;
  for (QAction* top : window.menuBar()->actions()) all += top->menu()->actions();
  return all;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
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
    MainWindow window;
    const QList<QAction*> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), 4);
    QCOMPARE(menus[position]->text(), title);
    QCOMPARE(ActionItems(menus[position]->menu()->actions()), items);
  }

  void toolbarHoldsElevenImageButtonsInOrder() {
    MainWindow window;
    QToolBar* bar = ToolBar(window);
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
    QTest::newRow("new task") << 32786 << "NewTask";
    QTest::newRow("close task") << 32787 << "CloseTask";
    QTest::newRow("pictures") << 32789 << "ScanPictures";
    QTest::newRow("videos") << 32790 << "ScanVideos";
    QTest::newRow("search") << 32792 << "Search";
    QTest::newRow("save") << 32793 << "Save";
    QTest::newRow("settings") << 32776 << "";
    QTest::newRow("history") << 32791 << "";
    QTest::newRow("task scan") << 32795 << "";
    QTest::newRow("stop") << 32784 << "Stop";
  }

  void commandReachesItsHandler() {
    QFETCH(int, id);
    QFETCH(QString, handler);
    const QStringList expected = handler.isEmpty() ? QStringList{} : QStringList{handler};

    MainWindow window;
    CommandRecorder recorder;
    window.SetCommandTarget(&recorder);
    QAction* menuAction = FindAction(AllMenuActions(window), id);
    QVERIFY(menuAction);
    menuAction->trigger();
    QCOMPARE(recorder.calls, expected);

    // Every one of these commands is also a toolbar button.
    recorder.calls.clear();
    QAction* toolAction = FindAction(ToolBar(window)->actions(), id);
    QVERIFY(toolAction);
    toolAction->trigger();
    QCOMPARE(recorder.calls, expected);
  }

  void exitClosesWithoutAQuestion() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CommandRecorder recorder;
    window.SetCommandTarget(&recorder);
    ModalSeen seen;
    CloseNextModal(&seen, 10);
    FindAction(AllMenuActions(window), 32785)->trigger();
    QVERIFY(recorder.calls.isEmpty());
    QVERIFY(!window.isVisible());
    QTest::qWait(300);
    QVERIFY(!seen.shown);
  }

  void aboutShowsLinkLines() {
    MainWindow window;
    ModalSeen seen;
    CloseNextModal(&seen);
    FindAction(AllMenuActions(window), 57664)->trigger();
    QVERIFY(seen.shown);
    QCOMPARE(seen.className, QStringLiteral("velkor::AboutDialog"));
    QVERIFY(seen.labels.contains(QStringLiteral("www.ostrel.example")));
    QVERIFY(seen.labels.contains(QStringLiteral("support@ostrel.example")));
  }

  void outputPaneNeitherFloatsNorCloses() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    velkor::OutputDock* pane = &window.Output();
    QCOMPARE(pane->windowTitle(), QStringLiteral("Output"));
    QCOMPARE(window.dockWidgetArea(pane), Qt::BottomDockWidgetArea);
    QVERIFY(!(pane->features() & QDockWidget::DockWidgetClosable));
    QVERIFY(!(pane->features() & QDockWidget::DockWidgetFloatable));
    // The window offers no menu through which a pane could be hidden.
    QCOMPARE(window.createPopupMenu(), nullptr);
    QTest::mouseDClick(pane->titleBarWidget(), Qt::LeftButton, {}, QPoint(40, 5));
    QVERIFY(!pane->isFloating());
    QVERIFY(pane->isVisible());
  }

  // Left pane 400 px; the Output pane holds the log (500 px, kept on resize)
  // left of the detail view.
  void firstLayout() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.MainSplitter().sizes().constFirst(), 400);
    QCOMPARE(window.MainSplitter().widget(1), &window.Results());
    QSplitter& inner = window.Output().Panes().Splitter();
    QCOMPARE(inner.count(), 2);
    QCOMPARE(inner.widget(0), &window.Log());
    QCOMPARE(inner.widget(1), &window.Detail());
    QTRY_COMPARE(inner.sizes().constFirst(), 500);
    inner.setSizes({200, inner.width() - 200 - inner.handleWidth()});
    QCOMPARE(inner.sizes().constFirst(), 200);
    window.resize(window.width() + 100, window.height() + 50);
    QTRY_COMPARE(inner.sizes().constFirst(), 500);
  }

  void outputPaneAutoHidesAndComesBack() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    velkor::OutputDock* pane = &window.Output();
    QVERIFY(pane->ContentsShown());
    pane->SetAutoHide(true);
    QVERIFY(!pane->ContentsShown());
    QTRY_VERIFY(pane->height() < 60);
    pane->SetAutoHide(false);
    QVERIFY(pane->ContentsShown());
    QVERIFY(pane->isVisible());
  }

  void captionAndStatusPanesAreBlueHalvesOfTheFirstWidth() {
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Ostrel软件科技"));
    const int half = window.width() / 2;
    const QStringList names{"productPane", "contactPane"};
    for (const QString& name : names) {
      auto* pane = window.statusBar()->findChild<QLabel*>(name);
      QVERIFY2(pane, qPrintable(name));
      QCOMPARE(pane->sizeHint().width(), half);
      QCOMPARE(pane->textFormat(), Qt::PlainText);
      pane->ensurePolished();
      QCOMPARE(pane->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
    QCOMPARE(window.statusBar()->findChild<QLabel*>("productPane")->text(),
             QStringLiteral("Ostrel软件科技-手机版本"));
    window.resize(window.width() + 300, window.height());
    QCOMPARE(window.statusBar()->findChild<QLabel*>("contactPane")->sizeHint().width(), half);
  }

  void closeTaskEmptiesTreeAndAllContactsOnly() {
    velkor::Desktop desktop;
    MainWindow& window = desktop.Window();
    window.Categories().ShowCategories(QStringLiteral("image"), {});
    window.Results().SetRows(3, {{u"1", u"a"}});
    window.Results().SetRows(0, {{u"1", u"b"}});
    window.RunCommand(velkor::ID_CLOSE_TASK);
    QCOMPARE(window.Categories().ItemCount(), 0);
    QCOMPARE(window.Results().RowCount(3), size_t{0});
    QCOMPARE(window.Results().RowCount(0), size_t{1});
  }

  // Blue and underlined, red under the pointer; a left click opens the target.
  void aboutLinksOpenTheirTargets_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QUrl>("target");
    QTest::newRow("web") << "webLink" << QUrl(QStringLiteral("https://www.ostrel.example/"));
    QTest::newRow("mail") << "mailLink" << QUrl(QStringLiteral("mailto:support@ostrel.example"));
  }

  void aboutLinksOpenTheirTargets() {
    QFETCH(QString, name);
    QFETCH(QUrl, target);
    velkor::AboutDialog about;
    auto& link = *Child<velkor::LinkLabel>(about, name);
    QList<QUrl> opened;
    link.SetOpener([&opened](const QUrl& url) { opened << url; });
    const auto colour = [&link] { return link.palette().color(QPalette::WindowText); };
    QCOMPARE(colour(), QColor(0, 0, 255));
    QVERIFY(link.font().underline());
    QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&link, &enter);
    QCOMPARE(colour(), QColor(255, 0, 0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    QCOMPARE(colour(), QColor(0, 0, 255));
    QTest::mouseClick(&link, Qt::RightButton);
    QVERIFY(opened.isEmpty());
    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{target});
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
