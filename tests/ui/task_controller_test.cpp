// The task commands end to end through the real controller and workers: a
// new task on the sample image, a second one over it, the busy refusals,
// Stop, closing a task during a scan, the offer of a task first, and quitting
// while a worker runs.
#include <QTest>
#include <QTimer>

#include "res/command_ids.h"
#include "tests/ui/desktop_test_support.h"

using velkor::TaskController;
using velkor::fixtures::kMiB;

namespace {

constexpr int kTreeItems = 12;  // the root and its eleven categories
// A modal closer that finds nothing keeps polling this long; a test waits it
// out so that it cannot close the next test's dialogs.
constexpr int kCloserTries = 15;
constexpr int kCloserSpan = kCloserTries * 20 + 200;

bool ListHolds(TaskDesktop& t, int tab, int column, const QString& part) {
  for (size_t row = 0; row < t.results.RowCount(tab); ++row) {
    if (t.Cell(tab, int(row), column).contains(part)) return true;
  }
  return false;
}

}  // namespace

class TaskControllerTest : public QObject {
  Q_OBJECT

 private slots:
  void newTaskFillsTheTreeAndTheLists() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    QVERIFY(t.prompts.texts.isEmpty());  // an empty tree asks nothing
    QVERIFY(!t.controller.Busy());
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    const QTreeWidgetItem* root = t.tree.topLevelItem(0);
    QCOMPARE(root->text(0), SamplePath());
    // Each record list holds as many rows as its category counts; the sample
    // holds rows of every counted kind.
    for (int tab = 0; tab < 11; ++tab) {
      const QString count = root->child(tab)->text(1);
      const bool counted = tab <= 3 || tab == 7;
      QCOMPARE(count.isEmpty(), !counted);
      if (counted) QVERIFY2(count.toInt() > 0, qPrintable(count));
      QCOMPARE(int(t.results.RowCount(tab)), count.toInt());
    }
    // Rows of the fixture databases, each in its own list.
    QVERIFY(ListHolds(t, 0, 4, QStringLiteral("[3.0]")));
    QVERIFY(ListHolds(t, 7, 1, QStringLiteral("wxid_15f0")));
    QVERIFY(!ListHolds(t, 0, 4, QStringLiteral("[15.")));
    QCOMPARE(t.Cell(1, 0, 0), QStringLiteral("1"));

    const QStringList log = t.LogRows();
    QCOMPARE(log.first(), QStringLiteral("New Task|新建任务:%1,请稍等...").arg(SamplePath()));
    QCOMPARE(log.last(), QStringLiteral("New Task|新建任务结束"));
    QVERIFY(!t.progress.isVisible());
    // The scan's progress text reached the dialog.
    QVERIFY2(t.progress.StatusText().text().startsWith(QStringLiteral("已经搜索到 ")),
             qPrintable(t.progress.StatusText().text()));
  }

  // answer: to the question whether to close the shown task; confirm: the
  // task dialog is answered (else cancelled); items: the tree afterwards.
  void newTaskOverAShownTask_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("items");
    QTest::newRow("OK, new task") << int(QMessageBox::Ok) << true << kTreeItems;
    QTest::newRow("OK, dialog cancelled") << int(QMessageBox::Ok) << false << 0;
    QTest::newRow("Cancel keeps the task") << int(QMessageBox::Cancel) << false << kTreeItems;
  }

  void newTaskOverAShownTask() {
    QFETCH(int, answer);
    QFETCH(bool, confirm);
    QFETCH(int, items);
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    const size_t smsRows = t.results.RowCount(0);
    t.prompts.answers << QMessageBox::StandardButton(answer);
    ModalSeen seen;
    if (confirm) {
      QVERIFY(t.NewTask(SamplePath()));
    } else {
      CloseNextModal(&seen, kCloserTries);
      t.controller.NewTask();
      QTest::qWait(kCloserSpan);
      QCOMPARE(seen.shown, answer == QMessageBox::Ok);
    }
    QCOMPARE(t.prompts.texts, QStringList{"新建任务前是否关闭当前任务?"});
    QCOMPARE(t.tree.ItemCount(), items);
    // Closing empties the tree and the all-contacts list; a second task
    // shows only its own rows.
    QCOMPARE(t.results.RowCount(0), smsRows);
    QCOMPARE(t.results.RowCount(3) == 0, items == 0);
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
    QVERIFY(t.NewTask(SamplePath()));
    t.results.List(1).Model().SetChecked(0, true);
    t.results.SetActiveTab(1);
    const std::shared_ptr<Gate> gate = t.HoldNextScan(4 * kMiB);
    t.prompts.answers << QMessageBox::Ok;  // close the shown task
    t.AnswerTaskDialog(QStringLiteral("/held.img"));
    QSignalSpy finished(&t.controller, &TaskController::WorkerFinished);
    t.controller.NewTask();
    // Busy from the moment the command started the worker.
    QVERIFY(t.controller.Busy());
    t.prompts.texts.clear();

    ModalSeen seen;
    CloseNextModal(&seen, kCloserTries);
    t.window.RunCommand(command);
    QCOMPARE(t.prompts.texts, QStringList{"其他作業正在進行，請稍等..."});
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
    const std::shared_ptr<Gate> gate = t.HoldNextScan(kWindows * kMiB);
    t.AnswerTaskDialog(QStringLiteral("/big.img"));
    QSignalSpy finished(&t.controller, &TaskController::WorkerFinished);
    t.controller.NewTask();
    QTRY_VERIFY(gate->arrived.load() > 0);
    QVERIFY(t.progress.isVisible());
    t.window.RunCommand(velkor::ID_STOP);
    gate->Open();
    QVERIFY(finished.wait(30000));
    QVERIFY(gate->arrived.load() < int(kWindows));
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    QCOMPARE(t.LogRows().last(), QStringLiteral("New Task|新建任务结束"));
    QVERIFY(!t.progress.isVisible());
    QVERIFY(!t.controller.Busy());
  }

  void closeTaskDuringAScanIsUndoneByTheFill() {
    TaskDesktop t;
    const std::shared_ptr<Gate> gate = t.HoldNextScan(2 * kMiB);
    t.AnswerTaskDialog(QStringLiteral("/second.img"));
    QSignalSpy finished(&t.controller, &TaskController::WorkerFinished);
    t.controller.NewTask();
    t.tree.ShowCategories(QStringLiteral("earlier"), {});
    t.results.SetRows(3, {{u"1", u"earlier"}});
    t.window.RunCommand(velkor::ID_CLOSE_TASK);
    QCOMPARE(t.tree.ItemCount(), 0);
    QCOMPARE(t.results.RowCount(3), size_t{0});
    gate->Open();
    QVERIFY(finished.wait(30000));
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    QCOMPARE(t.tree.topLevelItem(0)->text(0), QStringLiteral("/second.img"));
  }

  // Close-task commands arrive all through the scan and the fill; each one
  // sees the tree empty or whole, never half built.
  void closeTaskNeverMeetsAHalfBuiltTree() {
    TaskDesktop t;
    t.AnswerTaskDialog(SamplePath());
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
    seen << t.tree.ItemCount();
    for (int count : seen) {
      QVERIFY2(count == 0 || count == kTreeItems, qPrintable(QString::number(count)));
    }
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
    QCOMPARE(t.prompts.texts, QStringList{"Ostrel软件-请先新建任务"});
    // OK leads into the new-task command and nothing else.
    QCOMPARE(seen.shown, answer == QMessageBox::Ok);
    if (seen.shown) QCOMPARE(seen.className, QStringLiteral("velkor::NewTaskDialog"));
    QCOMPARE(t.results.ActiveTab(), 2);
    QVERIFY(!t.controller.Busy());
  }

  void cancelledScanStillShowsTheFoundFilesTab() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    for (int command : {velkor::ID_SCAN_PICTURE, velkor::ID_SCAN_VIDEO}) {
      t.results.SetActiveTab(0);
      ModalSeen seen;
      CloseNextModal(&seen);
      t.window.RunCommand(command);
      QCOMPARE(seen.className, QStringLiteral("velkor::MediaScanDialog"));
      QCOMPARE(t.results.ActiveTab(), 10);
      QVERIFY(!t.controller.Busy());
    }
  }

  // The program ends only once its worker has: the worker still drives the
  // window it would otherwise outlive.
  void quittingWaitsForTheWorker() {
    auto t = std::make_unique<TaskDesktop>();
    const std::shared_ptr<Gate> gate = t->HoldNextScan(4 * kMiB);
    t->AnswerTaskDialog(QStringLiteral("/held.img"));
    t->controller.NewTask();
    QTRY_VERIFY(gate->arrived.load() > 0);
    t->gates.clear();  // only the timer below lets the worker go
    bool opened = false;
    QTimer::singleShot(200, [&] {
      opened = true;
      gate->Open();
    });
    t.reset();
    QVERIFY(opened);
  }
};

QTEST_MAIN(TaskControllerTest)
#include "task_controller_test.moc"
