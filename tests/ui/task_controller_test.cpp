// The task commands end to end with the real dialogs and workers: a new task
// on the sample image, the busy refusals, Stop, closing a task during a scan,
// and the offers to create a task first.
#include <QTest>
#include <QTimer>

#include "res/command_ids.h"
#include "tests/ui/task_test_support.h"
#include "tests/ui/ui_test_support.h"

using velkor::TaskController;

namespace {

constexpr int kTreeItems = 12;  // the root and its eleven categories
// A modal closer that finds nothing keeps polling this long; a test waits it
// out so that it cannot close the next test's dialogs.
constexpr int kCloserTries = 15;
constexpr int kCloserSpan = kCloserTries * 20 + 200;

QStringList ColumnTexts(const QTreeWidgetItem* root, int column) {
  QStringList texts;
  for (int i = 0; i < root->childCount(); ++i) texts << root->child(i)->text(column);
  return texts;
}

bool ListHolds(velkor::ResultPane& results, int tab, int column, const QString& part) {
  for (size_t row = 0; row < results.RowCount(tab); ++row) {
    if (QString::fromStdU16String(Cell(results, tab, int(row), column)).contains(part)) return true;
  }
  return false;
}

// A task whose record scan waits at its first read until gate opens.
std::shared_ptr<Gate> HoldNextScan(TaskController& controller, uint64_t size) {
  auto gate = std::make_shared<Gate>();
  controller.SetImageOpener([gate, size](const std::filesystem::path&) {
    return std::unique_ptr<velkor::ImageSource>(std::make_unique<GateSource>(size, gate));
  });
  return gate;
}

}  // namespace

class TaskControllerTest : public QObject {
  Q_OBJECT

 private slots:
  void newTaskFillsTheTreeAndTheLists() {
    TaskDesktop t;
    QVERIFY(RunNewTask(t, Sample().path));
    QVERIFY(t.prompts.boxes.empty());  // an empty tree asks nothing
    QVERIFY(!t.controller.Busy());

    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    const QTreeWidgetItem* root = t.tree.topLevelItem(0);
    QCOMPARE(root->text(0), Sample().path);
    QVERIFY(root->isExpanded());
    QCOMPARE(ColumnTexts(root, 0),
             (QStringList{"短信箱", "电话薄", "通话记录", "所有联系", "日历", "记事本", "邮件",
                          "微信", "MSN通讯记录", "QQ聊天记录", "文件系统"}));
    QCOMPARE(ColumnTexts(root, 2), (QStringList{"0x01", "0x02", "0x04", "0x08", "0x10", "0x20",
                                                "0x40", "0x80", "0x100", "0x200", "0xFFFFFFFF"}));
    // Each record list holds as many rows as its category counts; the sample
    // holds rows of every counted kind.
    const QStringList counts = ColumnTexts(root, 1);
    for (int tab = 0; tab < 11; ++tab) {
      const bool counted = tab <= 3 || tab == 7;
      QCOMPARE(counts[tab].isEmpty(), !counted);
      if (counted) QVERIFY2(counts[tab].toInt() > 0, qPrintable(counts[tab]));
      QCOMPARE(int(t.results.RowCount(tab)), counts[tab].toInt());
    }
    // Rows of the fixture databases, each in its own list.
    QVERIFY(ListHolds(t.results, 0, 4, QStringLiteral("[3.0]")));
    QVERIFY(ListHolds(t.results, 7, 1, QStringLiteral("wxid_15f0")));
    QVERIFY(!ListHolds(t.results, 0, 4, QStringLiteral("[15.")));
    QCOMPARE(Cell(t.results, 1, 0, 0), std::u16string(u"1"));

    const QStringList log = LogRows(t);
    QCOMPARE(log.first(), QStringLiteral("New Task|新建任务:%1,请稍等...").arg(Sample().path));
    QCOMPARE(log.last(), QStringLiteral("New Task|新建任务结束"));
    QVERIFY(!t.progress.isVisible());
    QCOMPARE(t.progress.windowTitle(), QStringLiteral("Ostrel软件-解析任务"));
    // The scan's progress text reached the dialog.
    QVERIFY2(t.progress.StatusText().text().startsWith(QStringLiteral("已经搜索到 ")),
             qPrintable(t.progress.StatusText().text()));
  }

  void secondTaskAsksToCloseAndShowsOnlyItsOwnRows() {
    TaskDesktop t;
    QVERIFY(RunNewTask(t, Sample().path));
    const int smsRows = int(t.results.RowCount(0));
    t.prompts.answers << QMessageBox::Ok;
    QVERIFY(RunNewTask(t, Sample().path));
    QCOMPARE(t.prompts.Texts(), QStringList{"新建任务前是否关闭当前任务?"});
    QCOMPARE(t.prompts.boxes[0].caption, QStringLiteral("提示"));
    QCOMPARE(t.prompts.boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(int(t.results.RowCount(0)), smsRows);
    QCOMPARE(Cell(t.results, 0, 0, 0), std::u16string(u"1"));
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
  }

  void closingThenCancellingLeavesNoTask_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("items");
    QTest::newRow("OK, then the dialog is closed") << int(QMessageBox::Ok) << 0;
    QTest::newRow("Cancel keeps the task") << int(QMessageBox::Cancel) << kTreeItems;
  }

  void closingThenCancellingLeavesNoTask() {
    QFETCH(int, answer);
    QFETCH(int, items);
    TaskDesktop t;
    QVERIFY(RunNewTask(t, Sample().path));
    t.prompts.answers << QMessageBox::StandardButton(answer);
    ModalSeen seen;
    CloseNextModal(&seen, kCloserTries);
    t.controller.NewTask();
    QTest::qWait(kCloserSpan);
    QCOMPARE(seen.shown, answer == QMessageBox::Ok);
    QCOMPARE(t.tree.ItemCount(), items);
    QVERIFY(!t.controller.Busy());
    QVERIFY(!t.progress.isVisible());
  }

  void longCommandsRefuseWhileAWorkerRuns_data() {
    QTest::addColumn<int>("command");
    QTest::newRow("new task") << int(velkor::ID_NEW_TASK);
    QTest::newRow("picture scan") << int(velkor::ID_SCAN_PICTURE);
    QTest::newRow("video scan") << int(velkor::ID_SCAN_VIDEO);
    QTest::newRow("search") << int(velkor::ID_SEARCH);
    QTest::newRow("save") << int(velkor::ID_SAVE);
  }

  void longCommandsRefuseWhileAWorkerRuns() {
    QFETCH(int, command);
    TaskDesktop t;
    QVERIFY(RunNewTask(t, Sample().path));
    t.results.List(1).Model().SetChecked(0, true);
    t.results.SetActiveTab(1);

    const std::shared_ptr<Gate> gate = HoldNextScan(t.controller, 4 * velkor::fixtures::kMiB);
    t.prompts.answers << QMessageBox::Ok;  // close the shown task
    AnswerTaskDialog(t.prompts, QStringLiteral("/held.img"));
    QSignalSpy finished(&t.controller, &TaskController::WorkerFinished);
    t.controller.NewTask();
    // Busy from the moment the command started the worker.
    QVERIFY(t.controller.Busy());
    t.prompts.boxes.clear();

    ModalSeen seen;
    CloseNextModal(&seen, kCloserTries);
    t.window.RunCommand(command);
    QCOMPARE(t.prompts.Texts(), QStringList{"其他作業正在進行，請稍等..."});
    QCOMPARE(t.prompts.boxes[0].caption, QStringLiteral("VelkorForPhone"));
    QCOMPARE(t.results.ActiveTab(), 1);
    QVERIFY(t.prompts.saveDefaultName.isEmpty());
    QTest::qWait(kCloserSpan);
    QVERIFY(!seen.shown);

    gate->Open();
    QVERIFY(finished.wait(30000));
    QVERIFY(!t.controller.Busy());
  }

  void stopDuringAScanStillFillsAndEnds() {
    TaskDesktop t;
    constexpr uint64_t kWindows = 64;
    const std::shared_ptr<Gate> gate =
        HoldNextScan(t.controller, kWindows * velkor::fixtures::kMiB);
    AnswerTaskDialog(t.prompts, QStringLiteral("/big.img"));
    QSignalSpy finished(&t.controller, &TaskController::WorkerFinished);
    t.controller.NewTask();
    QTRY_VERIFY(gate->arrived.load() > 0);
    QVERIFY(t.progress.isVisible());
    t.window.RunCommand(velkor::ID_STOP);
    gate->Open();
    QVERIFY(finished.wait(30000));
    QVERIFY(gate->arrived.load() < int(kWindows));
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    QCOMPARE(LogRows(t).last(), QStringLiteral("New Task|新建任务结束"));
    QVERIFY(!t.progress.isVisible());
    QVERIFY(!t.controller.Busy());
  }

  void closeTaskDuringAScanIsUndoneByTheFill() {
    TaskDesktop t;
    QVERIFY(RunNewTask(t, Sample().path));
    const std::shared_ptr<Gate> gate = HoldNextScan(t.controller, 2 * velkor::fixtures::kMiB);
    t.prompts.answers << QMessageBox::Cancel;  // keep the shown task for now
    t.controller.NewTask();
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    t.prompts.answers << QMessageBox::Ok;
    AnswerTaskDialog(t.prompts, QStringLiteral("/second.img"));
    QSignalSpy finished(&t.controller, &TaskController::WorkerFinished);
    t.controller.NewTask();
    t.window.RunCommand(velkor::ID_CLOSE_TASK);
    QCOMPARE(t.tree.ItemCount(), 0);
    gate->Open();
    QVERIFY(finished.wait(30000));
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    QCOMPARE(t.tree.topLevelItem(0)->text(0), QStringLiteral("/second.img"));
  }

  // Close-task commands arrive all through the scan and the fill; each one
  // sees the tree empty or whole, never half built.
  void closeTaskNeverMeetsAHalfBuiltTree() {
    TaskDesktop t;
    AnswerTaskDialog(t.prompts, Sample().path);
    QSignalSpy finished(&t.controller, &TaskController::WorkerFinished);
    QList<int> seen;
    QTimer closer;
    connect(&closer, &QTimer::timeout, &t.controller, [&] {
      seen << t.tree.ItemCount();
      t.controller.CloseTask();
    });
    t.controller.NewTask();
    closer.start(0);
    QVERIFY(finished.wait(60000));
    closer.stop();
    QVERIFY(!seen.isEmpty());
    for (int count : seen)
      QVERIFY2(count == 0 || count == kTreeItems, qPrintable(QString::number(count)));
    QVERIFY(t.tree.ItemCount() == 0 || t.tree.ItemCount() == kTreeItems);
  }

  void commandsWithoutATaskOfferOne_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("answer");
    for (const auto& [name, id] :
         {std::pair{"picture scan", velkor::ID_SCAN_PICTURE},
          std::pair{"video scan", velkor::ID_SCAN_VIDEO}, std::pair{"search", velkor::ID_SEARCH}}) {
      QTest::addRow("%s, OK", name) << int(id) << int(QMessageBox::Ok);
      QTest::addRow("%s, Cancel", name) << int(id) << int(QMessageBox::Cancel);
    }
  }

  void commandsWithoutATaskOfferOne() {
    QFETCH(int, command);
    QFETCH(int, answer);
    TaskDesktop t;
    t.results.SetActiveTab(2);
    t.prompts.answers << QMessageBox::StandardButton(answer);
    ModalSeen seen;
    CloseNextModal(&seen, kCloserTries);
    t.window.RunCommand(command);
    QTest::qWait(kCloserSpan);
    QCOMPARE(t.prompts.Texts(), QStringList{"Ostrel软件-请先新建任务"});
    QCOMPARE(t.prompts.boxes[0].caption, QStringLiteral("警告"));
    // OK leads into the new-task command and nothing else.
    QCOMPARE(seen.shown, answer == QMessageBox::Ok);
    if (seen.shown) QCOMPARE(seen.className, QStringLiteral("velkor::NewTaskDialog"));
    QCOMPARE(t.results.ActiveTab(), 2);
    QVERIFY(!t.controller.Busy());
  }

  void cancelledScanStillShowsTheFoundFilesTab_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("caption");
    QTest::newRow("pictures") << int(velkor::ID_SCAN_PICTURE) << "扫描图片";
    QTest::newRow("videos") << int(velkor::ID_SCAN_VIDEO) << "扫描影片";
  }

  void cancelledScanStillShowsTheFoundFilesTab() {
    QFETCH(int, command);
    QFETCH(QString, caption);
    TaskDesktop t;
    QVERIFY(RunNewTask(t, Sample().path));
    ModalSeen seen;
    CloseNextModal(&seen);
    t.window.RunCommand(command);
    QCOMPARE(seen.title, caption);
    QCOMPARE(t.results.ActiveTab(), 10);
    QVERIFY(!t.controller.Busy());
    QVERIFY(!t.progress.isVisible());
  }
};

QTEST_MAIN(TaskControllerTest)
#include "task_controller_test.moc"
