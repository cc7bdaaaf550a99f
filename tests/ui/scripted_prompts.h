// Stands in for the message boxes and file choosers of the task commands:
// remembers what was asked and answers from prepared lists.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QApplication>
#include <QList>
#include <QTimer>

#include "tasks/task_prompts.h"

struct BoxSeen {
  QMessageBox::Icon icon;
  QString caption;
  QString text;
  QMessageBox::StandardButtons buttons;
};

class ScriptedPrompts final : public velkor::TaskPrompts {
 public:
  QMessageBox::StandardButton MessageBox(QWidget*, QMessageBox::Icon icon, const QString& caption,
                                         const QString& text,
                                         QMessageBox::StandardButtons buttons) override {
    boxes.push_back({icon, caption, text, buttons});
    return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
  }
  std::optional<QString> OpenFileName(QWidget*, const QStringList& filters,
                                      const QString& defaultSuffix) override {
    openFilters = filters;
    openSuffix = defaultSuffix;
    return Next(files);
  }
  std::optional<QString> SaveFileName(QWidget*, const QString& defaultName,
                                      const QStringList& filters,
                                      const QString& defaultSuffix) override {
    saveDefaultName = defaultName;
    saveFilters = filters;
    saveSuffix = defaultSuffix;
    return Next(files);
  }
  std::optional<QString> FolderName(QWidget*, const QString& title) override {
    folderTitle = title;
    return Next(folders);
  }

  QStringList Texts() const {
    QStringList texts;
    for (const BoxSeen& box : boxes) texts << box.text;
    return texts;
  }

  QList<QMessageBox::StandardButton> answers;  // Ok once they run out
  QList<std::optional<QString>> files;         // cancelled once they run out
  QList<std::optional<QString>> folders;
  std::vector<BoxSeen> boxes;
  QStringList openFilters, saveFilters;
  QString openSuffix, saveSuffix, saveDefaultName, folderTitle;

 private:
  static std::optional<QString> Next(QList<std::optional<QString>>& answers) {
    return answers.isEmpty() ? std::nullopt : answers.takeFirst();
  }
};

// Runs act on the next modal dialog of type Dialog once it is up; gives up
// after about tries * 20 ms.
template <typename Dialog>
void OnNextDialog(std::function<void(Dialog*)> act, int tries = 250) {
  QTimer::singleShot(20, [act, tries] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (tries > 1) OnNextDialog<Dialog>(act, tries - 1);
      return;
    }
    act(dialog);
  });
}
