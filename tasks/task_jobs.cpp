// The jobs of the task controller, run on the worker, and what they hand to
// the views when they end. Each job builds everything the views will show
// before it hands it over in one step on the user-interface thread.
#include <chrono>
#include <span>

#include "carving/found_files.h"
#include "carving/media_scan.h"
#include "engine/image_digest.h"
#include "engine/log_entries.h"
#include "engine/record_rows.h"
#include "engine/text_export.h"
#include "engine/text_format.h"
#include "res/menu_resources.h"
#include "tasks/task_controller.h"
#include "ui/prompts.h"
#include "ui/row_provenance.h"

namespace velkor {
namespace {

std::vector<FoundFileInfo> FoundFileInfos(const std::vector<FoundFile>& files, uint32_t mode) {
  std::vector<FoundFileInfo> infos;
  infos.reserve(files.size());
  for (const FoundFile& found : files) {
    infos.push_back(
        {found.file.offset, found.file.length, found.file.verified, mode == kModePictures});
  }
  return infos;
}

}  // namespace

ImageAccess TaskController::AccessTo(const std::u16string& path) const {
  return [opener = imageOpener_, image = PathFromText(path)] { return opener(image); };
}

ScanInput TaskController::JobInput(ProgressSink* progress) const {
  ScanInput input;
  input.imagePath = PathFromText(imagePath_);
  input.platform = platform_;
  input.imageOpener = imageOpener_;
  input.progress = progress;
  input.log = views_.log;
  input.stop = &stop_;
  return input;
}

// A folder has no single image to hash; the digest's gap says so in the
// report.
ScanResult TaskController::ScanTaskRecords() {
  RecordScanOptions options{recordTypes_, scanThreads_, true};
  options.deep = deepScan_;
  ImageDigest digest;
  if (platform_ != kPlatformItunes) {
    options.windowRead = [&digest](uint64_t offset, std::span<const uint8_t> bytes) {
      digest.AddWindow(offset, bytes);
    };
  }
  report_ = ScanReport{Text(kAppName).toStdString(), VELKOR_VERSION, {},
                       PathFromText(imagePath_),     platform_,      recordTypes_};
  report_.started = std::chrono::system_clock::now();
  scanResult_ = ScanRecords(JobInput(&views_.progress->Sink()), options, records_);
  report_.ended = std::chrono::system_clock::now();
  report_.sha256Missing = DigestGap(scanResult_, platform_, digest.Valid(), digest.BytesHashed());
  if (report_.sha256Missing.empty()) report_.sha256 = digest.FinishHex();
  return scanResult_;
}

// The tree and the record lists appear together: a close-task command lands
// before or after them, never between.
void TaskController::NewTaskJob() {
  RunJob(
      kTitleNewTask, TaskEventText(0, imagePath_),
      [this] {
        records_ = RecordStores{};
        const ScanResult result = ScanTaskRecords();
        imageSize_ = result.imageSize;
        if (!result.opened) {
          // An image that cannot be read is no task: no tree of zeros that
          // looks like an empty phone.
          RunOnUiThread([this] {
            prompts_->MessageBox(views_.window, QMessageBox::Warning, Text(kCaptionWarning),
                                 QString::fromStdU16String(OpenFailedText(imagePath_)),
                                 QMessageBox::Ok);
          });
          return;
        }
        std::vector<size_t> counts(kResultTabCount);
        for (int tab = 0; tab < kResultTabCount; ++tab) {
          counts[static_cast<size_t>(tab)] = RecordRowCount(records_, tab);
        }
        std::vector<std::vector<RowTexts>> rows(recordTabs_.size());
        std::vector<std::vector<FullTexts>> full(recordTabs_.size());
        std::vector<std::vector<RowProvenance>> origins(recordTabs_.size());
        for (size_t list = 0; list < recordTabs_.size(); ++list) {
          origins[list] = ProvenanceRows(records_, recordTabs_[list]);
          const size_t count = RecordRowCount(records_, recordTabs_[list]);
          rows[list].reserve(count);
          for (size_t i = 0; i < count; ++i) {
            rows[list].push_back(RecordRow(records_, recordTabs_[list], i));
            const FullTexts* texts = RecordFullTexts(records_, recordTabs_[list], i);
            if (texts != nullptr && !texts->differing.empty()) {
              full[list].resize(i + 1);
              full[list][i] = *texts;
            }
          }
        }
        RunOnUiThread([this, &counts, &rows, &full, &origins] {
          views_.categories->ShowCategories(QString::fromStdU16String(imagePath_), counts);
          if (carving_) carving_->SetTaskImage(AccessTo(imagePath_));
          for (size_t list = 0; list < recordTabs_.size(); ++list) {
            views_.results->SetRows(recordTabs_[list], std::move(rows[list]));
            views_.results->SetFullTexts(recordTabs_[list], std::move(full[list]));
            views_.results->SetProvenance(recordTabs_[list], std::move(origins[list]));
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
        const ScanInput input = JobInput(&views_.progress->Sink());
        CarvedFileStore found;
        const ScanResult result = mode == kModePictures
                                      ? velkor::ScanPictures(input, mediaParams_, found)
                                      : velkor::ScanVideos(input, mediaParams_, found);
        imageSize_ = result.imageSize;
        const std::vector<FoundFile> files = FoundFiles(found, mode);
        std::vector<RowTexts> rows = FoundFileRows(files);
        std::vector<FoundFileInfo> infos = FoundFileInfos(files, mode);
        // The list and the files behind it change together on the
        // user-interface thread, so a Close Task lands before or after both.
        RunOnUiThread([this, &rows, &found, &infos, mode] {
          carvedFiles_ = std::move(found);
          carvedMode_ = mode;
          carvedImagePath_ = imagePath_;
          views_.results->SetRows(kTabFoundFiles, std::move(rows));
          if (carving_) carving_->SetFoundFiles(std::move(infos), AccessTo(carvedImagePath_));
        });
      },
      TaskEventText(3, {}));
}

void TaskController::SearchImageJob() {
  const std::u16string start = Concat({u"搜索\"", searchText_.toStdU16String(), u"\",请稍等..."});
  // The search writes its own closing row with the count.
  RunJob(
      kTitleSearch, start,
      [this] {
        std::vector<SearchHit> hits;
        SearchImage(JobInput(&views_.progress->Sink()), searchPattern_, searchEncoding_,
                    kMaxListedHits, [&hits](const SearchHit& hit) { hits.push_back(hit); });
        if (searchHits_ == nullptr) return;
        RunOnUiThread([this, &hits] { searchHits_->ShowSearchHits(searchText_, std::move(hits)); });
      },
      {});
}

// The carved files ticked when Save was given, copied from the image their
// scan read.
void TaskController::SaveFoundFilesJob() {
  RunJob(
      kTitleSave, TaskEventText(4, saveFolder_.toStdU16String()),
      [this] {
        ScanInput input = JobInput(&views_.progress->Sink());
        input.imagePath = PathFromText(saveImagePath_);
        std::vector<size_t> written;
        for (const size_t entry :
             SaveCarvedFiles(input, saveFiles_, PathFromText(saveFolder_.toStdU16String()))) {
          written.push_back(saveRows_[entry]);
        }
        RunOnUiThread([this, &written] { views_.results->Untick(kTabFoundFiles, written); });
      },
      TaskEventText(5, {}));
}

bool TaskController::WriteRecordExport(const QString& path, const std::vector<RowTexts>& rows,
                                       size_t columns) const {
  return WriteTextExport(PathFromText(path.toStdU16String()), rows, columns);
}

}  // namespace velkor
