// What the task-command tests share: the sample image on disk, an image that
// holds its reads until the test lets them go, and the steps of a new task
// driven through the real task dialog.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>

#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "engine/image_source.h"
#include "tasks/desktop.h"
#include "tests/fixtures/sample_image.h"
#include "tests/ui/ui_test_support.h"
#include "ui/category_tree.h"
#include "ui/log_pane.h"
#include "ui/log_view.h"
#include "ui/new_task_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/result_pane.h"

// Reads wait until the gate opens; counts the reads that got through.
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

// The sample image, written once per test program.
struct SampleOnDisk {
  QTemporaryDir folder;
  velkor::fixtures::SampleImage sample;
  QString path;
};
inline SampleOnDisk& Sample() {
  static SampleOnDisk* onDisk = [] {
    auto* made = new SampleOnDisk;
    const std::filesystem::path folder = made->folder.path().toStdString();
    made->sample = velkor::fixtures::MakeSampleImage(folder);
    made->sample.image.WriteFile(folder / "sample.img");
    made->path = QString::fromStdString((folder / "sample.img").string());
    return made;
  }();
  return *onDisk;
}

// Answers the task dialog with path through its browse and confirm buttons.
inline void AnswerTaskDialog(ScriptedPrompts& prompts, const QString& path) {
  OnNextDialog<velkor::NewTaskDialog>([&prompts, path](velkor::NewTaskDialog* dialog) {
    prompts.files << path;
    Click(*dialog, "browseButton");
    Click(*dialog, "confirmButton");
  });
}

// Runs command and waits until the worker it started has ended.
template <typename Command>
bool RunToEnd(velkor::TaskController& controller, Command command, int ms = 60000) {
  QSignalSpy finished(&controller, &velkor::TaskController::WorkerFinished);
  command();
  return finished.wait(ms);
}

// The whole program, its controller asking its questions of prompts.
struct TaskDesktop {
  TaskDesktop() { controller.SetPrompts(&prompts); }
  velkor::Desktop desktop;
  velkor::MainWindow& window = desktop.Window();
  velkor::TaskController& controller = desktop.Controller();
  velkor::CategoryTree& tree = window.Categories();
  velkor::ResultPane& results = window.Results();
  velkor::ProgressDialog& progress = desktop.Progress();
  ScriptedPrompts prompts;
};

inline bool RunNewTask(TaskDesktop& t, const QString& path) {
  AnswerTaskDialog(t.prompts, path);
  return RunToEnd(t.controller, [&t] { t.controller.NewTask(); });
}

// "title|text" of every log row.
inline QStringList LogRows(TaskDesktop& t) {
  const velkor::LogModel& log = t.window.Log().View().Model();
  QStringList rows;
  for (int row = 0; row < log.rowCount(); ++row) {
    rows << log.CellText(row, 0) + QLatin1Char('|') + log.CellText(row, 2);
  }
  return rows;
}

// Texts of one cell of a result list.
inline std::u16string Cell(velkor::ResultPane& results, int tab, int row, int column) {
  return results.List(tab).Model().CellText(size_t(row), size_t(column));
}
