// The desktop program put together: the main window, the progress dialog and
// the task controller that drives them and receives the window's commands.
#pragma once

#include "tasks/task_controller.h"
#include "ui/main_window.h"

namespace velkor {

class ProgressDialog;

class Desktop {
 public:
  Desktop();

  MainWindow& Window() { return window_; }
  TaskController& Controller() { return controller_; }
  ProgressDialog& Progress() { return *progress_; }

 private:
  MainWindow window_;
  ProgressDialog* progress_;
  // Last, so it goes first: its worker still drives the window until the end.
  TaskController controller_;
};

}  // namespace velkor
