// VelkorForPhone: recovers messages, contacts, call records, WeChat messages,
// pictures and videos from raw phone storage images.
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTimer>

#include "res/icons.h"
#include "res/menu_resources.h"
#include "ui/main_frame.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(velkor::Text(velkor::kAppName));
  QApplication::setWindowIcon(velkor::AppIcon());

  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Save a picture of the main window and quit."),
                                      QStringLiteral("file"));
  parser.addOption(screenshot);
  parser.process(app);

  velkor::CMainFrame frame;
  frame.show();

  if (parser.isSet(screenshot)) {
    const QString path = parser.value(screenshot);
    // Give the window system time to map and paint the window first.
    QTimer::singleShot(1000, &frame, [&frame, path] {
      const bool saved = frame.grab().save(path, "PNG");
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return QApplication::exec();
}
