// What the desktop tests share: the whole program driven through its real
// controller, prompts answered from prepared lists, an image whose reads wait
// for the test, and closers for modal windows.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include "engine/image_source.h"
#include "tasks/desktop.h"
#include "tests/fixtures/sample_image.h"
#include "ui/category_tree.h"
#include "ui/log_pane.h"
#include "ui/log_view.h"
#include "ui/new_task_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/prompts.h"
#include "ui/result_pane.h"

// Reads wait until the gate opens; counts the reads that arrived.
class Gate {
 public:
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }
  void Pass() {
    arrived.fetch_add(1);
    std::unique_lock lock(mutex_);
    opened_.wait(lock, [this] { return open_; });
  }
  std::atomic<int> arrived{0};

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

// An image of zeros whose reads pass the gate first.
class GateSource final : public velkor::ImageSource {
 public:
  GateSource(uint64_t size, std::shared_ptr<Gate> gate) : size_(size), gate_(std::move(gate)) {}
  uint64_t Size() const override { return size_; }
  size_t Read(uint64_t offset, void* buffer, size_t count) override {
    gate_->Pass();
    if (offset >= size_) return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
    std::memset(buffer, 0, count);
    return count;
  }

 private:
  uint64_t size_;
  std::shared_ptr<Gate> gate_;
};

// Remembers the message texts and the file questions; answers from lists.
class ScriptedPrompts final : public velkor::Prompts {
 public:
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

  QList<QMessageBox::StandardButton> answers;  // Ok once they run out
  QList<std::optional<QString>> files;         // cancelled once they run out
  QList<std::optional<QString>> folders;
  QStringList texts;
  QString saveDefaultName;
  bool folderAsked = false;

 private:
  static std::optional<QString> Next(QList<std::optional<QString>>& answers) {
    return answers.isEmpty() ? std::nullopt : answers.takeFirst();
  }
};

// What the next modal window was. A QObject, so that a closer still polling
// when its test has ended dies with it instead of writing into a later test.
struct ModalSeen : QObject {
  bool shown = false;
  QString className;
  QString text;
};

// Polls until a modal window is up, records and rejects it; gives up after
// about tries * 20 ms.
inline void CloseNextModal(ModalSeen* seen, int tries = 250) {
  QTimer::singleShot(20, seen, [seen, tries] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      if (tries > 1) CloseNextModal(seen, tries - 1);
      return;
    }
    seen->shown = true;
    seen->className = QString::fromLatin1(modal->metaObject()->className());
    if (auto* box = qobject_cast<QMessageBox*>(modal)) seen->text = box->text();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  });
}

// Runs act on the next modal dialog of type Dialog once it is up.
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

// The sample image, written once per test program.
struct SampleOnDisk {
  QTemporaryDir folder;
  QString path;
};
inline const QString& SamplePath() {
  static SampleOnDisk* onDisk = [] {
    auto* made = new SampleOnDisk;
    const std::filesystem::path folder = made->folder.path().toStdString();
    velkor::fixtures::MakeSampleImage(folder).image.WriteFile(folder / "sample.img");
    made->path = QString::fromStdString((folder / "sample.img").string());
    return made;
  }();
  return onDisk->path;
}

// The whole program, its controller asking its questions of prompts.
struct TaskDesktop {
  TaskDesktop() { controller.SetPrompts(&prompts); }
  // A test that fails early must not leave the program waiting on its worker.
  ~TaskDesktop() {
    for (const std::shared_ptr<Gate>& gate : gates) gate->Open();
  }
  velkor::Desktop desktop;
  velkor::MainWindow& window = desktop.Window();
  velkor::TaskController& controller = desktop.Controller();
  velkor::CategoryTree& tree = window.Categories();
  velkor::ResultPane& results = window.Results();
  velkor::ProgressDialog& progress = desktop.Progress();
  ScriptedPrompts prompts;
  std::vector<std::shared_ptr<Gate>> gates;

  // Answers the task dialog with path through its browse and confirm buttons.
  void AnswerTaskDialog(const QString& path) {
    OnNextDialog<velkor::NewTaskDialog>([this, path](velkor::NewTaskDialog* dialog) {
      prompts.files << path;
      Click(*dialog, "browseButton");
      Click(*dialog, "confirmButton");
    });
  }
  // Runs command and waits until the worker it started has ended.
  bool RunToEnd(const std::function<void()>& command) {
    QSignalSpy finished(&controller, &velkor::TaskController::WorkerFinished);
    command();
    return finished.wait(60000);
  }
  bool RunCommand(int id) {
    return RunToEnd([this, id] { window.RunCommand(id); });
  }
  bool NewTask(const QString& path) {
    AnswerTaskDialog(path);
    return RunToEnd([this] { controller.NewTask(); });
  }
  // A task whose record scan waits at its first read until the gate opens.
  std::shared_ptr<Gate> HoldNextScan(uint64_t size) {
    auto gate = gates.emplace_back(std::make_shared<Gate>());
    controller.SetImageOpener([gate, size](const std::filesystem::path&) {
      return std::unique_ptr<velkor::ImageSource>(std::make_unique<GateSource>(size, gate));
    });
    return gate;
  }
  // "title|text" of every log row.
  QStringList LogRows() {
    const velkor::LogModel& log = window.Log().View().Model();
    QStringList rows;
    for (int row = 0; row < log.rowCount(); ++row) {
      rows << log.CellText(row, 0) + QLatin1Char('|') + log.CellText(row, 2);
    }
    return rows;
  }
  QString Cell(int tab, int row, int column) {
    return QString::fromStdU16String(
        results.List(tab).Model().CellText(size_t(row), size_t(column)));
  }
};
