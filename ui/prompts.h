// Everything the task commands and dialogs ask the user through the platform: message
// boxes and the file and folder choosers. Tests put a scripted stand-in in
// its place; the program shows the real dialogs.
#pragma once

#include <optional>

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace velkor {

class Prompts {
 public:
  virtual ~Prompts() = default;
  // Text and caption are shown as plain text. Returns the button pressed.
  virtual QMessageBox::StandardButton MessageBox(QWidget* parent, QMessageBox::Icon icon,
                                                 const QString& caption, const QString& text,
                                                 QMessageBox::StandardButtons buttons) = 0;
  // Nothing when the user cancels.
  virtual std::optional<QString> OpenFileName(QWidget* parent, const QStringList& filters,
                                              const QString& defaultSuffix) = 0;
  virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& defaultName,
                                              const QStringList& filters,
                                              const QString& defaultSuffix) = 0;
  virtual std::optional<QString> FolderName(QWidget* parent, const QString& title) = 0;
};

// The real dialogs.
Prompts& PlatformPrompts();

// A chosen folder loses one trailing separator ("D:\" becomes "D:"), except
// a root that would be left empty ("/").
QString DropTrailingSeparator(QString path);

}  // namespace velkor
