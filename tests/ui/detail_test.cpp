// The detail pane: what a clicked row shows for each tab, and how each run
// of text is formatted.
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include "ui/detail_pane.h"
#include "ui/result_pane.h"

using velkor::DetailPane;
using velkor::ResultPane;
using velkor::RowTexts;

namespace {

struct Run {
  QString text;
  QColor colour;
  QString face;
  double points;
};

// The document as its runs; a paragraph break counts as a run "\n".
QList<Run> Runs(QTextEdit& edit) {
  QList<Run> runs;
  for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
    if (block != edit.document()->begin()) runs << Run{QStringLiteral("\n"), {}, {}, 0};
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      const QStringList faces = format.fontFamilies().toStringList();
      runs << Run{it.fragment().text(), format.foreground().color(),
                  faces.isEmpty() ? QString() : faces.constFirst(), format.fontPointSize()};
    }
  }
  return runs;
}

RowTexts RowFor(int tab) {
  switch (tab) {
    case 0:
      return {u"1", u"10086", u"接受", u"2009-2-13 23:31:30", u"你好"};
    case 1:
      return {u"1", u"张三", u"13800138000"};
    case 2:
      return {u"1", u"李四", u"13900139000", u"北京", u"2001-9-9 1:46:40", u"来电", u"3"};
    default:
      return {u"1", u"王五", u"13700137000", u"上海", u"1970-1-1 0:0:0", u"发出", u"2", u"晚上见"};
  }
}

}  // namespace

class DetailTest : public QObject {
  Q_OBJECT

 private slots:
  void detailTextOfEachTab_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("expected");
    QTest::newRow("短信箱") << 0
                            << "短信息号码:10086\n短信息时间:2009-2-13 23:31:30\n短信息内容:你好";
    QTest::newRow("电话薄") << 1 << "姓名:张三\n电话号码:13800138000";
    QTest::newRow("通话记录") << 2
                              << "姓名:李四\n电话号码:13900139000\n联系时间:2001-9-9 1:46:40\n"
                                 "联系次数:3";
    QTest::newRow("所有联系") << 3
                              << "姓名:王五\n电话号码:13700137000\n联系时间:1970-1-1 0:0:0\n"
                                 "联系次数:2\n联系内容:晚上见";
    for (int tab = 4; tab <= 10; ++tab) {
      QTest::addRow("tab %d has no layout", tab) << tab << "";
    }
  }

  void detailTextOfEachTab() {
    QFETCH(int, tab);
    QFETCH(QString, expected);
    ResultPane view(500);
    DetailPane detail;
    view.SetDetailPane(&detail);
    // Something shown before must go, also for a tab without a layout.
    detail.AppendRun(QStringLiteral("earlier record"), Qt::black, QStringLiteral("黑体"), 10);
    view.SetRows(tab, {RowFor(tab)});
    view.SetActiveTab(tab);
    view.ShowDetail(0);
    QCOMPARE(detail.Text(), expected);
  }

  void rowOutsideTheListShowsLabelsWithEmptyValues() {
    ResultPane view(500);
    DetailPane detail;
    view.SetDetailPane(&detail);
    view.SetRows(1, {RowFor(1)});
    view.SetActiveTab(1);
    view.ShowDetail(5);
    QCOMPARE(detail.Text(), QStringLiteral("姓名:\n电话号码:"));
  }

  void runsCarryTheirFaceColourAndSize() {
    ResultPane view(500);
    DetailPane detail;
    view.SetDetailPane(&detail);
    view.SetRows(1, {RowFor(1)});
    view.SetActiveTab(1);
    view.ShowDetail(0);
    QStringList runs;
    for (const Run& run : Runs(detail.Edit())) {
      runs << (run.text == QLatin1String("\n") ? QStringLiteral("break")
                                               : QStringLiteral("%1|%2|%3|%4")
                                                     .arg(run.text, run.colour.name(), run.face)
                                                     .arg(run.points));
    }
    // Labels in blue 黑体, values in teal 隶书, all at 10 points.
    QCOMPARE(runs, (QStringList{"姓名:|#1414c8|黑体|10", "张三|#0080c0|隶书|10", "break",
                                "电话号码:|#1414c8|黑体|10", "13800138000|#0080c0|隶书|10"}));
  }

  // Text goes in as one plain run, markup and length untouched, in exactly
  // the colour, face and size asked for, never bold, italic or underlined.
  void appendedTextIsOnePlainRun() {
    DetailPane detail;
    const QString text = QStringLiteral("<h1>big</h1><img src=x>&amp;") + QString(5000, u'长');
    detail.AppendRun(text, QColor(1, 2, 3), QStringLiteral("Times New Roman"), 1);
    QCOMPARE(detail.Text(), text);
    QCOMPARE(detail.Edit().document()->blockCount(), 1);
    const QTextCharFormat format =
        detail.Edit().document()->begin().begin().fragment().charFormat();
    QCOMPARE(format.fontWeight(), int(QFont::Normal));
    QVERIFY(!format.fontItalic());
    QVERIFY(!format.fontUnderline());
    QCOMPARE(format.fontPointSize(), 1.0);
    QCOMPARE(format.foreground().color(), QColor(1, 2, 3));
    QCOMPARE(format.fontFamilies().toStringList().constFirst(), QStringLiteral("Times New Roman"));
  }

  void facesFallBackToFacesOfTheSameStyle_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("lastResort");
    QTest::newRow("黑体") << "黑体"
                          << "sans-serif";
    QTest::newRow("隶书") << "隶书"
                          << "serif";
    QTest::newRow("Times New Roman") << "Times New Roman"
                                     << "serif";
    QTest::newRow("unknown face") << "Unknown Face"
                                  << "Unknown Face";
  }

  void facesFallBackToFacesOfTheSameStyle() {
    QFETCH(QString, face);
    QFETCH(QString, lastResort);
    const QStringList faces = velkor::FaceWithFallbacks(face);
    QCOMPARE(faces.constFirst(), face);
    QCOMPARE(faces.constLast(), lastResort);
  }
};

QTEST_MAIN(DetailTest)
#include "detail_test.moc"
