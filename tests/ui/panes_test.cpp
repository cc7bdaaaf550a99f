// The panes the workers write into: the item models' contract, the log's
// entries from a worker thread and its row limit, its saved file, the
// progress dialog's events from a worker, and recovered texts shown as they
// are, in full where the code page changed them.
#include <thread>

#include <QAbstractItemModelTester>
#include <QProgressBar>

#include "tests/ui/desktop_test_support.h"

using velkor::LogEntry;

namespace {

LogEntry Entry(int number, uint8_t level = 0) {
  return {level, QString::number(number).toStdU16String(), u"text"};
}

}  // namespace

class PanesTest : public QObject {
  Q_OBJECT

 private slots:
  void modelsKeepTheItemModelContract() {
    using Mode = QAbstractItemModelTester::FailureReportingMode;
    velkor::ResultListModel results({"索引", "内容"});
    QAbstractItemModelTester resultsTester(&results, Mode::QtTest);
    for (int i = 0; i < 20; ++i) results.AppendRow({QString::number(i).toStdU16String(), u"x"});
    results.SetAllChecked(true);
    results.SetChecked(3, false);
    results.Clear();
    results.SetAllChecked(true);  // nothing to tick: no change with an empty range

    velkor::LogPane log;
    QAbstractItemModelTester logTester(&log.View().Model(), Mode::QtTest);
    for (int i = 1; i <= 3; ++i) log.Append(Entry(i, uint8_t(i)));
    log.View().Model().SetCellText(1, 2, QStringLiteral("x"));
    log.Clear();
    log.Append(Entry(4));
  }

  // A worker's entry is added before its call returns; so is one from the
  // pane's own thread, without waiting on itself. The 1500th row empties
  // the log, and the count starts again.
  void logEntryIsAddedBeforeTheCallReturns() {
    velkor::LogPane log;
    std::atomic<int> rowsAdded{0};
    connect(&log.View().Model(), &QAbstractItemModel::rowsInserted, &log,
            [&rowsAdded] { rowsAdded.fetch_add(1); });
    constexpr int kLimit = 1500;
    std::atomic<int> notYetAdded{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
      for (int i = 1; i < kLimit; ++i) {
        log.Sink().Append(Entry(i, 3));
        if (rowsAdded.load() != i) notYetAdded.fetch_add(1);
      }
      done.store(true);
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 60000);
    worker.join();
    QCOMPARE(notYetAdded.load(), 0);
    QCOMPARE(log.View().Model().rowCount(), kLimit - 1);
    log.Sink().Append(Entry(kLimit));
    QCOMPARE(log.View().Model().rowCount(), 0);
    log.Sink().Append(Entry(kLimit + 1));
    QCOMPARE(log.View().Model().rowCount(), 1);
    QCOMPARE(log.RowCounter(), 1);
    QCOMPARE(log.View().Model().CellText(0, 0), QString::number(kLimit + 1));
  }

  // Recovered text goes out unchanged, tab and line break included; a save
  // replaces a whole older file; one that cannot be written warns.
  void logSave() {
    velkor::LogPane log;
    log.Append({3, u"错", u"a\tb\r\nc"});
    log.Append({0, u"Save", u""});
    const QString time0 = log.View().Model().CellText(0, 1);
    const QString time1 = log.View().Model().CellText(1, 1);
    const QString text = QChar(0xFEFF) + QStringLiteral("错\t") + time0 + "\ta\tb\r\nc\r\nSave\t" + time1 + "\t\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath("velkor.log");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(4096, 'x')) == 4096);
    old.close();
    QString why;
    QVERIFY(log.WriteFile(path, &why));
    QCOMPARE(FileBytes(path), QByteArray(reinterpret_cast<const char*>(text.utf16()),
                                         text.size() * 2));

    const QString missing = dir.filePath("missing/folder/velkor.log");
    ModalSeen seen;
    log.SaveTo(missing);
    QVERIFY2(seen.text.contains(missing), qPrintable(seen.text));
    QVERIFY(!QFile::exists(missing));
  }

  // Each event is handled before the worker's call returns; the text pushed
  // last is shown as it is, never as markup.
  void progressWaitsForEachEventFromTheWorker() {
    velkor::ProgressDialog dialog;
    std::atomic<bool> done{false};
    QList<int> seen;
    std::thread worker([&] {
      velkor::ProgressSink& sink = dialog.Sink();
      sink.ProgressRange(100);
      for (int i = 0; i < 20; ++i) {
        sink.ProgressStep();
        seen << dialog.StepCount();
      }
      sink.ProgressPos(50);
      sink.ProgressText(u"<b>已经搜索到 3 条记录</b>");
      done.store(true);
    });
    QTRY_VERIFY(done.load());
    worker.join();
    QList<int> expected;
    for (int i = 1; i <= 20; ++i) expected << i;
    QCOMPARE(seen, expected);
    QCOMPARE(dialog.Bar().value(), 50);
    QCOMPARE(dialog.StatusText().text(), QStringLiteral("<b>已经搜索到 3 条记录</b>"));
    QCOMPARE(dialog.StatusText().textFormat(), Qt::PlainText);
  }

  // The lists show the code page view unless told to show the full texts;
  // the detail pane adds a full text wherever it differs and follows the
  // current row, moved by keys as by clicks. Markup is text.
  void recoveredTextsShowAsTheyAre() {
    velkor::ResultPane view(500);
    velkor::DetailPane detail;
    view.SetDetailPane(&detail);
    view.SetActiveTab(1);
    view.SetRows(1, {{u"1", u"??", u"138"}, {u"2", u"<b>粗体</b>", u"<a href='x'>139</a>"}});
    velkor::FullTexts full;
    full.Set(1, u"??", u"민수");
    view.SetFullTexts(1, {full});
    velkor::ResultListView& list = view.List(1);
    QCOMPARE(list.model()->index(1, 1).data().toString(), QStringLiteral("<b>粗体</b>"));
    list.setCurrentIndex(list.model()->index(0, 0));
    QCOMPARE(detail.Text(), QStringLiteral("姓名:??  完整Unicode文本:민수\n电话号码:138"));
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:<b>粗体</b>\n电话号码:<a href='x'>139</a>"));
    view.ShowFullTexts(true);
    QCOMPARE(list.model()->index(0, 1).data().toString(), QStringLiteral("민수"));
    list.Model().SetChecked(0, true);  // a saved list takes what it shows
    QCOMPARE(view.TickedRowTexts(1).at(0).at(1), std::u16string(u"민수"));
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:민수\n电话号码:138"));
  }
};

QTEST_MAIN(PanesTest)
#include "panes_test.moc"
