#include "tasks/velkor_left_tree_ctrl.h"

#include <algorithm>
#include <array>
#include <thread>

#include "engine/app_state.h"
#include "res/menu_resources.h"
#include "tasks/left_dlg.h"
#include "tasks/progress_dlg.h"
#include "tasks/scan_dlg.h"
#include "tasks/search_dlg.h"
#include "tasks/task_dlg.h"
#include "tasks/task_prompts.h"
#include "tasks/task_texts.h"
#include "tasks/task_worker.h"
#include "ui/main_frame.h"
#include "ui/velkor_right_view.h"

namespace velkor {

int TabOfTypeFlag(const QString& flag) {
  static const std::array<const char*, 11> kFlags{"0x01",  "0x02",  "0x04",      "0x08",
                                                  "0x10",  "0x20",  "0x40",      "0x80",
                                                  "0x100", "0x200", "0xFFFFFFFF"};
  for (size_t tab = 0; tab < kFlags.size(); ++tab) {
    if (flag == QLatin1String(kFlags[tab])) return static_cast<int>(tab);
  }
  return -1;
}

CVelkorLeftTreeCtrl::CVelkorLeftTreeCtrl(QWidget* parent)
    : CVelkorCtrlCtrl(parent), prompts_(&PlatformPrompts()) {
  task_.scanThreads = std::max(1u, std::thread::hardware_concurrency());
  worker_ = new TaskWorker(this);
  connect(worker_, &TaskWorker::Finished, this, &CVelkorLeftTreeCtrl::WorkerFinished);
}

CVelkorLeftTreeCtrl::~CVelkorLeftTreeCtrl() {
  // The worker reads the task and the panes; neither may go before it ends.
  g_bStop.store(1);
  worker_->Wait();
}

void CVelkorLeftTreeCtrl::SetPrompts(TaskPrompts* prompts) {
  prompts_ = prompts ? prompts : &PlatformPrompts();
}

void CVelkorLeftTreeCtrl::OnNewTask() {
  if (RefuseWhileBusy()) return;
  if (GetItemCount() > 0) {
    const auto answer =
        prompts_->MessageBox(this, QMessageBox::Question, Text(kCaptionQuestion),
                             Text(kCloseTaskQuestion), QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok) return;
    CloseTask();
  }
  CTaskDlg dialog(*prompts_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  task_.imagePath = dialog.m_strPath.toStdU16String();
  task_.recordTypeMask = dialog.m_nRecordTypes;
  task_.platform = dialog.m_nPlatform;
  task_.templates = dialog.templates;
  ShowProgress(Text(kTitleNewTaskProgress));
  StartWorker(&NewTaskThreadProc);
}

// Runs on the user-interface thread, like every fill step, so it lands
// either before or after a fill, never inside one.
void CVelkorLeftTreeCtrl::CloseTask() {
  DeleteAllItems();
  if (CVelkorRightView* right = RightView()) right->List(kTabAllContacts).DeleteAllItems();
}

void CVelkorLeftTreeCtrl::OnScanPicture() {
  ScanMedia(kModePictures);
}

void CVelkorLeftTreeCtrl::OnScanVideo() {
  ScanMedia(kModeVideos);
}

void CVelkorLeftTreeCtrl::ScanMedia(uint32_t mode) {
  if (RefuseWhileBusy() || RefuseWithoutTask()) return;
  // Before the dialog, so the found-files list is in front even when the
  // scan is cancelled.
  if (CVelkorRightView* right = RightView()) right->SetActiveTab(kTabFoundFiles);
  CScanDlg dialog(*prompts_, this);
  dialog.imageLength = task_.imageSize;
  dialog.params.mode = mode;
  if (dialog.exec() != QDialog::Accepted) return;
  const bool pictures = mode == kModePictures;
  ShowProgress(Text(pictures ? kTitleScanPictures : kTitleScanVideos));
  task_.mediaParams = dialog.params;
  StartWorker(pictures ? &ScanPictureThreadProc : &ScanVideoThreadProc);
}

void CVelkorLeftTreeCtrl::OnSearch() {
  if (RefuseWhileBusy() || RefuseWithoutTask()) return;
  CSearchDlg dialog(*prompts_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.Source() == SearchSource::kResults) {
    SearchResults(dialog.SearchText());
    return;
  }
  // The dialog accepts only text that the encoding can write.
  searchText_ = dialog.SearchText();
  searchEncoding_ = dialog.Encoding();
  searchPattern_ =
      SearchPattern(searchText_.toStdU16String(), searchEncoding_).value_or(std::vector<uint8_t>{});
  ShowProgress(Text(kTitleSearchProgress));
  StartWorker(&SearchThreadProc);
}

void CVelkorLeftTreeCtrl::ShowProgress(const QString& title) {
  g_bStop.store(0);
  if (!progressDlg_) {
    progressDlg_ = new CProgressDlg(this);
    progressDlg_->setObjectName(QStringLiteral("progressDlg"));
  }
  progressDlg_->show();
  progressDlg_->setWindowTitle(title);
  task_.progressWindow = &progressDlg_->Sink();
  task_.logWindow = LogWindow();
}

void CVelkorLeftTreeCtrl::StartWorker(int (*proc)(CVelkorLeftTreeCtrl*)) {
  // Set here, not by the worker: no second command may slip in before the
  // thread has run its first step.
  g_bBusy.store(1);
  if (worker_->Start([this, proc] { proc(this); })) return;
  g_bBusy.store(0);
  if (progressDlg_) progressDlg_->hide();
  prompts_->MessageBox(this, QMessageBox::Critical, Text(kAppName), Text(kWorkerFailedText),
                       QMessageBox::Ok);
}

void CVelkorLeftTreeCtrl::OnLButtonDblClk(Qt::KeyboardModifiers, QPoint) {
  const CVelkorCtrlItem selected = GetSelectedItem();
  if (!selected) return;
  const int tab = TabOfTypeFlag(GetItemText(selected, 2));
  CVelkorRightView* right = RightView();
  if (tab >= 0 && right) right->SetActiveTab(tab);
}

bool CVelkorLeftTreeCtrl::RefuseWhileBusy() {
  if (!g_bBusy.load()) return false;
  prompts_->MessageBox(this, QMessageBox::Information, Text(kAppName), Text(kBusyText),
                       QMessageBox::Ok);
  return true;
}

bool CVelkorLeftTreeCtrl::RefuseWithoutTask() {
  if (GetRootItem()) return false;
  const auto answer =
      prompts_->MessageBox(this, QMessageBox::Warning, Text(kCaptionWarning), Text(kNoTaskText),
                           QMessageBox::Ok | QMessageBox::Cancel);
  if (answer == QMessageBox::Ok) OnNewTask();
  return true;
}

LogSink* CVelkorLeftTreeCtrl::LogWindow() const {
  CLeftDlg* log = mainFrame_ ? mainFrame_->LogView() : nullptr;
  return log ? &log->Sink() : nullptr;
}

CVelkorRightView* CVelkorLeftTreeCtrl::RightView() const {
  return mainFrame_ ? mainFrame_->RightView() : nullptr;
}

}  // namespace velkor
