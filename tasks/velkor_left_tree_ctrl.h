// The task controller: the category tree of the left pane, the owner of the
// program's one ScanTask and of the progress dialog, and the receiver of the
// task commands. Long commands run on one worker thread at a time; g_bBusy
// is set from the moment a command starts the worker until the worker ends.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "engine/image_search.h"
#include "engine/record_rows.h"
#include "engine/scan_task.h"
#include "tasks/task_commands.h"
#include "tasks/velkor_ctrl_ctrl.h"

namespace velkor {

class CMainFrame;
class CProgressDlg;
class CVelkorRightView;
class TaskPrompts;
class TaskWorker;

// Column-2 type flag of a category item and the result tab it brings to the
// front; -1 for a text that names no category.
int TabOfTypeFlag(const QString& flag);

class CVelkorLeftTreeCtrl final : public CVelkorCtrlCtrl, public TaskCommands {
  Q_OBJECT

 public:
  // Hits of an image search listed in the log; the rest are only counted.
  static constexpr uint64_t kMaxListedHits = 1000;

  explicit CVelkorLeftTreeCtrl(QWidget* parent = nullptr);
  // Stops a running scan and waits for its worker, which uses the task.
  ~CVelkorLeftTreeCtrl() override;

  void SetMainFrame(CMainFrame* frame) { mainFrame_ = frame; }
  // Where message boxes and file choices go; the real dialogs by default.
  void SetPrompts(TaskPrompts* prompts);
  TaskPrompts& Prompts() const { return *prompts_; }

  void OnNewTask() override;
  void CloseTask() override;
  void OnScanPicture() override;
  void OnScanVideo() override;
  void OnSearch() override;
  void OnSave() override;

  // Clears g_bStop, shows the progress dialog with title and points the
  // task's progress and log at the dialog and the log pane.
  void ShowProgress(const QString& title);

  // The worker routines. Each returns 0; a null controller does nothing.
  static int NewTaskThreadProc(CVelkorLeftTreeCtrl* controller);
  static int ScanPictureThreadProc(CVelkorLeftTreeCtrl* controller);
  static int ScanVideoThreadProc(CVelkorLeftTreeCtrl* controller);
  static int SaveThreadProc(CVelkorLeftTreeCtrl* controller);
  static int SearchThreadProc(CVelkorLeftTreeCtrl* controller);

  // The fills may be called from any thread. Each list and the tree change in
  // one step on the user-interface thread, never row by row.
  void FillCategoryTree();
  void FillResultLists();
  void FillFoundPicturesList();
  void FillFoundVideosList();
  // The body of the save worker.
  void SaveTickedCarvedFiles();

  // Selects the rows of the record lists holding text, brings the first into
  // view and logs how many rows matched in which lists.
  void SearchResults(const QString& text);

  ScanTask& Task() { return task_; }
  CProgressDlg* ProgressDialog() const { return progressDlg_; }
  QString saveFolder;

 signals:
  // A worker has ended (after g_bBusy was cleared).
  void WorkerFinished();

 protected:
  void OnLButtonDblClk(Qt::KeyboardModifiers modifiers, QPoint point) override;

 private:
  using ResultRows = std::vector<std::vector<RowTexts>>;

  // Shows the busy notice and returns true while a worker runs.
  bool RefuseWhileBusy();
  // Offers a new task when there is none; true when the command must end.
  bool RefuseWithoutTask();
  void ScanMedia(uint32_t mode);
  void StartWorker(int (*proc)(CVelkorLeftTreeCtrl*));
  // The frame every worker follows: start notice, work with its fill, end
  // notice, progress dialog closed, g_bBusy cleared.
  int RunWorker(std::u16string_view title, const std::u16string& startText,
                const std::function<void()>& work, const std::u16string& endText);
  // The tree and the record lists of a finished record scan, in one step.
  void FillTaskResults();
  ResultRows MakeResultRows() const;
  void ShowResultRows(ResultRows rows);
  void BuildCategoryTree();
  void FillFoundFilesList(uint32_t mode);
  void SaveRecordList(int tab, const QString& stamp);
  void SaveFoundFiles();
  LogSink* LogWindow() const;
  CVelkorRightView* RightView() const;

  ScanTask task_;
  CMainFrame* mainFrame_ = nullptr;
  TaskPrompts* prompts_ = nullptr;
  CProgressDlg* progressDlg_ = nullptr;
  TaskWorker* worker_ = nullptr;
  std::vector<uint8_t> searchPattern_;
  SearchEncoding searchEncoding_ = SearchEncoding::kUtf8;
  QString searchText_;
};

}  // namespace velkor
