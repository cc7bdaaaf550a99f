// The task commands as the main window and the result lists see them. The
// task controller carries them out; tests put a recorder in its place.
#pragma once

namespace velkor {

class TaskCommands {
 public:
  virtual ~TaskCommands() = default;
  virtual void NewTask() = 0;
  virtual void CloseTask() = 0;
  virtual void ScanPictures() = 0;
  virtual void ScanVideos() = 0;
  virtual void Search() = 0;
  // Saves what is ticked in the active result list.
  virtual void Save() = 0;
  // Exports the active record list (its ticked rows, or all) as CSV with the
  // task's report beside it.
  virtual void Export() {}
  // Asks the running scan, search or save to stop.
  virtual void Stop() = 0;
};

}  // namespace velkor
