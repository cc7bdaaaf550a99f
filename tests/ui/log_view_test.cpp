// The log's list: per-cell text colours, what is ignored, and a fresh start
// after deleting every row.
#include <QAbstractItemModelTester>
#include <QTest>

#include "ui/log_view.h"

using velkor::LogModel;
using velkor::LogView;

namespace {

QColor Text(LogView& list, int row, int column) {
  return list.model()->index(row, column).data(Qt::ForegroundRole).value<QColor>();
}

QColor Back(LogView& list, int row, int column) {
  return list.model()->index(row, column).data(Qt::BackgroundRole).value<QColor>();
}

// A list with columns a, b, c, d and three rows r0, r1, r2.
void Fill(LogView& list) {
  list.Model().SetHeaders({"a", "b", "c", "d"});
  for (int row = 0; row < 3; ++row) list.Model().InsertRow(row, QStringLiteral("r%1").arg(row));
}

}  // namespace

class LogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void modelKeepsTheItemModelContract() {
    LogView list;
    QAbstractItemModelTester tester(list.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    Fill(list);
    list.Model().SetCellText(1, 2, QStringLiteral("x"));
    list.Model().SetCellColour(2, 3, qRgb(1, 2, 3));
    list.Model().Clear();
    list.Model().InsertRow(0, QStringLiteral("again"));
  }

  // A colour set on one cell leaves the row's other cells and other rows
  // black on white; a second colour on a cell replaces the first.
  void cellsKeepTheirOwnColours() {
    LogView list;
    Fill(list);
    list.Model().SetCellColour(1, 2, qRgb(200, 65, 20));
    list.Model().SetCellColour(0, 3, qRgb(0, 255, 0));
    list.Model().SetCellColour(0, 0, qRgb(255, 0, 0));
    list.Model().SetCellColour(0, 0, qRgb(9, 9, 9));
    const QColor black(0, 0, 0);
    const QList<QList<QColor>> expected = {{QColor(9, 9, 9), black, black, QColor(0, 255, 0)},
                                           {black, black, QColor(200, 65, 20), black},
                                           {black, black, black, black}};
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 4; ++column) {
        QCOMPARE(Text(list, row, column), expected[row][column]);
        QCOMPARE(Back(list, row, column), QColor(255, 255, 255));
      }
    }
  }

  void cellOutsideTheListIsIgnored_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row -1") << -1 << 0;
    QTest::newRow("row = count") << 3 << 0;
    QTest::newRow("column -1") << 0 << -1;
    QTest::newRow("column = header count") << 0 << 4;
  }

  void cellOutsideTheListIsIgnored() {
    QFETCH(int, row);
    QFETCH(int, column);
    LogView list;
    Fill(list);
    list.Model().SetCellColour(row, column, qRgb(255, 0, 0));
    list.Model().SetCellText(row, column, QStringLiteral("ignored"));
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 4; ++c) QCOMPARE(Text(list, r, c), QColor(0, 0, 0));
    }
    QCOMPARE(list.Model().rowCount(), 3);
    QCOMPARE(list.Model().CellText(row, column), QString());
  }

  void insertPlacesRowsAndReportsWhere_data() {
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("placed");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("front") << 0 << 0 << QStringList{"new", "r0", "r1", "r2"};
    QTest::newRow("middle") << 2 << 2 << QStringList{"r0", "r1", "new", "r2"};
    QTest::newRow("end") << 3 << 3 << QStringList{"r0", "r1", "r2", "new"};
    QTest::newRow("past end") << 9 << 3 << QStringList{"r0", "r1", "r2", "new"};
  }

  void insertPlacesRowsAndReportsWhere() {
    QFETCH(int, at);
    QFETCH(int, placed);
    QFETCH(QStringList, order);
    LogView list;
    Fill(list);
    list.Model().SetCellColour(2, 0, qRgb(255, 0, 0));
    QCOMPARE(list.Model().InsertRow(at, QStringLiteral("new")), placed);
    QStringList shown;
    for (int row = 0; row < list.Model().rowCount(); ++row) shown << list.Model().CellText(row, 0);
    QCOMPARE(shown, order);
    // The colour stays with its row "r2" wherever that row moved.
    QCOMPARE(Text(list, static_cast<int>(order.indexOf("r2")), 0), QColor(255, 0, 0));
  }

  void afterDeleteAllANewRowDrawsBlackOnWhite() {
    LogView list;
    Fill(list);
    list.Model().SetCellColour(0, 1, qRgb(255, 0, 0));
    list.Model().Clear();
    QCOMPARE(list.Model().rowCount(), 0);
    QCOMPARE(list.Model().InsertRow(0, QStringLiteral("fresh")), 0);
    for (int column = 0; column < 4; ++column) {
      QCOMPARE(Text(list, 0, column), QColor(0, 0, 0));
      QCOMPARE(Back(list, 0, column), QColor(255, 255, 255));
    }
  }

  void colourIsDrawn() {
    LogView list;
    Fill(list);
    list.Model().SetCellText(0, 1, QStringLiteral("█████"));
    list.Model().SetCellColour(0, 1, qRgb(255, 0, 0));
    list.resize(400, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QImage image = list.viewport()->grab().toImage();
    const QRect cell = list.visualRect(list.model()->index(0, 1));
    int red = 0;
    for (int x = cell.left(); x <= cell.right(); ++x) {
      for (int y = cell.top(); y <= cell.bottom(); ++y) {
        const QColor pixel = image.pixelColor(x, y);
        if (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80) ++red;
      }
    }
    QVERIFY2(red > 10, qPrintable(QString::number(red)));
  }
};

QTEST_MAIN(LogViewTest)
#include "log_view_test.moc"
