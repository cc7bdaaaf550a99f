// What the desktop must never get wrong while the user moves on: found files
// that outlive their image, a detail pane showing another row than the one
// highlighted, a failed open that looks like an empty phone, and a progress
// window that hides a running job.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

#include "res/command_ids.h"
#include "tests/ui/desktop_test_support.h"
#include "ui/detail_pane.h"
#include "ui/media_scan_dialog.h"

namespace {

void AnswerPictureScan() {
  OnNextDialog<velkor::MediaScanDialog>([](velkor::MediaScanDialog* dialog) {
    Child<QCheckBox>(*dialog, QStringLiteral("formatPNG"))->setChecked(true);
    Click(*dialog, "confirmButton");
  });
}

}  // namespace

class ReliabilityTest : public QObject {
  Q_OBJECT

 private slots:
  // Their offsets mean nothing in another image: Save would copy the wrong
  // bytes.
  void foundFilesGoWithTheirTask_data() {
    QTest::addColumn<bool>("newTask");
    QTest::newRow("Close Task") << false;
    QTest::newRow("a new task") << true;
  }
  void foundFilesGoWithTheirTask() {
    QFETCH(bool, newTask);
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    AnswerPictureScan();
    QVERIFY(t.RunCommand(velkor::ID_SCAN_PICTURE));
    QVERIFY(t.results.RowCount(10) > 0);
    if (newTask) {
      QVERIFY(t.NewTask(SamplePath()));
    } else {
      t.window.RunCommand(velkor::ID_CLOSE_TASK);
    }
    QCOMPARE(t.results.RowCount(10), size_t{0});
    t.results.List(10).Model().SetAllChecked(true);
    t.window.RunCommand(velkor::ID_SAVE);
    QVERIFY(!t.prompts.folderAsked);
  }

  // Keys, not only clicks, move the row the detail pane shows.
  void detailFollowsTheCurrentRow() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    t.results.SetActiveTab(1);
    velkor::ResultListView& list = t.results.List(1);
    list.setFocus();
    list.setCurrentIndex(list.model()->index(0, 0));
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.currentIndex().row(), 2);
    QVERIFY(t.Cell(1, 0, 2) != t.Cell(1, 2, 2));
    QVERIFY(t.window.Detail().Text().contains(t.Cell(1, 2, 2)));
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier);
    QVERIFY(t.window.Detail().Text().contains(t.Cell(1, 0, 2)));
    QVERIFY(!t.window.Detail().Text().contains(t.Cell(1, 2, 2)));
  }

  void failedOpenLeavesNoTask() {
    TaskDesktop t;
    QVERIFY(t.NewTask(QStringLiteral("/no/such/image.img")));
    QVERIFY(!t.tree.HasCategories());
    QCOMPARE(t.prompts.texts.size(), 1);
    QVERIFY(t.prompts.texts[0].contains(QStringLiteral("/no/such/image.img")));
    QVERIFY(t.LogRows().join('\n').contains(QStringLiteral("/no/such/image.img")));
  }

  // A task looking for nothing would show a tree of zeros as well.
  void taskWithoutARecordTypeIsRefused() {
    ScriptedPrompts prompts;
    prompts.files << SamplePath();
    velkor::NewTaskDialog dialog(prompts);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->setChecked(false);
    Click(dialog, "browseButton");
    Click(dialog, "confirmButton");
    QVERIFY(dialog.result() != QDialog::Accepted);
    QCOMPARE(prompts.texts.size(), 1);
  }

  // Stop, Esc and the window's close button all stop the job; none hides the
  // window while the job still runs.
  void progressWindowStopsTheJob_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Stop") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("close button") << 2;
  }
  void progressWindowStopsTheJob() {
    QFETCH(int, how);
    TaskDesktop t;
    const std::shared_ptr<Gate> gate = t.HoldNextScan(8 * 1024 * 1024);
    t.AnswerTaskDialog(QStringLiteral("/held.img"));
    QSignalSpy finished(&t.controller, &velkor::TaskController::WorkerFinished);
    t.controller.NewTask();
    QTRY_VERIFY(gate->arrived.load() > 0);
    if (how == 0) Click(t.progress, "stopButton");
    if (how == 1) QTest::keyClick(&t.progress, Qt::Key_Escape);
    if (how == 2) t.progress.close();
    QVERIFY(t.progress.isVisible());
    gate->Open();
    QVERIFY(finished.wait(60000));
    QVERIFY(!t.progress.isVisible());
    // One window of eight was read before the stop was seen.
    QCOMPARE(t.progress.Bar().value(), 1);
    QCOMPARE(t.progress.DoneText().text(), QStringLiteral("12%  1 / 8 MiB"));
  }
};

QTEST_MAIN(ReliabilityTest)
#include "reliability_test.moc"
