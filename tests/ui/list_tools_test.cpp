// The list tools of the desktop program: sorting, the filter box, hiding
// repeated rows, provenance lines and the CSV export.
#include <QCheckBox>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include "engine/log_entries.h"
#include "engine/record_reports.h"
#include "engine/record_scan.h"
#include "engine/result_tabs.h"
#include "res/command_ids.h"
#include "tests/ui/desktop_test_support.h"
#include "ui/detail_pane.h"

using velkor::RowProvenance;

namespace {

// The calls list: 索引 姓名 电话号码 所属地 时间 状态 联系次数.
constexpr int kTimeColumn = 4;
constexpr int kCountColumn = 6;

// Time texts without leading zeros sort wrongly as text; counts too.
void FillCalls(velkor::ResultListView& list) {
  list.Model().SetRows({{u"1", u"b", u"138", u"", u"2023-10-2 1:0:0", u"", u"10"},
                        {u"2", u"A", u"138", u"", u"2023-9-30 23:5:1", u"", u"9"},
                        {u"3", u"c", u"138", u"", u"2024-1-1 0:0:0", u"", u"100"}});
  list.Model().SetProvenance({RowProvenance{{0}, {}, u"cell", 0, 1696208400},
                              RowProvenance{{16}, {}, u"cell", 0, 1696115101},
                              RowProvenance{{32}, {}, u"cell", 1, 1704067200}});
  list.Proxy().invalidate();
}

// The index column of the shown rows, top to bottom.
QStringList ShownIndexes(velkor::ResultListView& list) {
  QStringList shown;
  for (int row = 0; row < list.model()->rowCount(); ++row)
    shown << list.model()->index(row, 0).data().toString();
  return shown;
}

// The sample's stores as the engine finds them, for the provenance the
// desktop must show and export.
const velkor::RecordStores& SampleStores() {
  static const velkor::RecordStores stores = [] {
    velkor::RecordStores found;
    velkor::ScanRecords({.imagePath = SamplePath().toStdString()},
                        {velkor::kTypeSms | velkor::kTypePhoneBook | velkor::kTypeCalls}, found);
    return found;
  }();
  return stores;
}

}  // namespace

class ListToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void clickedColumnsSortAndSpaceTicksTheShownRow_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("count as a number") << QList<int>{kCountColumn} << QStringList{"2", "1", "3"};
    QTest::newRow("time by its instant") << QList<int>{kTimeColumn} << QStringList{"2", "1", "3"};
    QTest::newRow("time, second click descends")
        << QList<int>{kTimeColumn, kTimeColumn} << QStringList{"3", "1", "2"};
    QTest::newRow("name ignoring case") << QList<int>{1} << QStringList{"2", "1", "3"};
    QTest::newRow("index restores the found order")
        << QList<int>{kCountColumn, 0} << QStringList{"1", "2", "3"};
  }
  void clickedColumnsSortAndSpaceTicksTheShownRow() {
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, order);
    velkor::ResultPane pane(800);
    velkor::ResultListView& calls = pane.List(velkor::kTabCalls);
    FillCalls(calls);
    for (const int column : clicks) calls.SortByClickedColumn(column);
    QCOMPARE(ShownIndexes(calls), order);

    calls.setCurrentIndex(calls.model()->index(0, 2));
    QTest::keyClick(&calls, Qt::Key_Space);
    QCOMPARE(calls.Model().CheckedRows(), std::vector<size_t>{order[0].toULongLong() - 1});
  }

  void hiddenDuplicatesStayOutOfTickAll() {
    velkor::ResultPane pane(800);
    velkor::ResultListView& calls = pane.List(velkor::kTabCalls);
    FillCalls(calls);
    pane.HideDuplicatesBox().setChecked(true);
    QCOMPARE(ShownIndexes(calls), (QStringList{"1", "2"}));
    calls.RunPopupCommand(velkor::ID_LIST_TICK_ALL);
    QCOMPARE(pane.TickedRows(velkor::kTabCalls), (std::vector<size_t>{0, 1}));
    pane.HideDuplicatesBox().setChecked(false);
    QCOMPARE(ShownIndexes(calls), (QStringList{"1", "2", "3"}));
  }

  void detailPaneNamesWhereTheRowWasFound() {
    velkor::ResultPane pane(800);
    velkor::DetailPane detail;
    pane.SetDetailPane(&detail);
    pane.SetRows(velkor::kTabPhoneBook, {{u"1", u"张三", u"138"}, {u"2", u"张三", u"138"}});
    pane.SetProvenance(velkor::kTabPhoneBook,
                       {RowProvenance{{0x10F5AB, 0x200000}, u"sms.db", u"cell", 0, std::nullopt},
                        RowProvenance{{16}, {}, u"cell", 1, std::nullopt}});
    pane.SetActiveTab(velkor::kTabPhoneBook);
    pane.ShowDetail(0);
    const QStringList lines = detail.Text().split(QRegularExpression("[\r\n]+"));
    QCOMPARE(lines.mid(2), (QStringList{"偏移:0x10F5AB (1111467), 0x200000 (2097152)",
                                        "来源文件:sms.db", "发现方式:cell"}));
    pane.ShowDetail(1);
    QCOMPARE(detail.Text().split(QRegularExpression("[\r\n]+")).last(), QStringLiteral("重复于:1"));
  }

  // Export first: the filter then hides rows, while the tree keeps its totals.
  void exportWritesTickedRowsAndFilterKeepsMatchingRows() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    const int tab = velkor::kTabSms;
    const size_t total = t.results.RowCount(tab);
    QVERIFY(total > 3);
    t.results.SetActiveTab(tab);
    t.results.List(tab).Model().SetChecked(1, true);
    t.results.List(tab).Model().SetChecked(3, true);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sms.csv"));
    const QString missing = folder.filePath(QStringLiteral("no/such/folder/sms.csv"));
    t.prompts.files << path << missing;
    t.window.RunCommand(velkor::ID_EXPORT);
    QCOMPARE(t.prompts.saveDefaultName, QStringLiteral("信息.csv"));
    // The engine's writer is read back by a real CSV reader in the report
    // tests; here the desktop must hand it the ticked rows of the list.
    QCOMPARE(FileBytes(path),
             QByteArray::fromStdString(velkor::CsvExportBytes(
                 SampleStores(), tab, velkor::RowTextForm::kCodePage, std::vector<size_t>{1, 3})));
    const QJsonObject report =
        QJsonDocument::fromJson(FileBytes(folder.filePath("report.json"))).object();
    QCOMPARE(report["sha256"].toString().toLatin1(),
             QCryptographicHash::hash(FileBytes(SamplePath()), QCryptographicHash::Sha256).toHex());
    t.window.RunCommand(velkor::ID_EXPORT);
    QCOMPARE(t.prompts.texts.last(),
             QString::fromStdU16String(velkor::SaveFailedText(missing.toStdU16String())));

    QString needle = t.Cell(tab, 1, 4).left(3);
    for (QChar& c : needle) c = c.isUpper() ? c.toLower() : c.toUpper();
    int expected = 0;
    for (size_t row = 0; row < total; ++row) {
      QString texts;
      for (int column = 0; column < 5; ++column) texts += t.Cell(tab, int(row), column) + u'\0';
      expected += texts.contains(needle, Qt::CaseInsensitive) ? 1 : 0;
    }
    t.results.FilterBox().setText(needle);
    QCOMPARE(t.results.List(tab).model()->rowCount(), expected);
    QVERIFY(expected > 0 && size_t(expected) < total);
    QCOMPARE(t.tree.topLevelItem(0)->child(tab)->text(1), QString::number(total));
  }

};

QTEST_MAIN(ListToolsTest)
#include "list_tools_test.moc"
