// The task controller: the category tree of the left pane, the owner of the
// program's one ScanTask, and the receiver of the task commands.
#pragma once

#include <QString>

#include "engine/scan_task.h"
#include "tasks/task_commands.h"
#include "tasks/velkor_ctrl_ctrl.h"

namespace velkor {

class CMainFrame;
class CVelkorRightView;

// Column-2 type flag of a category item and the result tab it brings to the
// front; -1 for a text that names no category.
int TabOfTypeFlag(const QString& flag);

class CVelkorLeftTreeCtrl final : public CVelkorCtrlCtrl, public TaskCommands {
  Q_OBJECT

 public:
  explicit CVelkorLeftTreeCtrl(QWidget* parent = nullptr);

  void SetMainFrame(CMainFrame* frame) { mainFrame_ = frame; }

  void OnNewTask() override;
  void CloseTask() override;
  void OnScanPicture() override;
  void OnScanVideo() override;
  void OnSearch() override;
  void OnSave() override;

  ScanTask& Task() { return task_; }
  QString saveFolder;

 protected:
  void OnLButtonDblClk(Qt::KeyboardModifiers modifiers, QPoint point) override;

 private:
  // Shows the busy notice and returns true while a worker runs.
  bool RefuseWhileBusy();
  CVelkorRightView* RightView() const;

  ScanTask task_;
  CMainFrame* mainFrame_ = nullptr;
};

}  // namespace velkor
