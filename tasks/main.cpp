// VelkorForPhone: recovers messages, contacts, call records, WeChat messages,
// pictures and videos from raw phone storage images.
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include "res/icons.h"
#include "res/menu_resources.h"
#include "tasks/desktop.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(velkor::Text(velkor::kAppName));
  QApplication::setWindowIcon(velkor::AppIcon());
  // Qt's own dialogs (file choosers, message box buttons) speak the
  // program's language; without the translation they stay in English.
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }

  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Save a picture of the main window and quit."),
                                      QStringLiteral("file"));
  parser.addOption(screenshot);
  parser.process(app);

  velkor::Desktop desktop;
  velkor::MainWindow& window = desktop.Window();
  window.show();

  if (parser.isSet(screenshot)) {
    const QString path = parser.value(screenshot);
    // Give the window system time to map and paint the window first.
    QTimer::singleShot(1000, &window, [&window, path] {
      const bool saved = window.grab().save(path, "PNG");
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return QApplication::exec();
}
