// The Export command: the active record list as CSV for other tools, with
// the task's report.json beside it. Both are written whole or not at all.
#include <filesystem>
#include <vector>

#include "engine/image_source.h"
#include "engine/log_entries.h"
#include "engine/output_file.h"
#include "engine/record_reports.h"
#include "engine/record_rows.h"
#include "res/menu_resources.h"
#include "tasks/task_controller.h"
#include "ui/prompts.h"

namespace velkor {
namespace {

bool IsReportList(int tab) {
  for (const ReportList& list : ReportLists()) {
    if (list.tab == tab) return true;
  }
  return false;
}

}  // namespace

void TaskController::Export() {
  if (RefuseWhileBusy()) return;
  const int tab = views_.results->ActiveTab();
  if (!IsReportList(tab) || views_.results->RowCount(tab) == 0) return;
  const std::optional<QString> path = prompts_->SaveFileName(
      views_.window, QString::fromStdU16String(CsvExportName(tab)),
      {QStringLiteral("csv Files (*.csv)"), QStringLiteral("All Files (*.*)")},
      QStringLiteral("csv"));
  if (!path) return;
  const std::optional<QString> failed = WriteExportFiles(*path, tab);
  if (!failed) return;
  // An export that silently did not happen would pass for a written one.
  prompts_->MessageBox(views_.window, QMessageBox::Warning, Text(kCaptionWarning),
                       QString::fromStdU16String(SaveFailedText(failed->toStdU16String())),
                       QMessageBox::Ok);
}

// The list rows are the stores' rows in found order, so a ticked list row is
// the stores' row of the same index.
std::optional<QString> TaskController::WriteExportFiles(const QString& csvPath, int tab) const {
  std::vector<size_t> rows;
  const size_t count = RecordRowCount(records_, tab);
  for (const size_t row : views_.results->TickedRows(tab)) {
    if (row < count) rows.push_back(row);
  }
  const RowTextForm form =
      views_.results->ShowsFullTexts() ? RowTextForm::kUnicode : RowTextForm::kCodePage;
  const std::filesystem::path csv = PathFromText(csvPath.toStdU16String());
  if (!WriteWholeBytes(csv, CsvExportBytes(records_, tab, form, rows))) return csvPath;
  const std::filesystem::path report = csv.parent_path() / "report.json";
  if (!WriteWholeBytes(report, ScanReportJson(report_, scanResult_, records_))) {
    return QString::fromStdU16String(PathText(report));
  }
  return std::nullopt;
}

}  // namespace velkor
