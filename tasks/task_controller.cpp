// The task commands as the user gives them: the questions and dialogs on the
// user-interface thread, up to the job each one hands to the worker.
#include "tasks/task_controller.h"

#include <algorithm>
#include <thread>

#include <QDateTime>
#include <QStringList>

#include "carving/found_files.h"
#include "engine/log_entries.h"
#include "engine/result_tabs.h"
#include "res/menu_resources.h"
#include "tasks/task_worker.h"
#include "ui/media_scan_dialog.h"
#include "ui/new_task_dialog.h"
#include "ui/prompts.h"
#include "ui/search_dialog.h"
#include "ui/task_texts.h"
#include "ui/ui_thread.h"

namespace velkor {

TaskController::TaskController(TaskViews views, QObject* parent)
    : QObject(parent),
      views_(views),
      prompts_(&PlatformPrompts()),
      recordTabs_(RecordTabs()),
      scanThreads_(std::max(1u, std::thread::hardware_concurrency())) {
  worker_ = new TaskWorker(this);
  connect(worker_, &TaskWorker::Finished, this, &TaskController::WorkerFinished);
}

TaskController::~TaskController() {
  // The worker reads the task and drives the views; neither may go first.
  Stop();
  worker_->Wait();
}

void TaskController::Stop() {
  stop_.store(true);
}

void TaskController::ClearStop() {
  stop_.store(false);
}

std::vector<int> TaskController::RecordTabs() {
  std::vector<int> tabs;
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (tab.filledByRecordScan) tabs.push_back(tab.tab);
  }
  return tabs;
}

void TaskController::SetPrompts(Prompts* prompts) {
  prompts_ = prompts ? prompts : &PlatformPrompts();
}

void TaskController::NewTask() {
  if (RefuseWhileBusy()) return;
  if (views_.categories->HasCategories()) {
    const auto answer =
        prompts_->MessageBox(views_.window, QMessageBox::Question, Text(kCaptionQuestion),
                             Text(kCloseTaskQuestion), QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok) return;
    CloseTask();
  }
  NewTaskDialog dialog(*prompts_, views_.window);
  if (dialog.exec() != QDialog::Accepted) return;
  ForgetFoundFiles();
  imagePath_ = dialog.imagePath().toStdU16String();
  recordTypes_ = dialog.recordTypes();
  deepScan_ = dialog.deepScan();
  platform_ = dialog.platform();
  StartJob(Text(kTitleNewTaskProgress), &TaskController::NewTaskJob);
}

// Runs on the user-interface thread, like every hand-over of a job, so it
// lands either before or after a fill, never inside one.
//
// The found files go with the task: their offsets mean nothing in the next
// image, so Save must never copy them out of it.
void TaskController::CloseTask() {
  views_.categories->ClearCategories();
  views_.results->SetRows(kTabAllContacts, {});
  if (carving_) carving_->SetTaskImage({});
  ForgetFoundFiles();
}

void TaskController::ForgetFoundFiles() {
  carvedFiles_.clear();
  carvedMode_ = 0;
  carvedImagePath_.clear();
  views_.results->SetRows(kTabFoundFiles, {});
  if (carving_) carving_->SetFoundFiles({}, {});
}

void TaskController::ScanPictures() {
  ScanMedia(kModePictures);
}

void TaskController::ScanVideos() {
  ScanMedia(kModeVideos);
}

void TaskController::ScanMedia(uint32_t mode) {
  if (RefuseWhileBusy() || RefuseWithoutTask()) return;
  // Before the dialog, so the found-files list is in front even when the
  // scan is cancelled.
  views_.results->SetActiveTab(kTabFoundFiles);
  MediaScanDialog dialog(*prompts_, mode, imageSize_, views_.window);
  if (dialog.exec() != QDialog::Accepted) return;
  mediaParams_ = dialog.params();
  const bool pictures = mode == kModePictures;
  StartJob(Text(pictures ? kTitleScanPictures : kTitleScanVideos),
           pictures ? &TaskController::ScanPicturesJob : &TaskController::ScanVideosJob);
}

void TaskController::Search() {
  if (RefuseWhileBusy() || RefuseWithoutTask()) return;
  SearchDialog dialog(*prompts_, views_.window);
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.source() == SearchSource::kResults) {
    SearchResults(dialog.searchText());
    return;
  }
  // The dialog accepts only text that the encoding can write.
  searchText_ = dialog.searchText();
  searchEncoding_ = dialog.encoding();
  searchPattern_ =
      SearchPattern(searchText_.toStdU16String(), searchEncoding_).value_or(std::vector<uint8_t>{});
  StartJob(Text(kTitleSearchProgress), &TaskController::SearchImageJob);
}

// Selects the rows of the record lists holding text, brings the first list
// with a match to the front and logs how many rows matched in which lists.
void TaskController::SearchResults(const QString& text) {
  QStringList found;
  int firstTab = -1;
  for (int tab = 0; tab < kTabFoundFiles; ++tab) {
    const size_t matched = views_.results->SelectRowsHolding(tab, text);
    if (matched == 0) continue;
    if (firstTab < 0) firstTab = tab;
    found << QStringLiteral("%1 %2 行").arg(Text(ResultTabOf(tab).caption)).arg(matched);
  }
  if (firstTab >= 0) views_.results->SetActiveTab(firstTab);
  const QString summary =
      found.isEmpty() ? QStringLiteral("没有找到") : found.join(QStringLiteral(", "));
  views_.log->Append(
      LogEntry{kLevelNormal, std::u16string(kTitleSearch),
               QStringLiteral("结果中搜索\"%1\": %2").arg(text, summary).toStdU16String()});
}

void TaskController::Save() {
  if (RefuseWhileBusy()) return;
  const int tab = views_.results->ActiveTab();
  if (tab >= 0 && tab < kTabFoundFiles) {
    SaveRecordList(tab);
  } else if (tab == kTabFoundFiles) {
    SaveFoundFiles();
  }
}

// The ticked rows of a record list as a text file.
void TaskController::SaveRecordList(int tab) {
  if (views_.results->RowCount(tab) == 0) return;
  const ResultTabInfo& info = ResultTabOf(tab);
  const QString stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
  const std::optional<QString> path = prompts_->SaveFileName(
      views_.window, stamp + u'-' + Text(info.exportName),
      {QStringLiteral("txt Files (*.txt)"), QStringLiteral("All Files (*.*)")},
      QStringLiteral("txt"));
  if (!path) return;
  if (WriteRecordExport(*path, views_.results->TickedRowTexts(tab), info.columns.size())) return;
  // An export that silently did not happen would pass for a saved one.
  prompts_->MessageBox(views_.window, QMessageBox::Warning, Text(kCaptionWarning),
                       QString::fromStdU16String(SaveFailedText(path->toStdU16String())),
                       QMessageBox::Ok);
}

// The ticked carved files, copied out of the image by the worker.
void TaskController::SaveFoundFiles() {
  if (views_.results->RowCount(kTabFoundFiles) == 0) return;
  const std::optional<QString> folder = prompts_->FolderName(views_.window, Text(kFolderTitle));
  if (!folder) return;
  if (folder->isEmpty()) {
    prompts_->MessageBox(views_.window, QMessageBox::Critical, Text(kAppName),
                         QStringLiteral("Fail   to   get   directory"), QMessageBox::Ok);
    return;
  }
  saveFolder_ = DropTrailingSeparator(*folder);
  // Taken now, on this thread: a Close Task during the save empties the
  // store, not what the save copies.
  const std::vector<FoundFile> listed = FoundFiles(carvedFiles_, carvedMode_);
  saveFiles_.clear();
  saveRows_.clear();
  for (const size_t row : views_.results->TickedRows(kTabFoundFiles)) {
    if (row >= listed.size()) continue;
    saveFiles_.push_back(listed[row]);
    saveRows_.push_back(row);
  }
  saveImagePath_ = carvedImagePath_;
  StartJob(Text(kTitleSaveProgress), &TaskController::SaveFoundFilesJob, ProgressUnit::kFiles);
}

void TaskController::StartJob(const QString& title, Job job, ProgressUnit unit) {
  ClearStop();
  views_.progress->ShowProgress(title, unit);
  // Set here, not by the worker: no second command may slip in before the
  // thread has run its first step.
  busy_.store(true);
  if (worker_->Start([this, job] { (this->*job)(); })) return;
  busy_.store(false);
  views_.progress->CloseProgress();
  prompts_->MessageBox(views_.window, QMessageBox::Critical, Text(kAppName),
                       Text(kWorkerFailedText), QMessageBox::Ok);
}

void TaskController::RunJob(std::u16string_view title, const std::u16string& startText,
                            const std::function<void()>& work, const std::u16string& endText) {
  views_.log->Append(LogEntry{kLevelNormal, std::u16string(title), startText});
  work();
  if (!endText.empty()) views_.log->Append(LogEntry{kLevelNormal, std::u16string(title), endText});
  RunOnUiThread([this] { views_.progress->CloseProgress(); });
  busy_.store(false);
}

bool TaskController::RefuseWhileBusy() {
  if (!busy_.load()) return false;
  prompts_->MessageBox(views_.window, QMessageBox::Information, Text(kAppName), Text(kBusyText),
                       QMessageBox::Ok);
  return true;
}

bool TaskController::RefuseWithoutTask() {
  if (views_.categories->HasCategories()) return false;
  const auto answer =
      prompts_->MessageBox(views_.window, QMessageBox::Warning, Text(kCaptionWarning),
                           Text(kNoTaskText), QMessageBox::Ok | QMessageBox::Cancel);
  if (answer == QMessageBox::Ok) NewTask();
  return true;
}

void TaskController::RunOnUiThread(const std::function<void()>& call) {
  RunOnOwnerThread(this, [&call] { call(); });
}

}  // namespace velkor
