#include "ui/prompts.h"

#include <QFileDialog>

namespace velkor {
namespace {

class QtPrompts final : public Prompts {
 public:
  QMessageBox::StandardButton MessageBox(QWidget* parent, QMessageBox::Icon icon,
                                         const QString& caption, const QString& text,
                                         QMessageBox::StandardButtons buttons) override {
    QMessageBox box(icon, caption, text, buttons, parent);
    // Paths and search texts come from the user and the image: never markup.
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
  }

  std::optional<QString> OpenFileName(QWidget* parent, const QStringList& filters,
                                      const QString& defaultSuffix) override {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    return Chosen(dialog);
  }

  std::optional<QString> SaveFileName(QWidget* parent, const QString& defaultName,
                                      const QStringList& filters,
                                      const QString& defaultSuffix) override {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(defaultName);
    return Chosen(dialog);
  }

  std::optional<QString> FolderName(QWidget* parent, const QString& title) override {
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    return Chosen(dialog);
  }

 private:
  static std::optional<QString> Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
  }
};

}  // namespace

Prompts& PlatformPrompts() {
  static QtPrompts prompts;
  return prompts;
}

QString DropTrailingSeparator(QString path) {
  if (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(u'\\'))) path.chop(1);
  return path;
}

}  // namespace velkor
