// The eleven result lists: model contract, tick-all and clear-all, clicks on
// and below rows, columns and their widths, markup shown as text.
#include <QAbstractItemModelTester>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "tests/ui/ui_test_support.h"
#include "ui/detail_pane.h"
#include "ui/result_pane.h"

using velkor::ResultListView;
using velkor::ResultPane;
using velkor::RowTexts;

namespace {

std::vector<RowTexts> Rows(int count) {
  std::vector<RowTexts> rows;
  for (int i = 0; i < count; ++i) {
    const std::u16string n = QString::number(i + 1).toStdU16String();
    rows.push_back({n, u"1380000" + n, u"接受", u"2009-2-13 23:31:30", u"内容" + n});
  }
  return rows;
}

QPoint RowCentre(const ResultListView& list, int row) {
  return list.visualRect(list.model()->index(row, 1)).center();
}

void RightClick(ResultListView& list, QPoint at) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
  QApplication::sendEvent(list.viewport(), &event);
}

QMenu* Popup(ResultListView& list) {
  return list.findChild<QMenu*>(QStringLiteral("listPopup"));
}

QAction* PopupAction(ResultListView& list, int id) {
  for (QAction* action : Popup(list)->actions()) {
    if (action->data().toInt() == id) return action;
  }
  return nullptr;
}

int Ticked(const ResultListView& list) {
  return int(list.Model().CheckedRows().size());
}

// A view shown at a known size, with a detail pane, ready for clicks.
struct ShownView {
  ShownView() : view(500) {
    view.SetDetailPane(&detail);
    view.resize(500, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
  }
  ResultPane view;
  velkor::DetailPane detail;
};

}  // namespace

class ResultListsTest : public QObject {
  Q_OBJECT

 private slots:
  void modelKeepsTheItemModelContract() {
    velkor::ResultListModel model({"索引", "内容"});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.SetRows(Rows(20));
    model.AppendRow({u"21", u"x"});
    model.SetAllChecked(true);
    model.SetChecked(3, false);
    model.Clear();
    model.SetAllChecked(true);  // nothing to tick; no notification with an empty range
  }

  void popupTicksOrClearsOnlyItsOwnList_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("expectedTicks");
    QTest::newRow("全选") << 32804 << 6;
    QTest::newRow("反选") << 32805 << 0;
  }

  void popupTicksOrClearsOnlyItsOwnList() {
    QFETCH(int, command);
    QFETCH(int, expectedTicks);
    ShownView shown;
    ResultListView& sms = shown.view.List(0);
    ResultListView& calls = shown.view.List(2);
    shown.view.SetRows(0, Rows(6));
    shown.view.SetRows(2, Rows(4));
    sms.Model().SetChecked(1, true);
    calls.Model().SetChecked(2, true);

    RightClick(sms, RowCentre(sms, 0));
    QVERIFY(Popup(sms)->isVisible());
    PopupAction(sms, command)->trigger();

    QCOMPARE(Ticked(sms), expectedTicks);
    QCOMPARE(Ticked(calls), 1);
    QVERIFY(calls.Model().IsChecked(2));
  }

  void tickAllIsOneRangedChange() {
    ResultPane view(500);
    ResultListView& list = view.List(1);
    view.SetRows(1, Rows(1000));
    QSignalSpy changed(list.model(), &QAbstractItemModel::dataChanged);
    list.RunPopupCommand(32804);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toModelIndex().row(), 0);
    QCOMPARE(changed[0][1].toModelIndex().row(), 999);
    QCOMPARE(view.TickedRows(1).size(), size_t{1000});
  }

  void popupOffersSaveTickAndClearAndSaveReachesTheCommand() {
    ShownView shown;
    CommandRecorder recorder;
    shown.view.SetCommandTarget(&recorder);
    ResultListView& list = shown.view.List(3);
    shown.view.SetActiveTab(3);
    shown.view.SetRows(3, Rows(2));
    RightClick(list, RowCentre(list, 1));
    QCOMPARE(ActionItems(Popup(list)->actions()),
             (QStringList{"保存:32801", "全选:32804", "反选:32805"}));
    PopupAction(list, 32801)->trigger();
    QCOMPARE(recorder.calls, QStringList{"Save"});
  }

  void clickOnRowShowsDetailBelowRowsChangesNothing() {
    ShownView shown;
    ResultListView& list = shown.view.List(0);
    shown.view.SetRows(0, Rows(3));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 1));
    const QString shownDetail = shown.detail.Text();
    QVERIFY(shownDetail.contains(QStringLiteral("13800002")));

    const QPoint below(20, list.viewport()->height() - 5);
    QVERIFY(!list.indexAt(below).isValid());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(shown.detail.Text(), shownDetail);
    RightClick(list, below);
    QVERIFY(!Popup(list)->isVisible());
    QCOMPARE(Ticked(list), 0);
  }

  void tabsAndColumnsAtCreation_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("0") << 0 << "短信箱" << QStringList{"索引", "电话号码", "状态", "时间", "内容"}
                       << QList<int>{100, 100, 100, 100, 100};
    QTest::newRow("1") << 1 << "电话薄" << QStringList{"索引", "姓名", "电话号码"}
                       << QList<int>{166, 166, 166};
    QTest::newRow("2") << 2 << "通话记录" << QStringList{"索引", "姓名", "电话号码", "所属地",
                                                         "时间", "状态", "联系次数"}
                       << QList<int>{71, 71, 71, 71, 71, 71, 71};
    QTest::newRow("3") << 3 << "所有联系" << QStringList{"索引", "姓名", "电话号码", "所属地",
                                                         "时间", "状态", "联系次数", "内容"}
                       << QList<int>{62, 62, 62, 62, 62, 62, 62, 62};
    QTest::newRow("4") << 4 << "日历信息"
                       << QStringList{"索引",     "姓名", "电话号码", "号码归属地",
                                      "网络类型", "时间", "内容"}
                       << QList<int>{55, 55, 55, 55, 55, 55, 170};
    QTest::newRow("5") << 5 << "记事本信息" << QStringList{"索引", "姓名"} << QList<int>{250, 250};
    QTest::newRow("6") << 6 << "邮件来往记录" << QStringList{"索引", "姓名"}
                       << QList<int>{250, 250};
    QTest::newRow("7") << 7 << "微信通讯记录" << QStringList{"索引", "联系人", "时间", "内容"}
                       << QList<int>{250, 250, 250, 250};
    QTest::newRow("8") << 8 << "MSN通讯记录" << QStringList{"索引", "姓名"} << QList<int>{250, 250};
    QTest::newRow("9") << 9 << "QQ聊天记录" << QStringList{"索引", "姓名"} << QList<int>{250, 250};
    QTest::newRow("10") << 10 << "文件系统" << QStringList{"索引", "ID", "大小"}
                        << QList<int>{55, 55, 55};
  }

  void tabsAndColumnsAtCreation() {
    QFETCH(int, tab);
    QFETCH(QString, label);
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, widths);
    ResultPane view(500);
    auto* tabs = view.findChild<QTabWidget*>(QStringLiteral("resultTabs"));
    QCOMPARE(tabs->count(), 11);
    QCOMPARE(tabs->tabPosition(), QTabWidget::South);
    QCOMPARE(tabs->tabText(tab), label);
    QCOMPARE(tabs->widget(tab), &view.List(tab));
    ResultListView& list = view.List(tab);
    QStringList shownHeaders;
    QList<int> shownWidths;
    for (int column = 0; column < list.model()->columnCount(); ++column) {
      shownHeaders << list.model()->headerData(column, Qt::Horizontal).toString();
      shownWidths << list.columnWidth(column);
    }
    QCOMPARE(shownHeaders, headers);
    QCOMPARE(shownWidths, widths);
  }

  void resizingSharesWidthInFiveListsOnly_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("firstWidth");
    QTest::newRow("短信箱") << 0 << 140;
    QTest::newRow("电话薄") << 1 << 233;
    QTest::newRow("通话记录") << 2 << 100;
    QTest::newRow("所有联系") << 3 << 87;
    QTest::newRow("文件系统 in thirds") << 10 << 233;
    QTest::newRow("日历信息 kept") << 4 << 55;
    QTest::newRow("微信 kept") << 7 << 250;
    QTest::newRow("QQ kept") << 9 << 250;
  }

  void resizingSharesWidthInFiveListsOnly() {
    QFETCH(int, tab);
    QFETCH(int, firstWidth);
    ShownView shown;
    shown.view.resize(700, 400);
    QTRY_COMPARE(shown.view.width(), 700);
    QCOMPARE(shown.view.List(tab).columnWidth(0), firstWidth);
  }

  void markupInACellShowsAsText() {
    ShownView shown;
    ResultListView& list = shown.view.List(1);
    shown.view.SetActiveTab(1);
    shown.view.SetRows(1, {{u"1", u"<b>粗体</b>", u"<a href='x'>138</a>"}});
    QCOMPARE(list.model()->index(0, 1).data().toString(), QStringLiteral("<b>粗体</b>"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
    QCOMPARE(shown.detail.Text(), QStringLiteral("姓名:<b>粗体</b>\n电话号码:<a href='x'>138</a>"));
  }
};

QTEST_MAIN(ResultListsTest)
#include "result_lists_test.moc"
