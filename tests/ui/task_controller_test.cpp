// The task commands end to end with the real dialogs and workers: a new task
// on the sample image, the busy refusals, Stop, closing a task during a scan,
// and the offers to create a task first.
#include <QTest>
#include <QTimer>

#include "engine/app_state.h"
#include "res/command_ids.h"
#include "tasks/progress_dlg.h"
#include "tests/ui/task_test_support.h"
#include "tests/ui/ui_test_support.h"
#include "ui/velkor_right_view.h"

using velkor::CMainFrame;
using velkor::CVelkorLeftTreeCtrl;

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

bool ListHolds(velkor::CMyListCtrl& list, int column, const QString& part) {
  for (int row = 0; row < list.GetItemCount(); ++row) {
    if (QString::fromStdU16String(list.GetItemText(row, column)).contains(part)) return true;
  }
  return false;
}

// A task whose record scan waits at its first read until gate opens.
std::shared_ptr<Gate> HoldNextScan(CVelkorLeftTreeCtrl& controller, uint64_t size) {
  auto gate = std::make_shared<Gate>();
  controller.Task().imageOpener = [gate, size](const std::filesystem::path&) {
    return std::unique_ptr<velkor::ImageSource>(std::make_unique<GateSource>(size, gate));
  };
  return gate;
}

}  // namespace

class TaskControllerTest : public QObject {
  Q_OBJECT

 private slots:
  void newTaskFillsTheTreeAndTheLists() {
    TaskFrame t;
    QVERIFY(RunNewTask(t.frame, t.prompts, Sample().path));
    QVERIFY(t.prompts.boxes.empty());  // an empty tree asks nothing
    QCOMPARE(g_bBusy.load(), 0);

    const velkor::ScanTask& task = t.controller.Task();
    QCOMPARE(t.controller.GetItemCount(), kTreeItems);
    const QTreeWidgetItem* root = t.controller.topLevelItem(0);
    QCOMPARE(root->text(0), Sample().path);
    QVERIFY(root->isExpanded());
    QCOMPARE(ColumnTexts(root, 0),
             (QStringList{"短信箱", "电话薄", "通话记录", "所有联系", "日历", "记事本", "邮件",
                          "微信", "MSN通讯记录", "QQ聊天记录", "文件系统"}));
    QCOMPARE(ColumnTexts(root, 2), (QStringList{"0x01", "0x02", "0x04", "0x08", "0x10", "0x20",
                                                "0x40", "0x80", "0x100", "0x200", "0xFFFFFFFF"}));
    const QStringList counts = ColumnTexts(root, 1);
    QCOMPARE(counts, (QStringList{QString::number(task.smsRecords.size()),
                                  QString::number(task.phoneBook.size()),
                                  QString::number(task.callRecords.size()),
                                  QString::number(task.contactEvents.size()), "", "", "",
                                  QString::number(task.weChatRecords.size()), "", "", ""}));
    // The sample holds rows of every counted kind.
    for (int i : {0, 1, 2, 3, 7}) QVERIFY2(counts[i].toInt() > 0, qPrintable(counts[i]));

    velkor::CVelkorRightView& right = t.right;
    QCOMPARE(right.List(0).GetItemCount(), int(task.smsRecords.size()));
    QCOMPARE(right.List(1).GetItemCount(), int(task.phoneBook.size()));
    QCOMPARE(right.List(2).GetItemCount(), int(task.callRecords.size()));
    QCOMPARE(right.List(3).GetItemCount(), int(task.contactEvents.size()));
    QCOMPARE(right.List(7).GetItemCount(), int(task.weChatRecords.size()));
    for (int tab : {4, 5, 6, 8, 9, 10}) QCOMPARE(right.List(tab).GetItemCount(), 0);
    // Rows of the fixture databases, each in its own list.
    QVERIFY(ListHolds(right.List(0), 4, QStringLiteral("[3.0]")));
    QVERIFY(ListHolds(right.List(7), 1, QStringLiteral("wxid_15f0")));
    QVERIFY(!ListHolds(right.List(0), 4, QStringLiteral("[15.")));
    QCOMPARE(right.List(1).GetItemText(0, 0), std::u16string(u"1"));

    const QStringList log = LogRows(t.frame);
    QCOMPARE(log.first(), QStringLiteral("New Task|新建任务:%1,请稍等...").arg(Sample().path));
    QCOMPARE(log.last(), QStringLiteral("New Task|新建任务结束"));
    QVERIFY(!t.controller.ProgressDialog()->isVisible());
    QCOMPARE(t.controller.ProgressDialog()->windowTitle(), QStringLiteral("Ostrel软件-解析任务"));
  }

  void secondTaskAsksToCloseAndShowsOnlyItsOwnRows() {
    TaskFrame t;
    QVERIFY(RunNewTask(t.frame, t.prompts, Sample().path));
    const int smsRows = t.right.List(0).GetItemCount();
    t.prompts.answers << QMessageBox::Ok;
    QVERIFY(RunNewTask(t.frame, t.prompts, Sample().path));
    QCOMPARE(t.prompts.Texts(), QStringList{"新建任务前是否关闭当前任务?"});
    QCOMPARE(t.prompts.boxes[0].caption, QStringLiteral("提示"));
    QCOMPARE(t.prompts.boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(t.right.List(0).GetItemCount(), smsRows);
    QCOMPARE(t.right.List(0).GetItemText(0, 0), std::u16string(u"1"));
    QCOMPARE(t.controller.GetItemCount(), kTreeItems);
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
    TaskFrame t;
    QVERIFY(RunNewTask(t.frame, t.prompts, Sample().path));
    t.prompts.answers << QMessageBox::StandardButton(answer);
    ModalSeen seen;
    CloseNextModal(&seen, kCloserTries);
    t.controller.OnNewTask();
    QTest::qWait(kCloserSpan);
    QCOMPARE(seen.shown, answer == QMessageBox::Ok);
    QCOMPARE(t.controller.GetItemCount(), items);
    QCOMPARE(g_bBusy.load(), 0);
    QVERIFY(!t.controller.ProgressDialog()->isVisible());
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
    TaskFrame t;
    QVERIFY(RunNewTask(t.frame, t.prompts, Sample().path));
    t.right.List(1).SetCheck(0, true);
    t.right.SetActiveTab(1);

    const std::shared_ptr<Gate> gate = HoldNextScan(t.controller, 4 * velkor::fixtures::kMiB);
    t.prompts.answers << QMessageBox::Ok;  // close the shown task
    AnswerTaskDialog(t.prompts, QStringLiteral("/held.img"));
    QSignalSpy finished(&t.controller, &CVelkorLeftTreeCtrl::WorkerFinished);
    t.controller.OnNewTask();
    // Busy from the moment the command started the worker.
    QCOMPARE(g_bBusy.load(), 1);
    t.prompts.boxes.clear();

    ModalSeen seen;
    CloseNextModal(&seen, kCloserTries);
    t.frame.OnCommand(command);
    QCOMPARE(t.prompts.Texts(), QStringList{"其他作業正在進行，請稍等..."});
    QCOMPARE(t.prompts.boxes[0].caption, QStringLiteral("VelkorForPhone"));
    QCOMPARE(t.right.ActiveTab(), 1);
    QVERIFY(t.prompts.saveDefaultName.isEmpty());
    QTest::qWait(kCloserSpan);
    QVERIFY(!seen.shown);

    gate->Open();
    QVERIFY(finished.wait(30000));
    QCOMPARE(g_bBusy.load(), 0);
  }

  void stopDuringAScanStillFillsAndEnds() {
    TaskFrame t;
    constexpr uint64_t kWindows = 64;
    const std::shared_ptr<Gate> gate =
        HoldNextScan(t.controller, kWindows * velkor::fixtures::kMiB);
    AnswerTaskDialog(t.prompts, QStringLiteral("/big.img"));
    QSignalSpy finished(&t.controller, &CVelkorLeftTreeCtrl::WorkerFinished);
    t.controller.OnNewTask();
    QTRY_VERIFY(gate->arrived.load() > 0);
    QVERIFY(t.controller.ProgressDialog()->isVisible());
    t.frame.OnCommand(velkor::ID_STOP);
    gate->Open();
    QVERIFY(finished.wait(30000));
    QVERIFY(gate->arrived.load() < int(kWindows));
    QCOMPARE(t.controller.GetItemCount(), kTreeItems);
    QCOMPARE(LogRows(t.frame).last(), QStringLiteral("New Task|新建任务结束"));
    QVERIFY(!t.controller.ProgressDialog()->isVisible());
    QCOMPARE(g_bBusy.load(), 0);
  }

  void closeTaskDuringAScanIsUndoneByTheFill() {
    TaskFrame t;
    QVERIFY(RunNewTask(t.frame, t.prompts, Sample().path));
    const std::shared_ptr<Gate> gate = HoldNextScan(t.controller, 2 * velkor::fixtures::kMiB);
    t.prompts.answers << QMessageBox::Cancel;  // keep the shown task for now
    t.controller.OnNewTask();
    QCOMPARE(t.controller.GetItemCount(), kTreeItems);
    t.prompts.answers << QMessageBox::Ok;
    AnswerTaskDialog(t.prompts, QStringLiteral("/second.img"));
    QSignalSpy finished(&t.controller, &CVelkorLeftTreeCtrl::WorkerFinished);
    t.controller.OnNewTask();
    t.frame.OnCommand(velkor::ID_CLOSE_TASK);
    QCOMPARE(t.controller.GetItemCount(), 0);
    gate->Open();
    QVERIFY(finished.wait(30000));
    QCOMPARE(t.controller.GetItemCount(), kTreeItems);
    QCOMPARE(t.controller.topLevelItem(0)->text(0), QStringLiteral("/second.img"));
  }

  // Close-task commands arrive all through the scan and the fill; each one
  // sees the tree empty or whole, never half built.
  void closeTaskNeverMeetsAHalfBuiltTree() {
    TaskFrame t;
    AnswerTaskDialog(t.prompts, Sample().path);
    QSignalSpy finished(&t.controller, &CVelkorLeftTreeCtrl::WorkerFinished);
    QList<int> seen;
    QTimer closer;
    connect(&closer, &QTimer::timeout, &t.controller, [&] {
      seen << t.controller.GetItemCount();
      t.controller.CloseTask();
    });
    t.controller.OnNewTask();
    closer.start(0);
    QVERIFY(finished.wait(60000));
    closer.stop();
    QVERIFY(!seen.isEmpty());
    for (int count : seen)
      QVERIFY2(count == 0 || count == kTreeItems, qPrintable(QString::number(count)));
    QVERIFY(t.controller.GetItemCount() == 0 || t.controller.GetItemCount() == kTreeItems);
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
    TaskFrame t;
    t.right.SetActiveTab(2);
    t.prompts.answers << QMessageBox::StandardButton(answer);
    ModalSeen seen;
    CloseNextModal(&seen, kCloserTries);
    t.frame.OnCommand(command);
    QTest::qWait(kCloserSpan);
    QCOMPARE(t.prompts.Texts(), QStringList{"Ostrel软件-请先新建任务"});
    QCOMPARE(t.prompts.boxes[0].caption, QStringLiteral("警告"));
    // OK leads into the new-task command and nothing else.
    QCOMPARE(seen.shown, answer == QMessageBox::Ok);
    if (seen.shown) QCOMPARE(seen.className, QStringLiteral("velkor::CTaskDlg"));
    QCOMPARE(t.right.ActiveTab(), 2);
    QCOMPARE(g_bBusy.load(), 0);
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
    TaskFrame t;
    QVERIFY(RunNewTask(t.frame, t.prompts, Sample().path));
    ModalSeen seen;
    CloseNextModal(&seen);
    t.frame.OnCommand(command);
    QCOMPARE(seen.title, caption);
    QCOMPARE(t.right.ActiveTab(), 10);
    QCOMPARE(g_bBusy.load(), 0);
    QVERIFY(!t.controller.ProgressDialog()->isVisible());
  }

  void workerRoutinesIgnoreANullController() {
    g_bBusy.store(0);
    QCOMPARE(CVelkorLeftTreeCtrl::NewTaskThreadProc(nullptr), 0);
    QCOMPARE(CVelkorLeftTreeCtrl::ScanPictureThreadProc(nullptr), 0);
    QCOMPARE(CVelkorLeftTreeCtrl::SaveThreadProc(nullptr), 0);
    QCOMPARE(g_bBusy.load(), 0);
  }
};

QTEST_MAIN(TaskControllerTest)
#include "task_controller_test.moc"
