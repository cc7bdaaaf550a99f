// The task commands as the frame and the result lists see them. The task
// controller carries them out; tests put a recorder in its place.
#pragma once

namespace velkor {

class TaskCommands {
 public:
  virtual ~TaskCommands() = default;
  virtual void OnNewTask() = 0;
  virtual void CloseTask() = 0;
  virtual void OnScanPicture() = 0;
  virtual void OnScanVideo() = 0;
  virtual void OnSearch() = 0;
  // Saves what is ticked in the active result list.
  virtual void OnSave() = 0;
};

}  // namespace velkor
