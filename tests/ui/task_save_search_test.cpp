// Saving and searching with the real dialogs and workers: the picture scan
// and the copy of its ticked files, the text export of ticked rows, and both
// kinds of search.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include "res/command_ids.h"
#include "tests/fixtures/image_builder.h"
#include "tests/ui/desktop_test_support.h"
#include "ui/media_scan_dialog.h"
#include "ui/search_dialog.h"

using velkor::fixtures::kMiB;

namespace {

QByteArray ImageBytes(uint64_t offset, uint64_t length) {
  return FileBytes(SamplePath()).mid(qsizetype(offset), qsizetype(length));
}

// Runs a search through the real dialog.
void AnswerSearchDialog(const QString& source, const QString& encoding, const QString& text) {
  OnNextDialog<velkor::SearchDialog>([=](velkor::SearchDialog* dialog) {
    Child<QRadioButton>(*dialog, source)->click();
    Child<QRadioButton>(*dialog, encoding)->click();
    Child<QLineEdit>(*dialog, QStringLiteral("searchEdit"))->setText(text);
    Click(*dialog, "confirmButton");
  });
}

}  // namespace

class TaskSaveSearchTest : public QObject {
  Q_OBJECT

 private slots:
  // The sample's pictures lie in the sixth MiB: a PNG, a BMP 64 KiB later
  // and a JPG 64 KiB after that.
  void pictureScanListsAndSaveCopiesTheTickedFiles() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    OnNextDialog<velkor::MediaScanDialog>([](velkor::MediaScanDialog* dialog) {
      Child<QCheckBox>(*dialog, QStringLiteral("formatPNG"))->setChecked(true);
      Child<QCheckBox>(*dialog, QStringLiteral("formatBMP"))->setChecked(true);
      Child<QLineEdit>(*dialog, QStringLiteral("positionEdit"))->setText("10240");
      Child<QLineEdit>(*dialog, QStringLiteral("sizeEdit"))->setText("2048");
      Child<QLineEdit>(*dialog, QStringLiteral("fileSizeEdit"))->setText("100000");
      Click(*dialog, "confirmButton");
    });
    QVERIFY(t.RunCommand(velkor::ID_SCAN_PICTURE));
    QCOMPARE(t.results.ActiveTab(), 10);
    velkor::ResultListModel& found = t.results.List(10).Model();
    const std::vector<velkor::RowTexts> expected{{u"0.png", u"5242880", u"65536"},
                                                 {u"1.bmp", u"5308416", u"65536"},
                                                 {u"2.jpg", u"5373952", u"100000"}};
    QCOMPARE(found.RowCount(), size_t{3});
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 3; ++column) {
        QCOMPARE(found.CellText(size_t(row), size_t(column)),
                 expected[size_t(row)][size_t(column)]);
      }
    }
    QCOMPARE(t.LogRows().last(), QStringLiteral("Scan|扫描结束"));

    // Row 1's name is taken by a folder, so it cannot be written.
    QTemporaryDir out;
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("1.bmp")));
    found.SetAllChecked(true);
    t.prompts.folders << out.path() + QLatin1Char('/');
    QVERIFY(t.RunCommand(velkor::ID_SAVE));
    QCOMPARE(FileBytes(out.filePath("0.png")), ImageBytes(5 * kMiB, 65536));
    QCOMPARE(FileBytes(out.filePath("2.jpg")), ImageBytes(5 * kMiB + 128 * 1024, 100000));
    QCOMPARE(found.CheckedRows(), std::vector<size_t>{1});
    const QStringList log = t.LogRows();
    QVERIFY(log.contains(QStringLiteral("Save|保存路径%1,请稍等...").arg(out.path())));
    QVERIFY(log.contains(QStringLiteral("Save|保存%1/1.bmp失败").arg(out.path())));
    QCOMPARE(log.last(), QStringLiteral("Save|保存结束"));
    QVERIFY(!t.progress.isVisible());
  }

  void textExportWritesTheTickedRows_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("nameEnd");
    QTest::newRow("short messages") << 0 << "-信息.txt";
    QTest::newRow("phone book") << 1 << "-电话薄.txt";
    QTest::newRow("call records") << 2 << "-通话记录.txt";
    QTest::newRow("all contacts") << 3 << "-其他记录.txt";
    QTest::newRow("WeChat") << 7 << "-微信.txt";
  }

  void textExportWritesTheTickedRows() {
    QFETCH(int, tab);
    QFETCH(QString, nameEnd);
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    velkor::ResultListModel& list = t.results.List(tab).Model();
    QVERIFY(list.RowCount() > 3);
    list.SetChecked(1, true);
    list.SetChecked(3, true);
    t.results.SetActiveTab(tab);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("export.txt"));
    t.prompts.files << path;
    t.window.RunCommand(velkor::ID_SAVE);

    const QRegularExpression name(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d") +
                                  QRegularExpression::escape(nameEnd) + QLatin1Char('$'));
    QVERIFY2(name.match(t.prompts.saveDefaultName).hasMatch(),
             qPrintable(t.prompts.saveDefaultName));
    QByteArray expected("\xFF\xFE", 2);
    for (int row : {1, 3}) {
      for (int column = 0; column < list.columnCount(); ++column) {
        expected += Utf16Le(QString::fromStdU16String(list.CellText(size_t(row), size_t(column))));
        expected += Utf16Le(QStringLiteral("\r\n"));
      }
      expected += Utf16Le(QStringLiteral("\r\n"));
    }
    QCOMPARE(FileBytes(path), expected);
    QVERIFY(t.prompts.texts.isEmpty());
    QVERIFY(list.IsChecked(1));  // ticks stay
  }

  void exportThatCannotBeWrittenWarns() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    t.results.SetActiveTab(1);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("missing/export.txt"));
    t.prompts.files << path;
    t.window.RunCommand(velkor::ID_SAVE);
    QCOMPARE(t.prompts.texts, QStringList{QStringLiteral("保存%1失败").arg(path)});
  }

  void emptyListsSaveNothingAndAskNothing_data() {
    QTest::addColumn<int>("tab");
    QTest::newRow("record list") << 4;
    QTest::newRow("found files") << 10;
  }

  void emptyListsSaveNothingAndAskNothing() {
    QFETCH(int, tab);
    TaskDesktop t;
    t.results.SetActiveTab(tab);
    t.window.RunCommand(velkor::ID_SAVE);
    QVERIFY(t.prompts.saveDefaultName.isEmpty());
    QVERIFY(!t.prompts.folderAsked);
    QVERIFY(t.prompts.texts.isEmpty());
    QVERIFY(!t.controller.Busy());
  }

  void searchInResultsSelectsTheMatchingRows() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    // The WeChat contact of row 0 of the WeChat messages; case does not
    // matter.
    AnswerSearchDialog("sourceResults", "encodingUtf8", QStringLiteral("WXID_15F0"));
    t.window.RunCommand(velkor::ID_SEARCH);
    velkor::ResultListView& wechat = t.results.List(7);
    const QModelIndexList selected = wechat.selectionModel()->selectedRows();
    QVERIFY(!selected.isEmpty());
    int matching = 0;
    for (int row = 0; row < int(wechat.Model().RowCount()); ++row) {
      bool holds = false;
      for (int column = 0; column < 4; ++column) {
        holds |= t.Cell(7, row, column).contains(QStringLiteral("wxid_15f0"));
      }
      matching += holds;
      QCOMPARE(wechat.selectionModel()->isRowSelected(row), holds);
    }
    QCOMPARE(t.results.ActiveTab(), 7);
    QCOMPARE(t.LogRows().last(),
             QStringLiteral("Search|结果中搜索\"WXID_15F0\": 微信通讯记录 %1 行").arg(matching));
    QVERIFY(t.results.List(0).selectionModel()->selectedRows().isEmpty());

    AnswerSearchDialog("sourceResults", "encodingUtf8", QStringLiteral("不会出现的文本"));
    t.window.RunCommand(velkor::ID_SEARCH);
    QCOMPARE(t.LogRows().last(), QStringLiteral("Search|结果中搜索\"不会出现的文本\": 没有找到"));
    QVERIFY(wechat.selectionModel()->selectedRows().isEmpty());
  }

  // The image holds one text per encoding, each across a window boundary.
  void searchInTheImageFindsHitsAcrossWindows_data() {
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qulonglong>("offset");
    QTest::addColumn<int>("dots");  // zeros either side, shown as '.'
    QTest::newRow("UTF-8") << "encodingUtf8"
                           << "证据文本" << qulonglong(kMiB - 5) << 16;
    QTest::newRow("ASCII") << "encodingAscii"
                           << "needle" << qulonglong(2 * kMiB - 3) << 16;
    QTest::newRow("UNICODE") << "encodingUnicode"
                             << "needle" << qulonglong(3 * kMiB - 5) << 8;
  }

  void searchInTheImageFindsHitsAcrossWindows() {
    QFETCH(QString, encoding);
    QFETCH(QString, text);
    QFETCH(qulonglong, offset);
    QFETCH(int, dots);
    velkor::fixtures::ImageBuilder image(4 * kMiB, velkor::fixtures::Filler::kZeros);
    const QByteArray utf8 = QStringLiteral("证据文本").toUtf8();
    image.Place(kMiB - 5, "utf-8", {utf8.begin(), utf8.end()});
    image.Place(2 * kMiB - 3, "ascii", {'n', 'e', 'e', 'd', 'l', 'e'});
    const QByteArray utf16 = Utf16Le(QStringLiteral("needle"));
    image.Place(3 * kMiB - 5, "utf-16", {utf16.begin(), utf16.end()});
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("search.img"));
    image.WriteFile(path.toStdString());

    TaskDesktop t;
    QVERIFY(t.NewTask(path));
    AnswerSearchDialog("sourceImage", encoding, text);
    QVERIFY(t.RunCommand(velkor::ID_SEARCH));
    QStringList hits;
    for (const QString& row : t.LogRows()) {
      if (row.startsWith(QStringLiteral("Search|") + path)) hits << row;
    }
    const QString around(dots, QLatin1Char('.'));
    QCOMPARE(
        hits,
        QStringList{
            QStringLiteral("Search|%1,位置%2: %3%4%3").arg(path).arg(offset).arg(around, text)});
    QCOMPARE(t.LogRows().last(), QStringLiteral("Search|搜索结束,找到 1 处"));
    QVERIFY(!t.progress.isVisible());
  }
};

QTEST_MAIN(TaskSaveSearchTest)
#include "task_save_search_test.moc"
