// Saving and searching with the real dialogs and workers: the picture scan,
// the copy of its ticked files and their end with their task, the text export
// of ticked rows, and both kinds of search.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include "tests/fixtures/image_builder.h"
#include "tests/ui/desktop_test_support.h"
#include "ui/media_scan_dialog.h"
#include "ui/search_dialog.h"

namespace {

void AnswerSearchDialog(const QString& source, const QString& encoding, const QString& text) {
  OnNextDialog<velkor::SearchDialog>([=](velkor::SearchDialog& dialog) {
    Child<QRadioButton>(dialog, source)->click();
    Child<QRadioButton>(dialog, encoding)->click();
    Child<QLineEdit>(dialog, "searchEdit")->setText(text);
    Child(dialog, "confirmButton")->click();
  });
}

}  // namespace

class TaskSaveSearchTest : public QObject {
  Q_OBJECT

 private slots:
  // The sample's pictures lie in the sixth MiB: a PNG, a BMP 64 KiB later
  // and a JPG 64 KiB after that. Their offsets mean nothing in another
  // image, so they go with their task.
  void pictureScanAndSaveOfTheTickedFiles() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    OnNextDialog<velkor::MediaScanDialog>([](velkor::MediaScanDialog& dialog) {
      Child<QCheckBox>(dialog, "formatPNG")->setChecked(true);
      Child<QCheckBox>(dialog, "formatBMP")->setChecked(true);
      Child<QLineEdit>(dialog, "positionEdit")->setText("10240");
      Child<QLineEdit>(dialog, "sizeEdit")->setText("2048");
      Child<QLineEdit>(dialog, "fileSizeEdit")->setText("100000");
      Child(dialog, "confirmButton")->click();
    });
    QVERIFY(t.RunCommand(velkor::ID_SCAN_PICTURE));
    QCOMPARE(t.results.ActiveTab(), 10);
    QStringList rows;
    for (int row = 0; row < int(t.results.RowCount(10)); ++row) {
      rows << t.Cell(10, row, 0) + ' ' + t.Cell(10, row, 1) + ' ' + t.Cell(10, row, 2);
    }
    QCOMPARE(rows,
             QStringList({"0.png 5242880 65536", "1.bmp 5308416 65536", "2.jpg 5373952 100000"}));
    QCOMPARE(t.LogRows().last(), QStringLiteral("Scan|扫描结束"));

    // Row 1's name is taken by a folder, so it cannot be written.
    QTemporaryDir out;
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("1.bmp")));
    velkor::ResultListModel& found = t.results.List(10).Model();
    found.SetAllChecked(true);
    t.prompts.folders << out.path() + '/';
    QVERIFY(t.RunCommand(velkor::ID_SAVE));
    const QByteArray image = FileBytes(SamplePath());
    QCOMPARE(FileBytes(out.filePath("0.png")), image.mid(5 * kMiB, 65536));
    QCOMPARE(FileBytes(out.filePath("2.jpg")), image.mid(5 * kMiB + 128 * 1024, 100000));
    QCOMPARE(found.CheckedRows(), std::vector<size_t>{1});
    const QStringList log = t.LogRows();
    QVERIFY(log.contains(QStringLiteral("Save|保存路径%1,请稍等...").arg(out.path())));
    QVERIFY(log.contains(QStringLiteral("Save|保存%1/1.bmp失败").arg(out.path())));
    QCOMPARE(log.last(), QStringLiteral("Save|保存结束"));
    QVERIFY(!t.progress.isVisible());

    QVERIFY(t.NewTask(SamplePath()));
    QCOMPARE(found.RowCount(), size_t{0});
    t.prompts.folderAsked = false;
    found.SetAllChecked(true);
    t.window.RunCommand(velkor::ID_SAVE);
    QVERIFY(!t.prompts.folderAsked);
  }

  // Each record list saves its ticked rows, ticks kept, under a dated name;
  // a file that cannot be written warns. Search in results selects the rows
  // of the WeChat list holding the text, in any case.
  void textExportAndSearchInResults() {
    TaskDesktop t;
    QVERIFY(t.NewTask(SamplePath()));
    QTemporaryDir out;
    for (const auto& [tab, end] :
         {std::pair{0, "-信息.txt"}, std::pair{1, "-电话薄.txt"}, std::pair{2, "-通话记录.txt"},
          std::pair{3, "-其他记录.txt"}, std::pair{7, "-微信.txt"}}) {
      velkor::ResultListModel& list = t.results.List(tab).Model();
      QVERIFY(list.RowCount() > 3);
      list.SetChecked(1, true);
      list.SetChecked(3, true);
      t.results.SetActiveTab(tab);
      const QString path = out.filePath(end);
      t.prompts.files << path;
      t.window.RunCommand(velkor::ID_SAVE);
      const QRegularExpression name("^\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d" +
                                    QRegularExpression::escape(end) + '$');
      QVERIFY2(name.match(t.prompts.saveDefaultName).hasMatch(), end);
      QByteArray expected("\xFF\xFE", 2);
      for (int row : {1, 3}) {
        for (int column = 0; column < list.columnCount(); ++column) {
          expected += Utf16Le(t.Cell(tab, row, column) + "\r\n");
        }
        expected += Utf16Le("\r\n");
      }
      QCOMPARE(FileBytes(path), expected);
      QVERIFY(list.IsChecked(1));
    }
    QVERIFY(t.prompts.texts.isEmpty());
    const QString missing = out.filePath("missing/export.txt");
    t.prompts.files << missing;
    t.window.RunCommand(velkor::ID_SAVE);
    QCOMPARE(t.prompts.texts, QStringList{QStringLiteral("保存%1失败").arg(missing)});

    AnswerSearchDialog("sourceResults", "encodingUtf8", "WXID_15F0");
    t.window.RunCommand(velkor::ID_SEARCH);
    QItemSelectionModel& selection = *t.results.List(7).selectionModel();
    int matching = 0;
    for (int row = 0; row < int(t.results.RowCount(7)); ++row) {
      bool holds = false;
      for (int column = 0; column < 4; ++column)
        holds |= t.Cell(7, row, column).contains("wxid_15f0");
      matching += holds;
      QCOMPARE(selection.isRowSelected(row), holds);
    }
    QVERIFY(matching > 0);
    QCOMPARE(t.results.ActiveTab(), 7);
    QCOMPARE(t.LogRows().last(),
             QStringLiteral("Search|结果中搜索\"WXID_15F0\": 微信通讯记录 %1 行").arg(matching));
    QVERIFY(t.results.List(0).selectionModel()->selectedRows().isEmpty());
    AnswerSearchDialog("sourceResults", "encodingUtf8", "不会出现的文本");
    t.window.RunCommand(velkor::ID_SEARCH);
    QCOMPARE(t.LogRows().last(), QStringLiteral("Search|结果中搜索\"不会出现的文本\": 没有找到"));
    QVERIFY(selection.selectedRows().isEmpty());
  }

  // The image holds one text per encoding, each across a window boundary;
  // each search finds its own alone, shown with the zeros either side.
  void searchInTheImageFindsHitsAcrossWindows() {
    velkor::fixtures::ImageBuilder image(4 * kMiB, velkor::fixtures::Filler::kZeros);
    const QByteArray texts[] = {QStringLiteral("证据文本").toUtf8(), "needle", Utf16Le("needle")};
    const uint64_t offsets[] = {kMiB - 5, 2 * kMiB - 3, 3 * kMiB - 5};
    for (int i = 0; i < 3; ++i) image.Place(offsets[i], "text", {texts[i].begin(), texts[i].end()});
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("search.img"));
    image.WriteFile(path.toStdString());
    TaskDesktop t;
    QVERIFY(t.NewTask(path));
    for (const auto& [encoding, text, i, dots] : {std::tuple{"encodingUtf8", "证据文本", 0, 16},
                                                  std::tuple{"encodingAscii", "needle", 1, 16},
                                                  std::tuple{"encodingUnicode", "needle", 2, 8}}) {
      AnswerSearchDialog("sourceImage", encoding, text);
      QVERIFY(t.RunCommand(velkor::ID_SEARCH));
      const QString hit = QStringLiteral("Search|%1,位置%2: %3%4%3").arg(path).arg(offsets[i]);
      QCOMPARE(t.LogRows().filter("Search|" + path).last(), hit.arg(QString(dots, '.'), text));
      QCOMPARE(t.LogRows().last(), QStringLiteral("Search|搜索结束,找到 1 处"));
    }
    QCOMPARE(t.LogRows().filter("Search|" + path).size(), 3);
  }
};

QTEST_MAIN(TaskSaveSearchTest)
#include "task_save_search_test.moc"
