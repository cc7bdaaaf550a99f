// The panes the workers write into, their models held to the item models'
// contract: the log's entries from a worker thread, its row limit and its
// saved file, and recovered texts shown as they are, in full where the code
// page changed them.
#include <QAbstractItemModelTester>
#include <QProgressBar>

#include "tests/ui/desktop_test_support.h"
#include "ui/detail_pane.h"

using Tester = QAbstractItemModelTester;

class PanesTest : public QObject {
  Q_OBJECT

 private slots:
  // A worker's entry is added before its call returns; so is one from the
  // pane's own thread, without waiting on itself. The 1500th row empties the
  // log. Saved, recovered text goes out unchanged, tab and line break
  // included, over a whole older file; a file that cannot be written warns.
  void logEntriesFromAWorkerTheirLimitAndTheirFile() {
    velkor::LogPane log;
    velkor::LogModel& model = log.View().Model();
    std::atomic<int> rowsAdded{0};
    connect(&model, &QAbstractItemModel::rowsInserted, &log, [&] { ++rowsAdded; });
    const auto entry = [](int n) {
      return velkor::LogEntry{3, QString::number(n).toStdU16String(), u"text"};
    };
    std::atomic<int> notYetAdded{0};
    std::thread worker([&] {
      for (int i = 1; i <= 200; ++i) {
        log.Sink().Append(entry(i));
        if (rowsAdded.load() != i) ++notYetAdded;
      }
    });
    QTRY_VERIFY_WITH_TIMEOUT(rowsAdded.load() == 200, 20000);
    worker.join();
    QCOMPARE(notYetAdded.load(), 0);
    for (int i = 201; i < 1500; ++i) log.Append(entry(i));
    QCOMPARE(model.rowCount(), 1499);
    log.Append(entry(1500));
    QCOMPARE(model.rowCount(), 0);
    Tester tester(&model, Tester::FailureReportingMode::QtTest);
    log.Sink().Append({3, u"错", u"a\tb\r\nc"});
    log.Append({0, u"Save", u""});
    QCOMPARE(log.RowCounter(), 2);

    const QString text = QChar(0xFEFF) + QStringLiteral("错\t") + model.CellText(0, 1) +
                         "\ta\tb\r\nc\r\nSave\t" + model.CellText(1, 1) + "\t\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath("velkor.log");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(4096, 'x')) == 4096);
    old.close();
    QString why;
    QVERIFY(log.WriteFile(path, &why));
    QCOMPARE(FileBytes(path), Utf16Le(text));
    const QString missing = dir.filePath("missing/folder/velkor.log");
    ModalSeen seen;
    log.SaveTo(missing);
    QVERIFY2(seen.text.contains(missing), qPrintable(seen.text));
    QVERIFY(!QFile::exists(missing));
  }

  // The lists show the code page view unless told to show the full texts;
  // the detail pane adds a full text wherever it differs and follows the
  // current row, moved by keys as by clicks. Markup is text.
  void recoveredTextsShowAsTheyAre() {
    velkor::ResultPane view(500);
    velkor::DetailPane detail;
    view.SetDetailPane(&detail);
    view.SetActiveTab(1);
    velkor::ResultListView& list = view.List(1);
    Tester tester(list.model(), Tester::FailureReportingMode::QtTest);
    view.SetRows(1, {{u"1", u"??", u"138"}, {u"2", u"<b>粗体</b>", u"<a href='x'>139</a>"}});
    velkor::FullTexts full;
    full.Set(1, u"??", u"민수");
    view.SetFullTexts(1, {full});
    QCOMPARE(list.model()->index(1, 1).data().toString(), QStringLiteral("<b>粗体</b>"));
    list.setCurrentIndex(list.model()->index(0, 0));
    QCOMPARE(detail.Text(), QStringLiteral("姓名:??  完整Unicode文本:민수\n电话号码:138"));
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:<b>粗体</b>\n电话号码:<a href='x'>139</a>"));
    view.ShowFullTexts(true);
    QCOMPARE(list.model()->index(0, 1).data().toString(), QStringLiteral("민수"));
    list.Model().SetAllChecked(true);  // a saved list takes what it shows
    QCOMPARE(view.TickedRowTexts(1).at(0).at(1), std::u16string(u"민수"));
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:민수\n电话号码:138"));
    view.SetRows(1, {});
  }
};

QTEST_MAIN(PanesTest)
#include "panes_test.moc"
