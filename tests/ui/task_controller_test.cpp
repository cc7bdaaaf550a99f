// The task commands end to end through the real controller and workers: a
// new task on the sample image or on one that does not open, a second task
// over a shown one, the busy refusals, every way to stop, closing a task
// during a scan, the offer of a task first, and quitting while a worker runs.
#include "tests/ui/desktop_test_support.h"

namespace {

constexpr int kTreeItems = 12;  // the root and its eleven categories
// A modal poll that finds nothing keeps going this long; a test waits it
// out so that it cannot close the next test's dialogs.
constexpr int kPollTries = 15;
constexpr int kPollSpan = kPollTries * 20 + 200;

}  // namespace

class TaskControllerTest : public QObject {
  Q_OBJECT

 private slots:
  void newTaskFillsTheTreeAndTheLists() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    QVERIFY(t.prompts.texts.isEmpty());  // an empty tree asks nothing
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    const QTreeWidgetItem* root = t.tree.topLevelItem(0);
    QCOMPARE(root->text(0), SamplePath());
    // Each record list holds as many rows as its category counts; the sample
    // holds rows of every counted kind.
    for (int tab = 0; tab < 11; ++tab) {
      const QString count = root->child(tab)->text(1);
      QCOMPARE(count.isEmpty(), !(tab <= 3 || tab == 7));
      QVERIFY2(count.isEmpty() || count.toInt() > 0, qPrintable(count));
      QCOMPARE(int(t.results.RowCount(tab)), count.toInt());
    }
    QCOMPARE(t.Cell(1, 0, 0), QStringLiteral("1"));
    const QStringList log = t.LogRows();
    QCOMPARE(log.first(), QStringLiteral("New Task|新建任务:%1,请稍等...").arg(SamplePath()));
    QCOMPARE(log.last(), QStringLiteral("New Task|新建任务结束"));
    QVERIFY(!t.progress.isVisible() && !t.controller.Busy());
    QVERIFY(t.progress.StatusText().text().startsWith(QStringLiteral("已经搜索到 ")));

    // A second task asks first whether to close this one; Cancel keeps it.
    t.prompts.answers << QMessageBox::Cancel;
    t.controller.NewTask();
    QCOMPARE(t.prompts.texts, QStringList{"新建任务前是否关闭当前任务?"});
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    // A task that does not open leaves none, and says so.
    const QString path = QStringLiteral("/no/such/image.img");
    QVERIFY(t.NewTask(path));
    QVERIFY(!t.tree.HasCategories() && t.results.RowCount(3) == 0);
    QCOMPARE(t.prompts.texts.size(), 3);
    QVERIFY(t.prompts.texts[2].contains(path) && t.LogRows().join('\n').contains(path));
  }

  // While a worker runs, every long command is refused and changes nothing.
  // The menu's Stop, the window's stop button, Esc and its close button all
  // stop the job; none hides the window while the job still runs.
  void busyRefusalsAndTheWaysToStop_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("stop");
    QTest::newRow("new task, menu Stop") << int(velkor::ID_NEW_TASK) << 0;
    QTest::newRow("picture scan, stop button") << int(velkor::ID_SCAN_PICTURE) << 1;
    QTest::newRow("video scan, Esc") << int(velkor::ID_SCAN_VIDEO) << 2;
    QTest::newRow("search, close button") << int(velkor::ID_SEARCH) << 3;
    QTest::newRow("save, menu Stop") << int(velkor::ID_SAVE) << 0;
  }
  void busyRefusalsAndTheWaysToStop() {
    QFETCH(int, command);
    QFETCH(int, stop);
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    t.results.List(1).Model().SetChecked(0, true);
    t.results.SetActiveTab(1);
    QVERIFY(t.StartHeldTask(8 * kMiB));
    QVERIFY(t.controller.Busy() && t.progress.isVisible());
    t.prompts.texts.clear();
    ModalSeen seen(kPollTries);
    t.window.RunCommand(command);
    QCOMPARE(t.prompts.texts, QStringList{"其他作業正在進行，請稍等..."});
    QCOMPARE(t.results.ActiveTab(), 1);
    QVERIFY(t.prompts.saveDefaultName.isEmpty());
    QTest::qWait(kPollSpan);
    QCOMPARE(seen.className, QString());

    if (stop == 0) t.window.RunCommand(velkor::ID_STOP);
    if (stop == 1) Child(t.progress, "stopButton")->click();
    if (stop == 2) QTest::keyClick(&t.progress, Qt::Key_Escape);
    if (stop == 3) t.progress.close();
    QVERIFY(t.progress.isVisible());
    QVERIFY(t.ReleaseHeldTask());
    // One window of eight was read before the stop was seen; the tree is
    // still filled.
    QCOMPARE(t.progress.DoneText().text(), QStringLiteral("12%  1 / 8 MiB"));
    QCOMPARE(t.tree.ItemCount(), kTreeItems);
    QCOMPARE(t.LogRows().last(), QStringLiteral("New Task|新建任务结束"));
    QVERIFY(!t.progress.isVisible() && !t.controller.Busy());
  }

  // Close-task commands arrive all through the scan and the fill; each one
  // sees the tree empty or whole, never half built.
  void closeTaskNeverMeetsAHalfBuiltTree() {
    TaskDesktop t;
    QList<int> seen;
    QTimer closer;
    connect(&closer, &QTimer::timeout, &t.controller, [&] {
      seen << t.tree.ItemCount();
      t.controller.CloseTask();
    });
    t.AnswerTaskDialog(SamplePath());
    QVERIFY(t.RunToEnd([&] {
      t.controller.NewTask();
      closer.start(0);
    }));
    closer.stop();
    seen << t.tree.ItemCount();
    QVERIFY(seen.size() > 2);
    for (int count : seen)
      QVERIFY2(count == 0 || count == kTreeItems, qPrintable(QString::number(count)));
  }

  // Without a task the scans and the search offer one: OK leads into the
  // new-task command and nothing else.
  void commandsWithoutATaskOfferOne() {
    TaskDesktop t;
    t.results.SetActiveTab(2);
    for (int command : {velkor::ID_SCAN_PICTURE, velkor::ID_SCAN_VIDEO, velkor::ID_SEARCH}) {
      for (auto answer : {QMessageBox::Ok, QMessageBox::Cancel}) {
        t.prompts.texts.clear();
        t.prompts.answers << answer;
        ModalSeen seen(kPollTries);
        t.window.RunCommand(command);
        QTest::qWait(kPollSpan);
        QCOMPARE(t.prompts.texts, QStringList{"Ostrel软件-请先新建任务"});
        QCOMPARE(seen.className, QString(answer == QMessageBox::Ok ? "velkor::NewTaskDialog" : ""));
        QCOMPARE(t.results.ActiveTab(), 2);
        QVERIFY(!t.controller.Busy() && !t.tree.HasCategories());
      }
    }
  }

  // The program ends only once its worker has: the worker still drives the
  // window it would otherwise outlive.
  void quittingWaitsForTheWorker() {
    auto t = std::make_unique<TaskDesktop>();
    QVERIFY(t->StartHeldTask(4 * kMiB));
    t->releaseOnExit = false;  // only the timer below lets the worker go
    bool released = false;
    QTimer::singleShot(200, [&] { released = heldReadsGo = true; });
    t.reset();
    QVERIFY(released);
  }
};

QTEST_MAIN(TaskControllerTest)
#include "task_controller_test.moc"
