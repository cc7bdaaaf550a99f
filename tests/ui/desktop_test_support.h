// What the desktop tests share: the whole program driven through its real
// controller, prompts answered from prepared lists, an image whose reads wait
// for the test, and a hand for the next modal window.
#pragma once

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "res/command_ids.h"
#include "tasks/desktop.h"
#include "tests/fixtures/sample_image.h"
#include "ui/category_tree.h"
#include "ui/log_pane.h"
#include "ui/log_view.h"
#include "ui/new_task_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/prompts.h"
#include "ui/result_pane.h"

using velkor::fixtures::kMiB;

// An image of zeros whose reads wait until the test releases them.
inline std::atomic<bool> heldReadsGo{false};
inline std::atomic<int> heldReads{0};
struct HeldImage final : velkor::ImageSource {
  explicit HeldImage(uint64_t bytes) : size(bytes) {}
  uint64_t Size() const override { return size; }
  size_t Read(uint64_t offset, void* buffer, size_t count) override {
    ++heldReads;
    while (!heldReadsGo) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    count = offset >= size ? 0 : size_t(std::min<uint64_t>(count, size - offset));
    std::memset(buffer, 0, count);
    return count;
  }
  const uint64_t size;
};

// Remembers the message texts and the file questions; answers from lists:
// OK once the answers run out, cancelled once the names do.
struct ScriptedPrompts final : velkor::Prompts {
  using Names = QList<std::optional<QString>>;
  QMessageBox::StandardButton MessageBox(QWidget*, QMessageBox::Icon, const QString&,
                                         const QString& text,
                                         QMessageBox::StandardButtons) override {
    texts << text;
    return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
  }
  std::optional<QString> OpenFileName(QWidget*, const QStringList&, const QString&) override {
    return Next(files);
  }
  std::optional<QString> SaveFileName(QWidget*, const QString& defaultName, const QStringList&,
                                      const QString&) override {
    saveDefaultName = defaultName;
    return Next(files);
  }
  std::optional<QString> FolderName(QWidget*, const QString&) override {
    folderAsked = true;
    return Next(folders);
  }
  static std::optional<QString> Next(Names& names) {
    return names.isEmpty() ? std::nullopt : names.takeFirst();
  }
  QList<QMessageBox::StandardButton> answers;
  Names files, folders;
  QStringList texts;
  QString saveDefaultName;
  bool folderAsked = false;
};

// Polls until a modal window is up, then acts on it; gives up after about
// tries * 20 ms. The poll dies with owner, so that one still running when its
// test has ended cannot act on a later test's windows.
inline void OnNextModal(QObject* owner, std::function<void(QWidget*)> act, int tries = 250) {
  QTimer::singleShot(20, owner, [owner, act, tries] {
    if (QWidget* modal = QApplication::activeModalWidget()) return act(modal);
    if (tries > 1) OnNextModal(owner, act, tries - 1);
  });
}

// The class name and message of the next modal window, which is rejected.
struct ModalSeen : QObject {
  explicit ModalSeen(int tries = 250) {
    OnNextModal(
        this,
        [this](QWidget* modal) {
          className = QString::fromLatin1(modal->metaObject()->className());
          if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
          if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        },
        tries);
  }
  QString className, text;
};

// The child of parent called name; a missing one ends the test program.
template <typename T = QAbstractButton>
T* Child(QObject& parent, const QString& name) {
  T* child = parent.findChild<T*>(name);
  if (!child) qFatal("no child %s", qPrintable(name));
  return child;
}

template <typename Dialog>
void OnNextDialog(std::function<void(Dialog&)> act) {
  OnNextModal(qApp, [act](QWidget* modal) {
    if (auto* dialog = qobject_cast<Dialog*>(modal)) return act(*dialog);
    qFatal("unexpected modal %s", modal->metaObject()->className());
  });
}

inline QByteArray Utf16Le(const QString& text) {
  return {reinterpret_cast<const char*>(text.utf16()), text.size() * 2};
}
inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The sample image, written once per test program.
inline const QString& SamplePath() {
  static const QString path = [] {
    const std::filesystem::path file = (new QTemporaryDir)->filePath("sample.img").toStdString();
    velkor::fixtures::MakeSampleImage(file.parent_path()).image.WriteFile(file);
    return QString::fromStdString(file.string());
  }();
  return path;
}

// The whole program, its controller asking its questions of prompts.
struct TaskDesktop {
  TaskDesktop() {
    controller.SetPrompts(&prompts);
    QObject::connect(&controller, &velkor::TaskController::WorkerFinished, [this] { ++ended; });
  }
  // A test that fails early must not leave the program waiting on its worker.
  ~TaskDesktop() {
    if (releaseOnExit) heldReadsGo = true;
  }
  velkor::Desktop desktop;
  velkor::MainWindow& window = desktop.Window();
  velkor::TaskController& controller = desktop.Controller();
  velkor::CategoryTree& tree = window.Categories();
  velkor::ResultPane& results = window.Results();
  velkor::ProgressDialog& progress = desktop.Progress();
  ScriptedPrompts prompts;
  int ended = 0;  // workers finished
  bool releaseOnExit = true;

  // Answers the task dialog with path through its browse and confirm buttons.
  void AnswerTaskDialog(const QString& path) {
    OnNextDialog<velkor::NewTaskDialog>([this, path](velkor::NewTaskDialog& dialog) {
      prompts.files << path;
      Child(dialog, "browseButton")->click();
      Child(dialog, "confirmButton")->click();
    });
  }
  // Runs command and waits until a worker has ended after it.
  bool RunToEnd(const std::function<void()>& command) {
    const int target = ended + 1;
    command();
    return QTest::qWaitFor([&] { return ended >= target; }, 60000);
  }
  bool RunCommand(int id) {
    return RunToEnd([this, id] { window.RunCommand(id); });
  }
  bool NewTask(const QString& path) {
    AnswerTaskDialog(path);
    return RunToEnd([this] { controller.NewTask(); });
  }
  // Starts a task on a held image of size bytes; true once its scan reads.
  bool StartHeldTask(uint64_t size) {
    heldReadsGo = false;
    heldReads = 0;
    controller.SetImageOpener([size](const std::filesystem::path&) {
      return std::unique_ptr<velkor::ImageSource>(std::make_unique<HeldImage>(size));
    });
    AnswerTaskDialog("/held.img");
    controller.NewTask();
    return QTest::qWaitFor([] { return heldReads > 0; });
  }
  bool ReleaseHeldTask() {
    return RunToEnd([] { heldReadsGo = true; });
  }
  // "title|text" of every log row.
  QStringList LogRows() {
    const velkor::LogModel& log = window.Log().View().Model();
    QStringList rows;
    for (int row = 0; row < log.rowCount(); ++row)
      rows << log.CellText(row, 0) + '|' + log.CellText(row, 2);
    return rows;
  }
  QString Cell(int tab, int row, int column) {
    return QString::fromStdU16String(
        results.List(tab).Model().CellText(size_t(row), size_t(column)));
  }
};
