// The panes the workers write into: the item models' contract, the log's
// row limit, its saved file and entries from a worker thread, the progress
// dialog's events from a worker, recovered markup shown as plain text, and
// the full Unicode texts beside the list texts.
#include <atomic>
#include <thread>

#include <QAbstractItemModelTester>
#include <QProgressBar>
#include <QTest>

#include "tests/ui/desktop_test_support.h"
#include "ui/detail_pane.h"

using velkor::LogEntry;
using velkor::LogPane;

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

    LogPane log;
    QAbstractItemModelTester logTester(&log.View().Model(), Mode::QtTest);
    for (int i = 1; i <= 3; ++i) log.Append(Entry(i, uint8_t(i)));
    log.View().Model().SetCellText(1, 2, QStringLiteral("x"));
    log.Clear();
    log.Append(Entry(4));
  }

  void logRowLimit_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstTitle");
    QTest::newRow("1499 kept") << 1499 << 1499 << "1";
    QTest::newRow("1500 empties") << 1500 << 0 << "";
    QTest::newRow("1501 starts again") << 1501 << 1 << "1501";
  }

  void logRowLimit() {
    QFETCH(int, entries);
    QFETCH(int, rows);
    QFETCH(QString, firstTitle);
    LogPane log;
    for (int i = 1; i <= entries; ++i) log.Append(Entry(i));
    QCOMPARE(log.View().Model().rowCount(), rows);
    QCOMPARE(log.RowCounter(), rows);
    QCOMPARE(log.View().Model().CellText(0, 0), firstTitle);
  }

  // Recovered text goes out unchanged, tab and line break included; a save
  // replaces a whole older file; one that cannot be written warns.
  void logSave() {
    LogPane log;
    log.Append({3, u"错", u"a\tb\r\nc"});
    log.Append({0, u"Save", u""});
    QByteArray expected("\xFF\xFE\x19\x95\x09\x00", 6);  // mark, "错", tab
    expected += Utf16Le(log.View().Model().CellText(0, 1));
    expected += QByteArray(
        "\x09\x00"
        "a\0\x09\0b\0\r\0\n\0c\0\r\0\n\0",
        18);
    expected += Utf16Le(QStringLiteral("Save\t%1\t\r\n").arg(log.View().Model().CellText(1, 1)));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velkor.log"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();
    QString why;
    QVERIFY(log.WriteFile(path, &why));
    QCOMPARE(FileBytes(path), expected);

    const QString missing = dir.filePath(QStringLiteral("missing/folder/velkor.log"));
    ModalSeen seen;
    CloseNextModal(&seen);
    log.SaveTo(missing);
    QVERIFY(seen.shown);
    QVERIFY(seen.text.contains(missing));
    QVERIFY(!QFile::exists(missing));
  }

  // A worker's entry is added before its call returns; so is one from the
  // pane's own thread, without waiting on itself.
  void logEntryIsAddedBeforeTheCallReturns() {
    LogPane log;
    std::atomic<int> rowsAdded{0};
    connect(&log.View().Model(), &QAbstractItemModel::rowsInserted, &log,
            [&rowsAdded] { rowsAdded.fetch_add(1); });
    constexpr int kEntries = 200;
    std::atomic<int> notYetAdded{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
      for (int i = 1; i <= kEntries; ++i) {
        log.Sink().Append(Entry(i, 3));
        if (rowsAdded.load() != i) notYetAdded.fetch_add(1);
      }
      done.store(true);
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 20000);
    worker.join();
    QCOMPARE(notYetAdded.load(), 0);
    QCOMPARE(log.View().Model().CellText(kEntries - 1, 0), QString::number(kEntries));
    log.Sink().Append(Entry(kEntries + 1));
    QCOMPARE(log.View().Model().rowCount(), kEntries + 1);
  }

  // Each event is handled before the worker's call returns; the text pushed
  // last is shown as it is, never as markup.
  void progressWaitsForEachEventFromTheWorker() {
    velkor::ProgressDialog dialog;
    std::atomic<bool> done{false};
    std::vector<int> seen;
    std::thread worker([&] {
      velkor::ProgressSink& sink = dialog.Sink();
      sink.ProgressRange(100);
      for (int i = 0; i < 20; ++i) {
        sink.ProgressStep();
        seen.push_back(dialog.StepCount());
      }
      sink.ProgressPos(50);
      sink.ProgressText(u"<b>已经搜索到 3 条记录</b>");
      done.store(true);
    });
    QTRY_VERIFY(done.load());
    worker.join();
    std::vector<int> expected(20);
    for (size_t i = 0; i < 20; ++i) expected[i] = int(i) + 1;
    QCOMPARE(seen, expected);
    QCOMPARE(dialog.Bar().value(), 50);
    QCOMPARE(dialog.StatusText().text(), QStringLiteral("<b>已经搜索到 3 条记录</b>"));
    QCOMPARE(dialog.StatusText().textFormat(), Qt::PlainText);
  }

  void recoveredMarkupShowsAsText() {
    velkor::ResultPane view(500);
    velkor::DetailPane detail;
    view.SetDetailPane(&detail);
    view.SetActiveTab(1);
    view.SetRows(1, {{u"1", u"<b>粗体</b>", u"<a href='x'>138</a>"}});
    QCOMPARE(view.List(1).model()->index(0, 1).data().toString(), QStringLiteral("<b>粗体</b>"));
    view.ShowDetail(0);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:<b>粗体</b>\n电话号码:<a href='x'>138</a>"));
  }

  // The lists show the code page view unless told to show the full texts;
  // the detail pane adds a full text wherever it differs.
  void fullTextsBesideTheListTexts() {
    velkor::ResultPane view(500);
    velkor::DetailPane detail;
    view.SetDetailPane(&detail);
    view.SetActiveTab(1);
    view.SetRows(1, {{u"1", u"??", u"138"}, {u"2", u"王芳", u"139"}});
    velkor::FullTexts full;
    full.Set(1, u"??", u"민수");
    view.SetFullTexts(1, {full});
    const QAbstractItemModel& model = *view.List(1).model();
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("??"));
    view.ShowDetail(0);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:??  完整Unicode文本:민수\n电话号码:138"));
    view.ShowDetail(1);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:王芳\n电话号码:139"));
    view.ShowFullTexts(true);
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("민수"));
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("王芳"));
    view.List(1).Model().SetChecked(0, true);  // a saved list takes what it shows
    QCOMPARE(view.TickedRowTexts(1).at(0).at(1), std::u16string(u"민수"));
    view.ShowDetail(0);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:민수\n电话号码:138"));
  }
};

QTEST_MAIN(PanesTest)
#include "panes_test.moc"
