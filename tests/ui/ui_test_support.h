// What the desktop tests share: a recorder standing in for the task
// controller, prompts answered from prepared lists, closers for modal windows,
// and small readers of widgets and files.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QList>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include "ui/prompts.h"
#include "ui/task_commands.h"

// Stands in for the task controller and remembers which commands arrived.
class CommandRecorder final : public velkor::TaskCommands {
 public:
  void NewTask() override { calls << QStringLiteral("NewTask"); }
  void CloseTask() override { calls << QStringLiteral("CloseTask"); }
  void ScanPictures() override { calls << QStringLiteral("ScanPictures"); }
  void ScanVideos() override { calls << QStringLiteral("ScanVideos"); }
  void Search() override { calls << QStringLiteral("Search"); }
  void Save() override { calls << QStringLiteral("Save"); }
  void Stop() override { calls << QStringLiteral("Stop"); }

  QStringList calls;
};

// What the next modal window showed; CloseNextModal fills it in. A QObject,
// so that a closer still polling when its test has ended (a slow machine)
// dies with it instead of writing into a later test's stack.
struct ModalSeen : QObject {
  bool shown = false;
  QString title;
  QString text;
  QString className;
  QStringList labels;
};

// Polls until a modal window is up, records it and rejects it; gives up
// after about tries * 20 ms.
inline void CloseNextModal(ModalSeen* seen, int tries = 250) {
  QTimer::singleShot(20, seen, [seen, tries] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      if (tries > 1) CloseNextModal(seen, tries - 1);
      return;
    }
    seen->shown = true;
    seen->title = modal->windowTitle();
    seen->className = QString::fromLatin1(modal->metaObject()->className());
    if (auto* box = qobject_cast<QMessageBox*>(modal)) seen->text = box->text();
    for (const QLabel* label : modal->findChildren<QLabel*>()) seen->labels << label->text();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  });
}

// Stands in for the message boxes and file choosers of the task commands:
// remembers what was asked and answers from prepared lists.
struct BoxSeen {
  QMessageBox::Icon icon;
  QString caption;
  QString text;
  QMessageBox::StandardButtons buttons;
};

class ScriptedPrompts final : public velkor::Prompts {
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

// "text:id" per action, "-" per separator.
inline QStringList ActionItems(const QList<QAction*>& actions) {
  QStringList items;
  for (const QAction* action : actions) {
    items << (action->isSeparator() ? QStringLiteral("-")
                                    : action->text() + u':' + action->data().toString());
  }
  return items;
}

// The child of parent called name; a missing one ends the test program.
template <typename T>
T* Child(QObject& parent, const QString& name) {
  T* child = parent.findChild<T*>(name);
  if (!child) qFatal("no child %s", qPrintable(name));
  return child;
}
inline void Click(QWidget& dialog, const char* button) {
  Child<QAbstractButton>(dialog, QLatin1String(button))->click();
}

inline QByteArray Utf16Le(const QString& text) {
  QByteArray bytes;
  for (const QChar unit : text) {
    bytes.append(static_cast<char>(unit.unicode() & 0xFF));
    bytes.append(static_cast<char>(unit.unicode() >> 8));
  }
  return bytes;
}

inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
