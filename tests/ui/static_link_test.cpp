// The hyperlink label: attaching, text limits, hover colours as drawn, and
// what a click opens.
#include <QLabel>
#include <QTest>

#include "ui/my_static_link.h"

using velkor::CMyStaticLink;

namespace {

// Counts pixels close to the given colour in the label's picture.
int PixelsOf(QLabel& label, QColor colour) {
  const QImage image = label.grab().toImage();
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - colour.red()) < 60 &&
          std::abs(pixel.green() - colour.green()) < 60 &&
          std::abs(pixel.blue() - colour.blue()) < 60) {
        ++count;
      }
    }
  }
  return count;
}

}  // namespace

class StaticLinkTest : public QObject {
  Q_OBJECT

 private slots:
  // One label at a time; a destroyed label detaches itself.
  void attachOnceDetachOnce() {
    CMyStaticLink link;
    QLabel label(QStringLiteral("x"));
    auto* other = new QLabel(QStringLiteral("y"));
    QVERIFY(!link.AttachLink(nullptr));
    QVERIFY(link.AttachLink(&label));
    QVERIFY(!link.AttachLink(other));
    QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link.DetachLink(), &label);
    QCOMPARE(link.DetachLink(), nullptr);
    QVERIFY(link.AttachLink(other));
    delete other;
    QCOMPARE(link.DetachLink(), nullptr);
    QVERIFY(link.AttachLink(&label));
  }

  void setLinkLimits_data() {
    QTest::addColumn<int>("displayLength");
    QTest::addColumn<int>("targetLength");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("31 and 1023") << 31 << 1023 << true;
    QTest::newRow("32 display") << 32 << 10 << false;
    QTest::newRow("1024 target") << 10 << 1024 << false;
  }

  void setLinkLimits() {
    QFETCH(int, displayLength);
    QFETCH(int, targetLength);
    QFETCH(bool, accepted);
    CMyStaticLink link;
    QLabel label(QStringLiteral("own"));
    link.AttachLink(&label);
    QVERIFY(link.SetLink(QStringLiteral("before"), QStringLiteral("https://before.example")));
    const QString display(displayLength, u'd');
    const QString target(targetLength, u't');
    QCOMPARE(link.SetLink(display, target), accepted);
    QCOMPARE(link.TextToDraw(), accepted ? display : QStringLiteral("before"));
    QCOMPARE(link.TargetToOpen(), accepted ? target : QStringLiteral("https://before.example"));
  }

  void clickOpens_data() {
    QTest::addColumn<QString>("labelText");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("opened");
    QTest::newRow("own text") << "www.ostrel.example"
                              << "" << QUrl(QStringLiteral("http://www.ostrel.example"));
    QTest::newRow("target") << "support"
                            << "mailto:support@ostrel.example"
                            << QUrl(QStringLiteral("mailto:support@ostrel.example"));
  }

  void clickOpens() {
    QFETCH(QString, labelText);
    QFETCH(QString, target);
    QFETCH(QUrl, opened);
    CMyStaticLink link;
    QList<QUrl> urls;
    link.SetOpener([&urls](const QUrl& url) { urls << url; });
    QLabel label(labelText);
    label.resize(200, 20);
    link.AttachLink(&label);
    link.SetLink({}, target);
    QTest::mouseClick(&label, Qt::RightButton);
    QVERIFY(urls.isEmpty());
    QTest::mouseClick(&label, Qt::LeftButton);
    QCOMPARE(urls, QList<QUrl>{opened});
  }

  void hoverTurnsRedAndLeavingBlue() {
    CMyStaticLink link;
    QLabel label(QStringLiteral("██████"));
    label.resize(200, 24);
    link.AttachLink(&label);
    // Not shown, so no pointer can be over it yet.
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    QVERIFY(PixelsOf(label, blue) > 10);
    QCOMPARE(PixelsOf(label, red), 0);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&label, &enter);
    QVERIFY(link.IsHovering());
    QVERIFY(PixelsOf(label, red) > 10);
    QCOMPARE(PixelsOf(label, blue), 0);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &leave);
    QVERIFY(!link.IsHovering());
    QVERIFY(PixelsOf(label, blue) > 10);
  }
};

QTEST_MAIN(StaticLinkTest)
#include "static_link_test.moc"
