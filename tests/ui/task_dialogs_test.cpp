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
#include "engine/app_state.h"
#include "tasks/progress_dlg.h"
#include "tasks/scan_dlg.h"
#include "tasks/search_dlg.h"
#include "tasks/task_dlg.h"
#include "tests/ui/ui_test_support.h"

using velkor::CProgressDlg;
using velkor::CScanDlg;
using velkor::CSearchDlg;
using velkor::CTaskDlg;

namespace {

QCheckBox* Check(QWidget& dialog, int id) {
  return Child<QCheckBox>(dialog, QStringLiteral("check%1").arg(id));
}
QRadioButton* Radio(QWidget& dialog, int id) {
  return Child<QRadioButton>(dialog, QStringLiteral("radio%1").arg(id));
}
QLineEdit* Edit(QWidget& dialog, int id) {
  return Child<QLineEdit>(dialog, QStringLiteral("edit%1").arg(id));
}

const int kTypeIds[] = {1001, 1002, 1003, 1005, 1006, 1008, 1007, 1004, 1009};
const int kBrandIds[] = {1025, 1027, 1028, 1029, 1031, 1026, 1030, 1032};

}  // namespace

class TaskDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void taskDialogStartsWithThreeTypesAndroidAndNoPath() {
    ScriptedPrompts prompts;
    CTaskDlg dialog(prompts);
    QList<bool> ticked;
    for (int id : kTypeIds) ticked << Check(dialog, id)->isChecked();
    QCOMPARE(ticked, (QList<bool>{true, true, true, false, false, false, false, false, false}));
    for (int id : kBrandIds) {
      QVERIFY(!Radio(dialog, id)->isEnabled());
      QVERIFY(!Radio(dialog, id)->isChecked());
    }
    QVERIFY(Radio(dialog, 1033)->isChecked());
    QVERIFY(Edit(dialog, 1012)->isReadOnly());
    QVERIFY(Edit(dialog, 1012)->text().isEmpty());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("任务"));
  }

  void eachTypeBoxSetsItsBit_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<uint>("bit");
    const uint bits[] = {0x001, 0x002, 0x004, 0x008, 0x010, 0x020, 0x040, 0x080, 0x100};
    const char* names[] = {"短信箱", "电话薄", "通话记录", "日历", "记事本",
                           "邮件",   "微信",   "MSN",      "QQ"};
    for (size_t i = 0; i < std::size(kTypeIds); ++i) {
      QTest::newRow(names[i]) << kTypeIds[i] << bits[i];
    }
    QTest::newRow("none ticked") << 0 << 0u;
  }

  void eachTypeBoxSetsItsBit() {
    QFETCH(int, id);
    QFETCH(uint, bit);
    ScriptedPrompts prompts;
    prompts.files << QStringLiteral("/images/phone.img");
    CTaskDlg dialog(prompts);
    for (int each : kTypeIds) Check(dialog, each)->setChecked(each == id);
    Click(dialog, 1013);
    Click(dialog, 1010);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.m_nRecordTypes, bit);
    QCOMPARE(dialog.m_strPath, QStringLiteral("/images/phone.img"));
    QVERIFY(prompts.boxes.empty());
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
    CTaskDlg dialog(prompts);
    Click(dialog, 1010);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(prompts.boxes.size(), size_t{1});
    QCOMPARE(prompts.boxes[0].text, QStringLiteral("参数设置错误!"));
    QCOMPARE(prompts.boxes[0].caption, QStringLiteral("警告"));
    QCOMPARE(prompts.boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  }

  void confirmFillsTheTemplatesAndReadsThePlatform() {
    ScriptedPrompts prompts;
    prompts.files << QStringLiteral("/x.vmdk");
    CTaskDlg dialog(prompts);
    Radio(dialog, 1034)->click();
    Click(dialog, 1013);
    Click(dialog, 1010);
    QCOMPARE(dialog.m_nPlatform, uint8_t{1});
    QVERIFY(dialog.templates == velkor::StandardSignatureTemplates());
  }

  // platform: radio clicked first; answers: what each browse returns ("-"
  // cancels), in order; path: the box afterwards.
  void browseFillsThePath_data() {
    QTest::addColumn<int>("platform");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("path");
    QTest::newRow("android file") << 1033 << QStringList{"/a/phone.img"} << "/a/phone.img";
    QTest::newRow("IOS file") << 1034 << QStringList{"/a/ios.dsk"} << "/a/ios.dsk";
    QTest::newRow("file cancel keeps path") << 1033 << QStringList{"/a/1.img", "-"} << "/a/1.img";
    QTest::newRow("folder") << 1035 << QStringList{"/backup/dir"} << "/backup/dir";
    QTest::newRow("folder separator dropped")
        << 1035 << QStringList{"/backup/dir/"} << "/backup/dir";
    QTest::newRow("drive root") << 1035 << QStringList{"D:\\"} << "D:";
    QTest::newRow("unix root kept") << 1035 << QStringList{"/"} << "/";
    QTest::newRow("folder cancel empties") << 1035 << QStringList{"/backup", "-"} << "";
  }

  void browseFillsThePath() {
    QFETCH(int, platform);
    QFETCH(QStringList, answers);
    QFETCH(QString, path);
    ScriptedPrompts prompts;
    CTaskDlg dialog(prompts);
    Radio(dialog, platform)->click();
    for (const QString& answer : answers) {
      const std::optional<QString> chosen =
          answer == QLatin1String("-") ? std::nullopt : std::optional<QString>(answer);
      (platform == 1035 ? prompts.folders : prompts.files) << chosen;
      Click(dialog, 1013);
    }
    QCOMPARE(Edit(dialog, 1012)->text(), path);
    if (platform == 1035) {
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
    CTaskDlg dialog(prompts);
    Click(dialog, 1013);
    Radio(dialog, 1035)->click();
    QVERIFY(Edit(dialog, 1012)->text().isEmpty());
    QCOMPARE(dialog.m_nPlatform, uint8_t{2});
    Radio(dialog, 1033)->click();
    QVERIFY(Edit(dialog, 1012)->text().isEmpty());
  }

  void searchDialogStartsInResultsWithUtf8() {
    ScriptedPrompts prompts;
    CSearchDlg dialog(prompts);
    QVERIFY(Radio(dialog, 1018)->isChecked());
    QVERIFY(Radio(dialog, 1025)->isChecked());
    QCOMPARE(dialog.Source(), velkor::SearchSource::kResults);
    QCOMPARE(dialog.Encoding(), velkor::SearchEncoding::kUtf8);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("搜索"));
  }

  void searchDialogRefusesWhatCannotBeSearched_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");  // empty: accepted
    const QString noText = QStringLiteral("请输入搜索文本");
    const QString notAscii =
        QStringLiteral("ASCII 编码只能搜索 ASCII 字符,请改用 UTF-8 或 UNICODE");
    QTest::newRow("empty in results") << 1018 << 1025 << "" << noText;
    QTest::newRow("empty in image") << 1017 << 1023 << "" << noText;
    QTest::newRow("ascii han in image") << 1017 << 1022 << "短信" << notAscii;
    QTest::newRow("ascii han in results") << 1018 << 1022 << "短信"
                                          << "";
    QTest::newRow("ascii text in image") << 1017 << 1022 << "abc"
                                         << "";
    QTest::newRow("unicode han in image") << 1017 << 1023 << "短信"
                                          << "";
  }

  void searchDialogRefusesWhatCannotBeSearched() {
    QFETCH(int, source);
    QFETCH(int, encoding);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    ScriptedPrompts prompts;
    CSearchDlg dialog(prompts);
    Radio(dialog, source)->click();
    Radio(dialog, encoding)->click();
    Edit(dialog, 1019)->setText(text);
    Click(dialog, 1020);
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
    QTest::addColumn<int>("tickedId");
    QTest::addColumn<QList<int>>("disabledIds");
    QTest::newRow("pictures") << velkor::kModePictures << "扫描图片" << 1040
                              << QList<int>{1047, 1048, 1049, 1052, 1050, 1051};
    QTest::newRow("videos") << velkor::kModeVideos << "扫描影片" << 1047
                            << QList<int>{1040, 1041, 1042, 1046, 1043, 1044};
  }

  void scanDialogModes() {
    QFETCH(uint, mode);
    QFETCH(QString, caption);
    QFETCH(int, tickedId);
    QFETCH(QList<int>, disabledIds);
    ScriptedPrompts prompts;
    CScanDlg dialog(prompts);
    dialog.imageLength = 1000000;
    dialog.params.mode = mode;
    dialog.show();
    QCOMPARE(dialog.windowTitle(), caption);
    for (int id = 1040; id <= 1052; ++id) {
      if (id == 1045) continue;  // the file-size edit
      QCOMPARE(Check(dialog, id)->isChecked(), id == tickedId);
      QCOMPARE(Check(dialog, id)->isEnabled(), !disabledIds.contains(id));
    }
    QCOMPARE(Edit(dialog, 1035)->text(), QStringLiteral("0"));
    QCOMPARE(Edit(dialog, 1036)->text(), QStringLiteral("1953"));
    QCOMPARE(Edit(dialog, 1037)->text(), QStringLiteral("4096"));
    QCOMPARE(Edit(dialog, 1045)->text(), QStringLiteral("104857600"));
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
    CScanDlg dialog(prompts);
    dialog.imageLength = 1000000;
    dialog.params.mode = velkor::kModePictures;
    dialog.show();
    Edit(dialog, 1035)->setText(position);
    Edit(dialog, 1036)->setText(size);
    Edit(dialog, 1037)->setText(block);
    Edit(dialog, 1045)->setText(fileSize);
    Click(dialog, 1038);
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    if (accepted) {
      QVERIFY(prompts.boxes.empty());
      QCOMPARE(dialog.params.startSector, position.left(position.indexOf('x')).toULongLong());
    } else {
      QCOMPARE(prompts.Texts(), QStringList{"填写参数错误"});
      QCOMPARE(prompts.boxes[0].caption, QStringLiteral("警告"));
      QCOMPARE(Edit(dialog, 1036)->text(), size);  // kept as typed
    }
  }

  void scanDialogMaskComesFromTheModesBoxes_data() {
    QTest::addColumn<uint>("mode");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<uint>("mask");
    QTest::newRow("PNG and GIF") << velkor::kModePictures << QList<int>{1041, 1044} << 0x23u;
    QTest::newRow("TIF is bit 0x08") << velkor::kModePictures << QList<int>{1046} << 0x09u;
    QTest::newRow("video boxes ignored") << velkor::kModePictures << QList<int>{1048} << 0x01u;
    QTest::newRow("AMR and MTS") << velkor::kModeVideos << QList<int>{1052, 1051} << 0x29u;
    QTest::newRow("MPG is bit 0x10") << velkor::kModeVideos << QList<int>{1050} << 0x11u;
  }

  void scanDialogMaskComesFromTheModesBoxes() {
    QFETCH(uint, mode);
    QFETCH(QList<int>, ticked);
    QFETCH(uint, mask);
    ScriptedPrompts prompts;
    CScanDlg dialog(prompts);
    dialog.imageLength = 1 << 20;
    dialog.params.mode = mode;
    dialog.show();
    for (int id : ticked) Check(dialog, id)->setChecked(true);
    Click(dialog, 1038);
    QCOMPARE(dialog.params.formatMask, mask);
    QCOMPARE(dialog.params.mode, mode);
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
    CProgressDlg dialog;
    for (const QString& event : events) {
      const auto number = event.mid(1).toUInt();
      if (event[0] == 'r') dialog.OnProgressRange(number);
      if (event[0] == 'p') dialog.OnProgressPos(number);
      if (event[0] == 's') dialog.OnProgressStep();
    }
    QCOMPARE(dialog.Bar().value(), value);
    QCOMPARE(dialog.StepCount(), steps);
    // Never the busy indicator that a 0..0 range would draw.
    QVERIFY(dialog.Bar().maximum() > 0);
  }

  void progressTextIsDrawnPlainFromTheSharedText() {
    CProgressDlg dialog;
    QCOMPARE(dialog.StatusText().text(), QStringLiteral("正在扫描,请稍等..."));
    g_strProgress.Set(u"<b>已经搜索到 3 条记录</b>");
    dialog.OnProgressRange(4);
    QCOMPARE(dialog.StatusText().text(), QStringLiteral("正在扫描,请稍等..."));
    dialog.OnProgressStep();
    QCOMPARE(dialog.StatusText().text(), QStringLiteral("<b>已经搜索到 3 条记录</b>"));
    QCOMPARE(dialog.StatusText().textFormat(), Qt::PlainText);
  }

  void workerWaitsForEachProgressEvent() {
    CProgressDlg dialog;
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
      done.store(true);
    });
    QTRY_VERIFY(done.load());
    worker.join();
    std::vector<int> expected(20);
    for (int i = 0; i < 20; ++i) expected[static_cast<size_t>(i)] = i + 1;
    QCOMPARE(seen, expected);
    QCOMPARE(dialog.Bar().value(), 50);
  }
};

QTEST_MAIN(TaskDialogsTest)
#include "task_dialogs_test.moc"
