// The dialogs of the task commands: the task dialog's boxes, platforms, path
// choice and confirm; the search dialog's checks; the scan dialog's modes,
// defaults and validation; the progress dialog's events.
#include <atomic>
#include <thread>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "carving/carved_file.h"
#include "tests/ui/ui_test_support.h"
#include "ui/media_scan_dialog.h"
#include "ui/new_task_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/search_dialog.h"

using velkor::MediaScanDialog;
using velkor::NewTaskDialog;
using velkor::ProgressDialog;
using velkor::SearchDialog;

namespace {

QCheckBox* Check(QWidget& dialog, const QString& name) {
  return Child<QCheckBox>(dialog, name);
}
QRadioButton* Radio(QWidget& dialog, const QString& name) {
  return Child<QRadioButton>(dialog, name);
}
QLineEdit* Edit(QWidget& dialog, const QString& name) {
  return Child<QLineEdit>(dialog, name);
}

const QStringList kTypeBoxes{"typeSms",  "typePhoneBook", "typeCalls", "typeCalendar", "typeNotes",
                             "typeMail", "typeWeChat",    "typeMsn",   "typeQq"};
const QStringList kFormatBoxes{"formatJPG", "formatPNG", "formatPSD", "formatTIF",
                               "formatBMP", "formatGIF", "formatMP4", "formatMOV",
                               "formatAVI", "formatAMR", "formatMPG", "formatMTS"};

}  // namespace

class TaskDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void taskDialogStartsWithThreeTypesAndroidAndNoPath() {
    ScriptedPrompts prompts;
    NewTaskDialog dialog(prompts);
    QList<bool> ticked;
    for (const QString& box : kTypeBoxes) ticked << Check(dialog, box)->isChecked();
    QCOMPARE(ticked, (QList<bool>{true, true, true, false, false, false, false, false, false}));
    for (int brand = 0; brand < 8; ++brand) {
      QVERIFY(!Radio(dialog, QStringLiteral("brand%1").arg(brand))->isEnabled());
      QVERIFY(!Radio(dialog, QStringLiteral("brand%1").arg(brand))->isChecked());
    }
    QVERIFY(Radio(dialog, "platformAndroid")->isChecked());
    QVERIFY(Edit(dialog, "pathEdit")->isReadOnly());
    QVERIFY(Edit(dialog, "pathEdit")->text().isEmpty());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("任务"));
  }

  void eachTypeBoxSetsItsBit_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("bit");
    const uint bits[] = {0x001, 0x002, 0x004, 0x008, 0x010, 0x020, 0x040, 0x080, 0x100};
    const char* texts[] = {"短信箱", "电话薄", "通话记录", "日历", "记事本",
                           "邮件",   "微信",   "MSN",      "QQ"};
    for (int i = 0; i < kTypeBoxes.size(); ++i) {
      QTest::newRow(texts[i]) << kTypeBoxes[i] << texts[i] << bits[i];
    }
  }

  void eachTypeBoxSetsItsBit() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(uint, bit);
    ScriptedPrompts prompts;
    prompts.files << QStringLiteral("/images/phone.img");
    NewTaskDialog dialog(prompts);
    for (const QString& each : kTypeBoxes) Check(dialog, each)->setChecked(each == box);
    if (!box.isEmpty()) QCOMPARE(Check(dialog, box)->text(), text);
    Click(dialog, "browseButton");
    Click(dialog, "confirmButton");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.recordTypes(), bit);
    QCOMPARE(dialog.imagePath(), QStringLiteral("/images/phone.img"));
    QVERIFY(prompts.boxes.empty());
  }

  // A task looking for nothing would show a tree of zeros.
  void noTypeTickedWarnsAndStaysOpen() {
    ScriptedPrompts prompts;
    prompts.files << QStringLiteral("/images/phone.img");
    NewTaskDialog dialog(prompts);
    for (const QString& each : kTypeBoxes) Check(dialog, each)->setChecked(false);
    Click(dialog, "browseButton");
    Click(dialog, "confirmButton");
    QVERIFY(dialog.result() != int(QDialog::Accepted));
    QCOMPARE(prompts.boxes.size(), size_t{1});
  }

  void confirmWithoutPathWarnsAndStaysOpen_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << int(QMessageBox::Ok);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel);
  }

  void confirmWithoutPathWarnsAndStaysOpen() {
    QFETCH(int, answer);
    ScriptedPrompts prompts;
    prompts.answers << QMessageBox::StandardButton(answer);
    NewTaskDialog dialog(prompts);
    Click(dialog, "confirmButton");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(prompts.boxes.size(), size_t{1});
    QCOMPARE(prompts.boxes[0].text, QStringLiteral("参数设置错误!"));
    QCOMPARE(prompts.boxes[0].caption, QStringLiteral("警告"));
    QCOMPARE(prompts.boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  }

  void confirmReadsThePlatform() {
    ScriptedPrompts prompts;
    prompts.files << QStringLiteral("/x.vmdk");
    NewTaskDialog dialog(prompts);
    Radio(dialog, "platformIos")->click();
    Click(dialog, "browseButton");
    Click(dialog, "confirmButton");
    QCOMPARE(dialog.platform(), uint8_t{1});
  }

  // platform: radio clicked first; answers: what each browse returns ("-"
  // cancels), in order; path: the box afterwards.
  void browseFillsThePath_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("path");
    const QString android = QStringLiteral("platformAndroid");
    const QString itunes = QStringLiteral("platformItunes");
    QTest::newRow("android file") << android << QStringList{"/a/phone.img"} << "/a/phone.img";
    QTest::newRow("IOS file") << "platformIos" << QStringList{"/a/ios.dsk"} << "/a/ios.dsk";
    QTest::newRow("file cancel keeps path")
        << android << QStringList{"/a/1.img", "-"} << "/a/1.img";
    QTest::newRow("folder") << itunes << QStringList{"/backup/dir"} << "/backup/dir";
    QTest::newRow("folder separator dropped")
        << itunes << QStringList{"/backup/dir/"} << "/backup/dir";
    QTest::newRow("drive root") << itunes << QStringList{"D:\\"} << "D:";
    QTest::newRow("unix root kept") << itunes << QStringList{"/"} << "/";
    QTest::newRow("folder cancel empties") << itunes << QStringList{"/backup", "-"} << "";
  }

  void browseFillsThePath() {
    QFETCH(QString, platform);
    QFETCH(QStringList, answers);
    QFETCH(QString, path);
    const bool folder = platform == QLatin1String("platformItunes");
    ScriptedPrompts prompts;
    NewTaskDialog dialog(prompts);
    Radio(dialog, platform)->click();
    for (const QString& answer : answers) {
      const std::optional<QString> chosen =
          answer == QLatin1String("-") ? std::nullopt : std::optional<QString>(answer);
      (folder ? prompts.folders : prompts.files) << chosen;
      Click(dialog, "browseButton");
    }
    QCOMPARE(Edit(dialog, "pathEdit")->text(), path);
    if (folder) {
      QCOMPARE(prompts.folderTitle, QStringLiteral("please select path"));
    } else {
      QCOMPARE(prompts.openFilters, (QStringList{"Vmdk Files (*.vmdk)", "IMG Files (*.img)",
                                                 "DSK Files (*.dsk)", "All Files (*.*)"}));
      QCOMPARE(prompts.openSuffix, QStringLiteral("vmdk"));
    }
  }

  void choosingITunesEmptiesThePathAndAndroidKeepsItEmpty() {
    ScriptedPrompts prompts;
    prompts.files << QStringLiteral("/a/phone.img");
    NewTaskDialog dialog(prompts);
    Click(dialog, "browseButton");
    Radio(dialog, "platformItunes")->click();
    QVERIFY(Edit(dialog, "pathEdit")->text().isEmpty());
    QCOMPARE(dialog.platform(), uint8_t{2});
    Radio(dialog, "platformAndroid")->click();
    QVERIFY(Edit(dialog, "pathEdit")->text().isEmpty());
  }

  void searchDialogStartsInResultsWithUtf8() {
    ScriptedPrompts prompts;
    SearchDialog dialog(prompts);
    QVERIFY(Radio(dialog, "sourceResults")->isChecked());
    QVERIFY(Radio(dialog, "encodingUtf8")->isChecked());
    QCOMPARE(dialog.source(), velkor::SearchSource::kResults);
    QCOMPARE(dialog.encoding(), velkor::SearchEncoding::kUtf8);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("搜索"));
  }

  void searchDialogRefusesWhatCannotBeSearched_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");  // empty: accepted
    const QString noText = QStringLiteral("请输入搜索文本");
    const QString notAscii =
        QStringLiteral("ASCII 编码只能搜索 ASCII 字符,请改用 UTF-8 或 UNICODE");
    const QString results = QStringLiteral("sourceResults");
    const QString image = QStringLiteral("sourceImage");
    QTest::newRow("empty in results") << results << "encodingUtf8"
                                      << "" << noText;
    QTest::newRow("empty in image") << image << "encodingUnicode"
                                    << "" << noText;
    QTest::newRow("ascii han in image") << image << "encodingAscii"
                                        << "短信" << notAscii;
    QTest::newRow("ascii han in results") << results << "encodingAscii"
                                          << "短信"
                                          << "";
    QTest::newRow("ascii text in image") << image << "encodingAscii"
                                         << "abc"
                                         << "";
    QTest::newRow("unicode han in image") << image << "encodingUnicode"
                                          << "短信"
                                          << "";
  }

  void searchDialogRefusesWhatCannotBeSearched() {
    QFETCH(QString, source);
    QFETCH(QString, encoding);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    ScriptedPrompts prompts;
    SearchDialog dialog(prompts);
    Radio(dialog, source)->click();
    Radio(dialog, encoding)->click();
    Edit(dialog, "searchEdit")->setText(text);
    Click(dialog, "confirmButton");
    if (warning.isEmpty()) {
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QVERIFY(prompts.boxes.empty());
    } else {
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
      QCOMPARE(prompts.Texts(), QStringList{warning});
      QCOMPARE(prompts.boxes[0].caption, QStringLiteral("警告"));
    }
  }

  void scanDialogModes_data() {
    QTest::addColumn<uint>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("ticked");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("pictures") << velkor::kModePictures << "扫描图片"
                              << "formatJPG" << kFormatBoxes.mid(0, 6);
    QTest::newRow("videos") << velkor::kModeVideos << "扫描影片"
                            << "formatMP4" << kFormatBoxes.mid(6);
  }

  void scanDialogModes() {
    QFETCH(uint, mode);
    QFETCH(QString, caption);
    QFETCH(QString, ticked);
    QFETCH(QStringList, enabled);
    ScriptedPrompts prompts;
    MediaScanDialog dialog(prompts, mode, 1000000);
    QCOMPARE(dialog.windowTitle(), caption);
    for (const QString& box : kFormatBoxes) {
      QCOMPARE(Check(dialog, box)->isChecked(), box == ticked);
      QCOMPARE(Check(dialog, box)->isEnabled(), enabled.contains(box));
    }
    QCOMPARE(Edit(dialog, "positionEdit")->text(), QStringLiteral("0"));
    QCOMPARE(Edit(dialog, "sizeEdit")->text(), QStringLiteral("1953"));
    QCOMPARE(Edit(dialog, "blockSizeEdit")->text(), QStringLiteral("4096"));
    QCOMPARE(Edit(dialog, "fileSizeEdit")->text(), QStringLiteral("104857600"));
  }

  // An image of 1 000 000 bytes has 1953 whole sectors.
  void scanDialogValidation_data() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("fileSize");
    QTest::addColumn<bool>("accepted");
    const struct {
      const char* name;
      const char* fields[4];
      bool accepted;
    } rows[] = {
        {"defaults", {"0", "1953", "4096", "104857600"}, true},
        {"one sector too many", {"0", "1954", "4096", "104857600"}, false},
        {"moved past the end", {"10", "1953", "4096", "104857600"}, false},
        {"last sector", {"1952", "1", "512", "1"}, true},
        {"size 0", {"0", "0", "4096", "104857600"}, false},
        {"block 0", {"0", "100", "0", "104857600"}, false},
        {"file size 0", {"0", "100", "4096", "0"}, false},
        {"empty size", {"0", "", "4096", "104857600"}, false},
        {"digits end the number", {"1x", "10abc", "512z", "7 7"}, true},
    };
    for (const auto& row : rows) {
      QTest::newRow(row.name) << row.fields[0] << row.fields[1] << row.fields[2] << row.fields[3]
                              << row.accepted;
    }
  }

  void scanDialogValidation() {
    QFETCH(QString, position);
    QFETCH(QString, size);
    QFETCH(QString, block);
    QFETCH(QString, fileSize);
    QFETCH(bool, accepted);
    ScriptedPrompts prompts;
    MediaScanDialog dialog(prompts, velkor::kModePictures, 1000000);
    Edit(dialog, "positionEdit")->setText(position);
    Edit(dialog, "sizeEdit")->setText(size);
    Edit(dialog, "blockSizeEdit")->setText(block);
    Edit(dialog, "fileSizeEdit")->setText(fileSize);
    Click(dialog, "confirmButton");
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    if (accepted) {
      QVERIFY(prompts.boxes.empty());
      QCOMPARE(dialog.params().startSector, position.left(position.indexOf('x')).toULongLong());
    } else {
      QCOMPARE(prompts.Texts(), QStringList{"填写参数错误"});
      QCOMPARE(prompts.boxes[0].caption, QStringLiteral("警告"));
      QCOMPARE(Edit(dialog, "sizeEdit")->text(), size);  // kept as typed
    }
  }

  void scanDialogMaskComesFromTheModesBoxes_data() {
    QTest::addColumn<uint>("mode");
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<uint>("mask");
    QTest::newRow("PNG and GIF") << velkor::kModePictures << QStringList{"formatPNG", "formatGIF"}
                                 << 0x23u;
    QTest::newRow("TIF is bit 0x08") << velkor::kModePictures << QStringList{"formatTIF"} << 0x09u;
    QTest::newRow("video boxes ignored")
        << velkor::kModePictures << QStringList{"formatMOV"} << 0x01u;
    QTest::newRow("AMR and MTS") << velkor::kModeVideos << QStringList{"formatAMR", "formatMTS"}
                                 << 0x29u;
    QTest::newRow("MPG is bit 0x10") << velkor::kModeVideos << QStringList{"formatMPG"} << 0x11u;
  }

  void scanDialogMaskComesFromTheModesBoxes() {
    QFETCH(uint, mode);
    QFETCH(QStringList, ticked);
    QFETCH(uint, mask);
    ScriptedPrompts prompts;
    MediaScanDialog dialog(prompts, mode, 1 << 20);
    for (const QString& box : ticked) Check(dialog, box)->setChecked(true);
    Click(dialog, "confirmButton");
    QCOMPARE(dialog.params().formatMask, mask);
    QCOMPARE(dialog.params().mode, mode);
  }

  // events: "r<n>" range, "p<n>" position, "s" step.
  void progressEvents_data() {
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("steps");
    QTest::newRow("empty range, position 0") << QStringList{"r0", "p0"} << 0 << 0;
    QTest::newRow("three steps") << QStringList{"r10", "s", "s", "s"} << 3 << 3;
    QTest::newRow("range restarts the count") << QStringList{"r10", "s", "s", "r5", "s"} << 1 << 1;
    QTest::newRow("position") << QStringList{"r8", "p6"} << 6 << 0;
    QTest::newRow("steps past the range stay full") << QStringList{"r1", "s", "s", "s"} << 1 << 3;
  }

  void progressEvents() {
    QFETCH(QStringList, events);
    QFETCH(int, value);
    QFETCH(int, steps);
    ProgressDialog dialog;
    for (const QString& event : events) {
      const auto number = event.mid(1).toUInt();
      if (event[0] == 'r') dialog.SetRange(number);
      if (event[0] == 'p') dialog.SetPosition(number);
      if (event[0] == 's') dialog.Step();
    }
    QCOMPARE(dialog.Bar().value(), value);
    QCOMPARE(dialog.StepCount(), steps);
    // Never the busy indicator that a 0..0 range would draw.
    QVERIFY(dialog.Bar().maximum() > 0);
  }

  // Each event is handled before the worker's call returns; the text pushed
  // last is shown as it is, never as markup.
  void workerWaitsForEachProgressEvent() {
    ProgressDialog dialog;
    QCOMPARE(dialog.StatusText().text(), QStringLiteral("正在扫描,请稍等..."));
    std::atomic<bool> done{false};
    std::vector<int> seen;
    std::thread worker([&] {
      velkor::ProgressSink& sink = dialog.Sink();
      sink.ProgressRange(100);
      for (int i = 0; i < 20; ++i) {
        sink.ProgressStep();
        // The call returned: the dialog has already handled it.
        seen.push_back(dialog.StepCount());
      }
      sink.ProgressPos(50);
      sink.ProgressText(u"<b>已经搜索到 3 条记录</b>");
      done.store(true);
    });
    QTRY_VERIFY(done.load());
    worker.join();
    std::vector<int> expected(20);
    for (int i = 0; i < 20; ++i) expected[static_cast<size_t>(i)] = i + 1;
    QCOMPARE(seen, expected);
    QCOMPARE(dialog.Bar().value(), 50);
    QCOMPARE(dialog.StatusText().text(), QStringLiteral("<b>已经搜索到 3 条记录</b>"));
    QCOMPARE(dialog.StatusText().textFormat(), Qt::PlainText);
  }
};

QTEST_MAIN(TaskDialogsTest)
#include "task_dialogs_test.moc"
