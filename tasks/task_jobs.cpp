// The jobs of the task controller, run on the worker, and what they hand to
// the views when they end.
//
// core split: this is the one file that reaches the engine's ScanTask and its
// process-wide stop flag and progress text. It is also the one desktop file
// that includes engine/record_rows.h, which declares the result tabs a second
// time beside engine/result_tabs.h; no file may include both.
#include <algorithm>
#include <thread>

#include "carving/found_files.h"
#include "carving/text_export.h"
#include "engine/app_state.h"
#include "engine/log_entries.h"
#include "engine/record_rows.h"
#include "engine/scan_task.h"
#include "engine/text_format.h"
#include "tasks/task_controller.h"
#include "tasks/task_worker.h"
#include "ui/prompts.h"

namespace velkor {
namespace {

// core split: the scans write their progress text to g_strProgress; the
// dialog is handed it after each position or step, where it used to read it.
class SharedTextProgress final : public ProgressSink {
 public:
  explicit SharedTextProgress(ProgressTextSink& shown) : shown_(shown) {}
  void ProgressRange(uint32_t total) override { shown_.ProgressRange(total); }
  void ProgressPos(uint32_t position) override {
    shown_.ProgressPos(position);
    shown_.ProgressText(g_strProgress.Get());
  }
  void ProgressStep() override {
    shown_.ProgressStep();
    shown_.ProgressText(g_strProgress.Get());
  }

 private:
  ProgressTextSink& shown_;
};

}  // namespace

// Here, where the record stores' type is complete, as their owner needs.
TaskController::TaskController(TaskViews views, QObject* parent)
    : QObject(parent),
      views_(views),
      prompts_(&PlatformPrompts()),
      recordTabs_(RecordTabs()),
      scanThreads_(std::max(1u, std::thread::hardware_concurrency())),
      records_(std::make_unique<ScanTask>()) {
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
  g_bStop.store(1);  // core split: the engine polls the stop flag of its ScanInput
}

void TaskController::ClearStop() {
  stop_.store(false);
  g_bStop.store(0);  // core split: as in Stop
}

ScanTask& TaskController::PreparedTask(ProgressSink* progress) {
  ScanTask& task = *records_;
  task.imagePath = imagePath_;
  task.platform = platform_;
  task.recordTypeMask = recordTypes_;
  task.templates = templates_;
  task.imageOpener = imageOpener_;
  task.scanThreads = scanThreads_;
  task.mediaParams = mediaParams_;
  task.progressWindow = progress;
  task.logWindow = views_.log;
  return task;
}

// The tree and the record lists appear together: a close-task command lands
// before or after them, never between.
void TaskController::NewTaskJob() {
  RunJob(
      kTitleNewTask, TaskEventText(0, imagePath_),
      [this] {
        SharedTextProgress progress(views_.progress->Sink());
        ScanTask& task = PreparedTask(&progress);
        task.ScanRecords();
        imageSize_ = task.imageSize;
        std::vector<size_t> counts(kResultTabCount);
        for (int tab = 0; tab < kResultTabCount; ++tab) {
          counts[static_cast<size_t>(tab)] = RecordRowCount(task, tab);
        }
        std::vector<std::vector<RowTexts>> rows(recordTabs_.size());
        for (size_t list = 0; list < recordTabs_.size(); ++list) {
          const size_t count = RecordRowCount(task, recordTabs_[list]);
          rows[list].reserve(count);
          for (size_t i = 0; i < count; ++i)
            rows[list].push_back(RecordRow(task, recordTabs_[list], i));
        }
        RunOnUiThread([this, &counts, &rows] {
          views_.categories->ShowCategories(QString::fromStdU16String(imagePath_), counts);
          for (size_t list = 0; list < recordTabs_.size(); ++list) {
            views_.results->SetRows(recordTabs_[list], std::move(rows[list]));
          }
        });
      },
      TaskEventText(1, {}));
}

void TaskController::ScanPicturesJob() {
  ScanMediaJob(kModePictures);
}

void TaskController::ScanVideosJob() {
  ScanMediaJob(kModeVideos);
}

void TaskController::ScanMediaJob(uint32_t mode) {
  RunJob(
      kTitleScan, TaskEventText(2, imagePath_),
      [this, mode] {
        SharedTextProgress progress(views_.progress->Sink());
        ScanTask& task = PreparedTask(&progress);
        if (mode == kModePictures) {
          task.ScanPictures();
        } else {
          task.ScanVideos();
        }
        imageSize_ = task.imageSize;
        carvedFiles_ = task.carvedFiles;
        carvedMode_ = mode;
        carvedImagePath_ = imagePath_;
        std::vector<RowTexts> rows = FoundFileRows(carvedFiles_, mode);
        RunOnUiThread([this, &rows] { views_.results->SetRows(kTabFoundFiles, std::move(rows)); });
      },
      TaskEventText(3, {}));
}

void TaskController::SearchImageJob() {
  const std::u16string start = Concat({u"搜索\"", searchText_.toStdU16String(), u"\",请稍等..."});
  // The search writes its own closing row with the count.
  RunJob(kTitleSearch, start,
         [this] {
           SharedTextProgress progress(views_.progress->Sink());
           SearchTaskImage(PreparedTask(&progress), searchPattern_, searchEncoding_,
                           kMaxListedHits);
         },
         {});
}

// The ticked rows name carved files of the last media scan by their place in
// its store, which the found-files list shows in the same order.
void TaskController::SaveFoundFilesJob() {
  RunJob(
      kTitleSave, TaskEventText(4, saveFolder_.toStdU16String()),
      [this] {
        const std::vector<RowTexts> texts = FoundFileRows(carvedFiles_, carvedMode_);
        std::vector<CarvedFileRow> rows(texts.size());
        for (size_t row = 0; row < texts.size(); ++row) {
          rows[row] = {texts[row][0], texts[row][1], texts[row][2], false};
        }
        for (const size_t row : saveRows_) {
          if (row < rows.size()) rows[row].ticked = true;
        }
        const std::vector<size_t> written =
            SaveCarvedFiles(imageOpener_, carvedImagePath_, rows, saveFolder_.toStdU16String(),
                            views_.log, &views_.progress->Sink());
        RunOnUiThread([this, &written] { views_.results->Untick(kTabFoundFiles, written); });
      },
      TaskEventText(5, {}));
}

bool TaskController::WriteRecordExport(const QString& path, const std::vector<RowTexts>& rows,
                                       size_t columns) const {
  return WriteTextExport(PathFromText(path.toStdU16String()), rows, columns);
}

}  // namespace velkor
