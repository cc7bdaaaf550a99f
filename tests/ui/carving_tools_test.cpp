// The carving tools of the desktop (the scan dialog's remembered choices,
// previews, the lazily filled thumbnail grid, the hex view) and the task
// dialog's deep-scan box reaching the record scan.
#include <QBuffer>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTest>

#include "carving/carved_file.h"
#include "res/command_ids.h"
#include "tests/deep/freed_rows.h"
#include "tests/ui/desktop_test_support.h"
#include "ui/carving_tools.h"
#include "ui/detail_pane.h"
#include "ui/found_files_page.h"
#include "ui/media_scan_dialog.h"
#include "ui/thumbnail_grid.h"
#include "ui/thumbnail_loader.h"

using velkor::kTabFoundFiles;

namespace {

constexpr qsizetype kJpegAt = 0x10000;
constexpr qsizetype kPngAt = 0x20000;
constexpr qsizetype kBrokenAt = 0x30000;
constexpr qsizetype kMarkerAt = 0x38000;
constexpr qsizetype kImageSize = 0x40000;

QByteArray Encoded(int width, int height, const char* format) {
  QImage picture(width, height, QImage::Format_RGB32);
  QPainter painter(&picture);
  painter.fillRect(picture.rect(), Qt::darkCyan);
  painter.fillRect(0, 0, width / 2, height / 2, Qt::yellow);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, format);
  return bytes;
}

// A JPEG, a PNG, a JPEG start with nothing decodable after it and a text
// marker, at fixed offsets in zeros.
QByteArray PictureImage() {
  QByteArray image(kImageSize, '\0');
  const std::pair<qsizetype, QByteArray> parts[] = {
      {kJpegAt, Encoded(64, 48, "JPG")},
      {kPngAt, Encoded(30, 20, "PNG")},
      {kBrokenAt, QByteArray::fromHex("FFD8FFE000104A464946000101") + QByteArray(600, '\x5A')},
      {kMarkerAt, QByteArray("VELKOR hex\x01\x7F", 12)}};
  for (const auto& [at, bytes] : parts) image.replace(at, bytes.size(), bytes);
  return image;
}

velkor::ImageAccess MemoryAccess(const QByteArray& bytes) {
  return [bytes] {
    return std::unique_ptr<velkor::ImageSource>(std::make_unique<velkor::MemoryImageSource>(
        std::vector<uint8_t>(bytes.begin(), bytes.end())));
  };
}

// A task on an image of bytes, its dialog answered by the test's act.
bool NewMemoryTask(TaskDesktop& app, const QByteArray& bytes,
                   std::function<void(velkor::NewTaskDialog&)> act = {}) {
  app.controller.SetImageOpener(
      [bytes](const std::filesystem::path&) { return MemoryAccess(bytes)(); });
  OnNextDialog<velkor::NewTaskDialog>([&app, act](velkor::NewTaskDialog& dialog) {
    app.prompts.files << QStringLiteral("/memory/task.img");
    Child(dialog, "browseButton")->click();
    if (act) act(dialog);
    Child(dialog, "confirmButton")->click();
  });
  return app.RunToEnd([&app] { app.controller.NewTask(); });
}

}  // namespace

class CarvingToolsTest : public QObject {
  Q_OBJECT

 private:
  // A task on PictureImage whose picture scan ran with both choices ticked.
  void ScanPictureImage(TaskDesktop& app) {
    QVERIFY(NewMemoryTask(app, PictureImage()));
    OnNextDialog<velkor::MediaScanDialog>([](velkor::MediaScanDialog& dialog) {
      Child<QCheckBox>(dialog, "formatPNG")->setChecked(true);
      Child<QCheckBox>(dialog, "structureLengthsBox")->setChecked(true);
      Child<QCheckBox>(dialog, "extendedSignaturesBox")->setChecked(true);
      Child(dialog, "confirmButton")->click();
    });
    QVERIFY(app.RunCommand(velkor::ID_SCAN_PICTURE));
    QCOMPARE(app.results.RowCount(kTabFoundFiles), size_t{3});
  }

 private slots:
  void initTestCase() {
    QCoreApplication::setOrganizationName(QStringLiteral("velkor-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("carving-tools-test"));
    QSettings().clear();
  }

  // The next dialog starts as the last one was confirmed; an empty image is
  // an image with nothing in it, not a mistake.
  void dialogChoicesReachTheScanAndAreRemembered() {
    ScriptedPrompts prompts;
    for (const uint64_t size : {uint64_t{1} << 20, uint64_t{0}}) {
      velkor::MediaScanDialog dialog(prompts, velkor::kModeVideos, size);
      auto* extended = Child<QCheckBox>(dialog, QStringLiteral("extendedSignaturesBox"));
      QCOMPARE(extended->isChecked(), size == 0);
      QVERIFY(!Child<QCheckBox>(dialog, QStringLiteral("structureLengthsBox"))->isChecked());
      extended->setChecked(true);
      dialog.Confirm();
      QCOMPARE(dialog.result(), int{QDialog::Accepted});
      QVERIFY(!dialog.params().structureLengths && dialog.params().extendedSignatures);
      QCOMPARE(dialog.params().sectorCount, size / 512);
    }
    QVERIFY(prompts.texts.isEmpty());
  }

  // A preview that arrives for a row no longer shown is dropped; one cached
  // is shown at once.
  void foundPicturesShowStatusPreviewAndHexLines() {
    TaskDesktop app;
    ScanPictureImage(app);
    velkor::DetailPane& detail = app.window.Detail();
    app.results.List(kTabFoundFiles).selectRow(1);
    app.window.Carving().ShowHexAt(kMarkerAt);
    QTRY_VERIFY(app.results.Thumbnails().Cached(1) != nullptr);
    QCoreApplication::processEvents();
    QVERIFY2(detail.Text().startsWith(QStringLiteral("偏移:229376 (0x38000)")),
             qPrintable(detail.Text()));
    QVERIFY(!detail.Text().contains(QStringLiteral("30×20")));
    const std::pair<QString, QString> shown[] = {
        {QStringLiteral("状态:完整"), QStringLiteral("预览:64×48")},
        {QStringLiteral("状态:完整"), QStringLiteral("预览:30×20")},
        {QStringLiteral("状态:未验证"), QStringLiteral("预览:无法解码")}};
    for (int row : {0, 1, 2, 0}) {
      app.results.List(kTabFoundFiles).selectRow(row);
      QTRY_VERIFY2(detail.Text().contains(shown[row].second), qPrintable(detail.Text()));
      QVERIFY2(detail.Text().startsWith(shown[row].first), qPrintable(detail.Text()));
    }
    QVERIFY(detail.Text().contains(QChar::ObjectReplacementCharacter));

    velkor::CarvingTools& tools = app.window.Carving();
    tools.ShowHexAt(kMarkerAt + 3);
    const QStringList lines = detail.Text().split(u'\n');
    QCOMPARE(lines.size(), 1 + 32);
    QVERIFY(lines[1].startsWith(QStringLiteral("00037F00  00 00")));
    QCOMPARE(lines[17], QStringLiteral("00038000  56 45 4C 4B 4F 52 20 68  65 78 01 7F 00 00 00 00"
                                       "  VELKOR hex......"));
    tools.ShowHexAt(kImageSize);
    QVERIFY(detail.Text().contains(QStringLiteral("超出镜像大小")));
  }

  // Recovered bytes are hostile: a header claiming a picture too large to
  // hold and a format outside the scans (text, here) give no thumbnail.
  void damagedPicturesAreRefused() {
    QByteArray huge = Encoded(30, 20, "PNG");
    huge.replace(16, 8, QByteArray::fromHex("0000C0000000C000"));
    QVERIFY(!velkor::DecodeThumbnail(huge).decoded);
    QVERIFY(!velkor::DecodeThumbnail(Encoded(8, 8, "XPM")).decoded);
  }

  void thumbnailGridDecodesOnlyWhatIsInView() {
    const QByteArray bytes = PictureImage();
    velkor::ResultPane pane(500);
    pane.SetRows(kTabFoundFiles, std::vector<velkor::RowTexts>(300, {u"1", u"", u""}));
    pane.Thumbnails().SetFiles(std::vector<velkor::FoundFileInfo>(300, {kPngAt, 4096, true, true}),
                               MemoryAccess(bytes));
    pane.SetActiveTab(kTabFoundFiles);
    pane.resize(500, 400);
    pane.FoundFiles().ShowThumbnails(true);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    velkor::ThumbnailLoader& loader = pane.Thumbnails();
    QTRY_VERIFY(loader.Cached(0) != nullptr);
    QVERIFY(loader.StartedCount() < 50);
    QVERIFY(loader.Request(299) == nullptr);  // not cached: never in view
    pane.FoundFiles().Grid().scrollToBottom();
    QTRY_VERIFY(loader.Cached(298) != nullptr);
    QVERIFY(loader.Cached(150) == nullptr);
    QCOMPARE(loader.Cached(298)->pixelSize, QSize(30, 20));
  }

  // The task dialog's deep box reaches the record scan: the freed rows of a
  // real SQLite file come back as found in a freeblock only when ticked.
  void deepBoxAddsFreeblockRows() {
    QTemporaryDir folder;
    const auto db = velkor::deep::BuildFreedDatabase({3}, {"deleted", {3, 7, 11, 15, 19, 23}, 0},
                                                     folder.filePath("db").toStdString());
    QByteArray bytes(kImageSize, '\0');
    bytes.replace(0x1000, qsizetype(db.after.size()),
                  reinterpret_cast<const char*>(db.after.data()), qsizetype(db.after.size()));
    for (const bool deep : {false, true}) {
      TaskDesktop app;
      QVERIFY(NewMemoryTask(app, bytes, [deep](velkor::NewTaskDialog& dialog) {
        Child<QCheckBox>(dialog, QStringLiteral("deepScan"))->setChecked(deep);
      }));
      const auto& sms = app.results.List(velkor::kTabSms).Model();
      int freeblockRows = 0;
      for (size_t row = 0; row < app.results.RowCount(velkor::kTabSms); ++row)
        freeblockRows += sms.ProvenanceOf(row)->foundBy == u"freeblock" ? 1 : 0;
      QVERIFY(app.results.RowCount(velkor::kTabSms) > 100);
      QCOMPARE(freeblockRows > 0, deep);
    }
  }
};

QTEST_MAIN(CarvingToolsTest)
#include "carving_tools_test.moc"
