// The task controller: carries out the task commands, owns the task (what to
// scan and what was found) and drives the views it is handed. Long commands
// run on one worker thread at a time; the controller is busy from the moment
// a command starts the worker until the worker's work has returned.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "carving/carved_file.h"
#include "carving/found_files.h"
#include "engine/image_search.h"
#include "engine/image_source.h"
#include "engine/record_scan.h"
#include "engine/scan_input.h"
#include "engine/scan_report.h"
#include "ui/carving_view.h"
#include "ui/task_commands.h"
#include "ui/task_views.h"

class QWidget;

namespace velkor {

class Prompts;
class TaskWorker;

// The views the controller drives; none may be null. Dialogs and message
// boxes open over window.
struct TaskViews {
  QWidget* window;
  CategoryView* categories;
  ResultView* results;
  ProgressView* progress;
  LogSink* log;
};

class TaskController final : public QObject, public TaskCommands {
  Q_OBJECT

 public:
  // Hits of an image search listed in the log; the rest are only counted.
  static constexpr uint64_t kMaxListedHits = 1000;

  explicit TaskController(TaskViews views, QObject* parent = nullptr);
  // Stops a running worker and waits for it, as it uses the task and views.
  ~TaskController() override;

  // Where message boxes and file choices go; the real dialogs by default.
  void SetPrompts(Prompts* prompts);
  // How the task's image is opened; tests hold reads back with their own.
  void SetImageOpener(ImageOpener opener) { imageOpener_ = std::move(opener); }
  // Where the hits of an image search are listed besides the log; none when
  // null.
  void SetSearchHitView(SearchHitView* view) { searchHits_ = view; }
  bool Busy() const { return busy_.load(); }
  // Where the task's image and the found files go for previews and the hex
  // view; nowhere until set.
  void SetCarvingView(CarvingView* view) { carving_ = view; }

  void NewTask() override;
  void CloseTask() override;
  void ScanPictures() override;
  void ScanVideos() override;
  void Search() override;
  void Save() override;
  void Export() override;
  void Stop() override;

 signals:
  // A worker has ended (after the controller stopped being busy).
  void WorkerFinished();

 private:
  using Job = void (TaskController::*)();

  // The tabs the record scan fills, from the table of result tabs.
  static std::vector<int> RecordTabs();

  // Shows the busy notice and returns true while a worker runs.
  bool RefuseWhileBusy();
  // Offers a new task when there is none; true when the command must end.
  bool RefuseWithoutTask();
  void ScanMedia(uint32_t mode);
  // Empties the found-files list and the carved files behind it.
  void ForgetFoundFiles();
  void SearchResults(const QString& text);
  void SaveRecordList(int tab);
  void SaveFoundFiles();
  // Shows the progress dialog with title and runs job on the worker.
  void StartJob(const QString& title, Job job, ProgressUnit unit = ProgressUnit::kWindows);
  // The frame every job follows: start notice, the work with its hand-over
  // to the views, end notice (none when empty), progress closed, not busy.
  void RunJob(std::u16string_view title, const std::u16string& startText,
              const std::function<void()>& work, const std::u16string& endText);
  // Withdraws the stop request before a job starts.
  void ClearStop();
  // Runs on the user-interface thread and waits for it.
  void RunOnUiThread(const std::function<void()>& call);

  // What a job hands the engine: the task's image, its sinks and the stop
  // flag.
  ScanInput JobInput(ProgressSink* progress) const;
  // Opens the image at path through the task's opener, from any thread.
  ImageAccess AccessTo(const std::u16string& path) const;
  // The jobs (task_jobs.cpp), run on the worker.
  void NewTaskJob();
  // The task's record scan into records_, with the image's digest taken from
  // the windows it reads and the facts report.json tells.
  ScanResult ScanTaskRecords();
  void ScanPicturesJob();
  void ScanVideosJob();
  void ScanMediaJob(uint32_t mode);
  void SearchImageJob();
  void SaveFoundFilesJob();
  // The text export of a record list; false when it could not be written.
  bool WriteRecordExport(const QString& path, const std::vector<RowTexts>& rows,
                         size_t columns) const;
  // The CSV of the tab's ticked rows (all when none is ticked) at csvPath and
  // report.json beside it (task_export.cpp); the path that could not be
  // written, or nothing.
  std::optional<QString> WriteExportFiles(const QString& csvPath, int tab) const;

  TaskViews views_;
  SearchHitView* searchHits_ = nullptr;
  CarvingView* carving_ = nullptr;
  Prompts* prompts_;
  TaskWorker* worker_ = nullptr;
  std::atomic<bool> busy_{false};
  // Set by Stop, cleared as a job starts; the engine polls it through the
  // job's ScanInput.
  std::atomic<bool> stop_{false};
  // The record tabs, filled when a record scan ends.
  std::vector<int> recordTabs_;

  // The task.
  std::u16string imagePath_;
  uint8_t platform_ = 0;
  uint32_t recordTypes_ = 0;
  bool deepScan_ = false;  // RecordScanOptions::deep of the task's scan
  ImageOpener imageOpener_ = OpenImageFile;
  uint32_t scanThreads_ = 1;
  uint64_t imageSize_ = 0;
  RecordStores records_;
  // What the last record scan was asked and how it ended, for report.json.
  ScanReport report_{};
  ScanResult scanResult_{};
  // The files the last media scan found, listed in the found-files tab.
  CarvedFileStore carvedFiles_;
  uint32_t carvedMode_ = 0;
  std::u16string carvedImagePath_;

  // What the running job was asked to do.
  MediaScanParams mediaParams_{};
  QString searchText_;
  SearchEncoding searchEncoding_ = SearchEncoding::kUtf8;
  std::vector<uint8_t> searchPattern_;
  QString saveFolder_;
  std::vector<FoundFile> saveFiles_;
  std::vector<size_t> saveRows_;  // the list row of each of saveFiles_
  std::u16string saveImagePath_;
};

}  // namespace velkor
