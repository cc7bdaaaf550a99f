// The carving tools of the desktop: the scan dialog's two remembered choices
// reaching the scan, the status and preview of found pictures (with stale
// previews dropped), the lazily filled thumbnail grid and the hex view.
#include <QBuffer>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTest>
#include <QTextEdit>

#include "carving/carved_file.h"
#include "res/command_ids.h"
#include "tests/ui/desktop_test_support.h"
#include "ui/carving_tools.h"
#include "ui/detail_pane.h"
#include "ui/found_files_page.h"
#include "ui/hex_dump.h"
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
  const QByteArray jpeg = Encoded(64, 48, "JPG");
  const QByteArray png = Encoded(30, 20, "PNG");
  const QByteArray broken =
      QByteArray::fromHex("FFD8FFE000104A464946000101") + QByteArray(600, '\x5A');
  const QByteArray marker("VELKOR hex\x01\x7F", 12);
  image.replace(kJpegAt, jpeg.size(), jpeg);
  image.replace(kPngAt, png.size(), png);
  image.replace(kBrokenAt, broken.size(), broken);
  image.replace(kMarkerAt, marker.size(), marker);
  return image;
}

velkor::ImageAccess MemoryAccess(const QByteArray& bytes) {
  return [bytes] {
    return std::unique_ptr<velkor::ImageSource>(std::make_unique<velkor::MemoryImageSource>(
        std::vector<uint8_t>(bytes.begin(), bytes.end())));
  };
}

}  // namespace

class CarvingToolsTest : public QObject {
  Q_OBJECT

 private:
  // A task on PictureImage whose picture scan ran with both choices ticked.
  void ScanPictureImage(TaskDesktop& app) {
    const QByteArray bytes = PictureImage();
    app.controller.SetImageOpener(
        [bytes](const std::filesystem::path&) { return MemoryAccess(bytes)(); });
    QVERIFY(app.NewTask(QStringLiteral("/memory/picture.img")));
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

  void dialogChoicesReachTheScanAndAreRemembered() {
    ScriptedPrompts prompts;
    {
      velkor::MediaScanDialog dialog(prompts, velkor::kModeVideos, 1 << 20);
      auto* structure = Child<QCheckBox>(dialog, QStringLiteral("structureLengthsBox"));
      auto* extended = Child<QCheckBox>(dialog, QStringLiteral("extendedSignaturesBox"));
      QVERIFY(!structure->isChecked() && !extended->isChecked());
      dialog.Confirm();
      QVERIFY(!dialog.params().structureLengths && !dialog.params().extendedSignatures);
      extended->setChecked(true);
      dialog.Confirm();
      QVERIFY(!dialog.params().structureLengths && dialog.params().extendedSignatures);
    }
    // The next dialog starts as the last one was confirmed; an empty image
    // is an image with nothing in it, not a mistake.
    velkor::MediaScanDialog empty(prompts, velkor::kModePictures, 0);
    QVERIFY(Child<QCheckBox>(empty, QStringLiteral("extendedSignaturesBox"))->isChecked());
    empty.Confirm();
    QCOMPARE(empty.result(), int{QDialog::Accepted});
    QVERIFY(prompts.texts.isEmpty());
    QCOMPARE(empty.params().sectorCount, uint64_t{0});
    QVERIFY(empty.params().extendedSignatures);
  }

  void foundPicturesShowStatusAndPreview() {
    TaskDesktop app;
    ScanPictureImage(app);
    velkor::DetailPane& detail = app.window.Detail();
    struct Case {
      int row;
      QString status;
      QString preview;
    };
    const Case cases[] = {{0, QStringLiteral("状态:完整"), QStringLiteral("预览:64×48")},
                          {1, QStringLiteral("状态:完整"), QStringLiteral("预览:30×20")},
                          {2, QStringLiteral("状态:未验证"), QStringLiteral("预览:无法解码")}};
    for (const Case& c : cases) {
      app.results.List(kTabFoundFiles).selectRow(c.row);
      QTRY_VERIFY2(detail.Text().contains(c.preview), qPrintable(detail.Text()));
      QVERIFY2(detail.Text().startsWith(c.status), qPrintable(detail.Text()));
    }
    // Back to a cached picture: its preview is there at once, picture and all.
    app.results.List(kTabFoundFiles).selectRow(0);
    QVERIFY(detail.Text().contains(QStringLiteral("预览:64×48")));
    QVERIFY(detail.Text().contains(QStringLiteral("00010000  FF D8 FF E0")));
    QVERIFY(detail.Text().contains(QChar::ObjectReplacementCharacter));
  }

  void aPreviewForARowNoLongerShownIsDropped() {
    TaskDesktop app;
    ScanPictureImage(app);
    velkor::ThumbnailLoader& loader = app.results.Thumbnails();
    app.results.List(kTabFoundFiles).selectRow(1);
    app.window.Carving().ShowHexAt(kMarkerAt);
    QTRY_VERIFY(loader.Cached(1) != nullptr);
    QCoreApplication::processEvents();
    const QString shown = app.window.Detail().Text();
    QVERIFY2(shown.startsWith(QStringLiteral("偏移:229376 (0x38000)")), qPrintable(shown));
    QVERIFY(!shown.contains(QStringLiteral("30×20")));
  }

  // Recovered bytes are hostile: cut pictures, a header claiming a picture
  // too large to hold and formats outside the scans give no thumbnail.
  void damagedPicturesAreRefused() {
    for (const char* format : {"JPG", "PNG"}) {
      const QByteArray whole = Encoded(64, 48, format);
      QVERIFY(velkor::DecodeThumbnail(whole).decoded);
      for (qsizetype cut = 0; cut < whole.size(); cut += 7) {
        const velkor::Thumbnail part = velkor::DecodeThumbnail(whole.left(cut));
        QVERIFY(!part.decoded || part.pixelSize == QSize(64, 48));
      }
    }
    QByteArray huge = Encoded(30, 20, "PNG");
    huge.replace(16, 8, QByteArray::fromHex("0000C0000000C000"));
    QVERIFY(!velkor::DecodeThumbnail(huge).decoded);
    // A picture in a format no scan finds (text, here) goes to no reader.
    const QByteArray xpm = Encoded(8, 8, "XPM");
    QVERIFY(!xpm.isEmpty() && !QImage::fromData(xpm).isNull());
    QVERIFY(!velkor::DecodeThumbnail(xpm).decoded);
  }

  void thumbnailGridDecodesOnlyWhatIsInView() {
    const QByteArray bytes = PictureImage();
    velkor::ResultPane pane(500);
    std::vector<velkor::RowTexts> rows;
    std::vector<velkor::FoundFileInfo> files;
    for (int row = 0; row < 300; ++row) {
      rows.push_back({QString::number(row).toStdU16String(), u"", u""});
      files.push_back({kPngAt, 4096, true, true});
    }
    pane.SetRows(kTabFoundFiles, std::move(rows));
    pane.Thumbnails().SetFiles(std::move(files), MemoryAccess(bytes));
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

  void hexViewShowsTheBytesAroundAnOffset() {
    TaskDesktop app;
    const QByteArray bytes = PictureImage();
    app.controller.SetImageOpener(
        [bytes](const std::filesystem::path&) { return MemoryAccess(bytes)(); });
    QVERIFY(app.NewTask(QStringLiteral("/memory/picture.img")));
    velkor::CarvingTools& tools = app.window.Carving();
    tools.ShowHexAt(kMarkerAt + 3);
    QStringList lines = app.window.Detail().Text().split(u'\n');
    QCOMPARE(lines.size(), 1 + 32);
    QVERIFY(lines[1].startsWith(QStringLiteral("00037F00  00 00")));
    QCOMPARE(lines[17], QStringLiteral("00038000  56 45 4C 4B 4F 52 20 68  65 78 01 7F 00 00 00 00"
                                       "  VELKOR hex......"));
    // The window keeps to the image: the last byte is on the last line.
    tools.ShowHexAt(kImageSize - 1);
    lines = app.window.Detail().Text().split(u'\n');
    QCOMPARE(lines.size(), 1 + 32);
    QVERIFY(lines.last().startsWith(QStringLiteral("0003FFF0  ")));
    tools.ShowHexAt(kImageSize);
    QVERIFY(app.window.Detail().Text().contains(QStringLiteral("超出镜像大小")));
  }

  void offsetsAreReadAsTyped() {
    struct Case {
      QString text;
      std::optional<uint64_t> offset;
    };
    const Case cases[] = {{QStringLiteral("4096"), 4096},
                          {QStringLiteral(" 0x1F "), 31},
                          {QStringLiteral("0XffFFffFFffFFffFF"), UINT64_MAX},
                          {QStringLiteral("18446744073709551616"), std::nullopt},
                          {QStringLiteral("-1"), std::nullopt},
                          {QStringLiteral("0x"), std::nullopt},
                          {QStringLiteral("1e3"), std::nullopt},
                          {QStringLiteral("0x1g"), std::nullopt}};
    for (const Case& c : cases) QCOMPARE(velkor::ParseOffsetText(c.text), c.offset);
    QCOMPARE(velkor::SearchHitOffset(QStringLiteral("Search"),
                                     QStringLiteral("/img,位置1234: a,位置9: b")),
             std::optional<uint64_t>(1234));
    QCOMPARE(velkor::SearchHitOffset(QStringLiteral("Scan"), QStringLiteral("/img,位置1: a")),
             std::nullopt);
  }
};

QTEST_MAIN(CarvingToolsTest)
#include "carving_tools_test.moc"
