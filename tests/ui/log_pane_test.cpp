// The activity log: the row limit, level colours, time stamps, the saved
// file's bytes, its failures, and entries arriving from a worker thread.
#include <atomic>
#include <thread>

#include <QDateTime>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/ui_test_support.h"
#include "ui/log_pane.h"
#include "ui/log_view.h"

using velkor::LogEntry;
using velkor::LogPane;

namespace {

LogEntry Entry(int number, uint8_t level = 0) {
  return {level, QString::number(number).toStdU16String(), u"text"};
}

void AppendMany(LogPane& log, int count) {
  for (int i = 1; i <= count; ++i) log.Append(Entry(i));
}

}  // namespace

class LogPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void rowLimit_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstTitle");
    QTest::newRow("1499 kept") << 1499 << 1499 << "1";
    QTest::newRow("1500 empties") << 1500 << 0 << "";
    QTest::newRow("1501 starts again") << 1501 << 1 << "1501";
  }

  void rowLimit() {
    QFETCH(int, entries);
    QFETCH(int, rows);
    QFETCH(QString, firstTitle);
    LogPane log;
    AppendMany(log, entries);
    QCOMPARE(log.View().Model().rowCount(), rows);
    QCOMPARE(log.RowCounter(), rows);
    QCOMPARE(log.View().Model().CellText(0, 0), firstTitle);
  }

  void levelColoursAllThreeCells_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("0 black") << 0 << QColor(0, 0, 0);
    QTest::newRow("1 green") << 1 << QColor(0, 255, 0);
    QTest::newRow("2 orange") << 2 << QColor(200, 65, 20);
    QTest::newRow("3 red") << 3 << QColor(255, 0, 0);
    QTest::newRow("7 default") << 7 << QColor(0, 0, 0);
  }

  void levelColoursAllThreeCells() {
    QFETCH(int, level);
    QFETCH(QColor, colour);
    LogPane log;
    log.Append(Entry(1, static_cast<uint8_t>(level)));
    const QAbstractItemModel& model = log.View().Model();
    for (int column = 0; column < 3; ++column) {
      QCOMPARE(model.index(0, column).data(Qt::ForegroundRole).value<QColor>(), colour);
      QCOMPARE(model.index(0, column).data(Qt::BackgroundRole).value<QColor>(),
               QColor(255, 255, 255));
    }
  }

  void rowHoldsTitleLocalTimeAndTextUnderTheirHeaders() {
    LogPane log;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    log.Append({0, u"New Task", u"新建任务:/img/a.dsk,请稍等..."});
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    QCOMPARE(log.View().Model().CellText(0, 0), QStringLiteral("New Task"));
    QCOMPARE(log.View().Model().CellText(0, 2), QStringLiteral("新建任务:/img/a.dsk,请稍等..."));
    QStringList headers;
    for (int column = 0; column < log.View().Model().columnCount(); ++column) {
      headers << log.View().Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QCOMPARE(headers, (QStringList{"标题", "时间", "提示"}));
    const QString stamp = log.View().Model().CellText(0, 1);
    QCOMPARE(stamp.size(), 19);
    const QDateTime when = QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(when.isValid(), qPrintable(stamp));
    QVERIFY(when >= before.addMSecs(-before.time().msec()) && when <= after);
  }

  void newestRowIsScrolledIntoView() {
    LogPane log;
    log.resize(600, 120);
    log.show();
    QVERIFY(QTest::qWaitForWindowExposed(&log));
    AppendMany(log, 299);
    QApplication::processEvents();  // entries arrive one event at a time
    log.Append(Entry(300));
    const QRect last = log.View().visualRect(log.View().Model().index(299, 0));
    QVERIFY(log.View().viewport()->rect().contains(last));
  }

  void savedBytes() {
    LogPane log;
    QCOMPARE(log.FileBytes(), QByteArray("\xFF\xFE", 2));
    log.Append({3, u"错", u"a\tb\r\nc"});
    log.Append({0, u"Save", u""});
    const QString t0 = log.View().Model().CellText(0, 1);
    const QString t1 = log.View().Model().CellText(1, 1);
    QByteArray expected("\xFF\xFE\x19\x95\x09\x00", 6);  // mark, "错", tab
    expected += Utf16Le(t0);
    // The text goes out unchanged, tab and line break included.
    expected += QByteArray(
        "\x09\x00"
        "a\0\x09\0b\0\r\0\n\0c\0\r\0\n\0",
        18);
    expected += Utf16Le(QStringLiteral("Save\t") + t1 + QStringLiteral("\t\r\n"));
    QCOMPARE(log.FileBytes(), expected);
  }

  // A save replaces a whole older file; one that cannot be written warns.
  void saveLogFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velkor.log"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();
    LogPane log;
    QString why;
    QVERIFY(log.WriteFile(path, &why));
    QCOMPARE(FileBytes(path), QByteArray("\xFF\xFE", 2));

    const QString missing = dir.filePath(QStringLiteral("missing/folder/velkor.log"));
    log.Append(Entry(1));
    ModalSeen seen;
    CloseNextModal(&seen);
    log.SaveTo(missing);
    QVERIFY(seen.shown);
    QCOMPARE(seen.title, QStringLiteral("警告"));
    QVERIFY(seen.text.contains(missing));
    QVERIFY(!QFile::exists(missing));
  }

  // A worker's entry is added before its call returns; so is one from the
  // pane's own thread, without waiting on itself.
  void entryIsAddedBeforeTheCallReturns() {
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
    QCOMPARE(log.View().Model().rowCount(), kEntries);
    QCOMPARE(log.View().Model().CellText(kEntries - 1, 0), QString::number(kEntries));
    log.Sink().Append(Entry(kEntries + 1));
    QCOMPARE(log.View().Model().rowCount(), kEntries + 1);
  }

  void contextMenuNeedsASelectedRow() {
    LogPane log;
    log.resize(600, 200);
    log.show();
    QVERIFY(QTest::qWaitForWindowExposed(&log));
    AppendMany(log, 3);
    auto* popup = log.findChild<QMenu*>(QStringLiteral("logPopup"));
    const QPoint onRow = log.View().visualRect(log.View().Model().index(1, 0)).center();
    emit log.View().customContextMenuRequested(onRow);
    QVERIFY(!popup->isVisible());

    log.View().selectRow(1);
    emit log.View().customContextMenuRequested(onRow);
    QVERIFY(popup->isVisible());
    QCOMPARE(ActionItems(popup->actions()), (QStringList{"清除日志:32798", "保存日志:32799"}));
    popup->actions().constFirst()->trigger();
    QCOMPARE(log.View().Model().rowCount(), 0);
    QCOMPARE(log.RowCounter(), 0);
  }
};

QTEST_MAIN(LogPaneTest)
#include "log_pane_test.moc"
