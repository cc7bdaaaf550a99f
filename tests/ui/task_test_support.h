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

#include "engine/app_state.h"
#include "engine/image_source.h"
#include "tasks/left_dlg.h"
#include "tasks/task_dlg.h"
#include "tasks/velkor_left_tree_ctrl.h"
#include "tests/fixtures/sample_image.h"
#include "tests/ui/ui_test_support.h"
#include "ui/main_frame.h"
#include "ui/tf_color_list_ctrl.h"
#include "ui/velkor_right_view.h"

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
  OnNextDialog<velkor::CTaskDlg>([&prompts, path](velkor::CTaskDlg* dialog) {
    prompts.files << path;
    Click(*dialog, 1013);
    Click(*dialog, 1010);
  });
}

// Runs command and waits until the worker it started has ended.
template <typename Command>
bool RunToEnd(velkor::CVelkorLeftTreeCtrl& controller, Command command, int ms = 60000) {
  QSignalSpy finished(&controller, &velkor::CVelkorLeftTreeCtrl::WorkerFinished);
  command();
  return finished.wait(ms);
}

inline bool RunNewTask(velkor::CMainFrame& frame, ScriptedPrompts& prompts, const QString& path) {
  AnswerTaskDialog(prompts, path);
  velkor::CVelkorLeftTreeCtrl& controller = *frame.TaskController();
  return RunToEnd(controller, [&controller] { controller.OnNewTask(); });
}

// A main window whose task controller asks its questions of prompts.
struct TaskFrame {
  TaskFrame() {
    controller.SetPrompts(&prompts);
    g_bBusy.store(0);
    g_bStop.store(0);
  }
  velkor::CMainFrame frame;
  velkor::CVelkorLeftTreeCtrl& controller = *frame.TaskController();
  velkor::CVelkorRightView& right = *frame.RightView();
  ScriptedPrompts prompts;
};

// "title|text" of every log row.
inline QStringList LogRows(velkor::CMainFrame& frame) {
  velkor::TFColorListCtrl& list = frame.LogView()->List();
  QStringList rows;
  for (int row = 0; row < list.GetItemCount(); ++row) {
    rows << list.GetItemText(row, 0) + QLatin1Char('|') + list.GetItemText(row, 2);
  }
  return rows;
}
