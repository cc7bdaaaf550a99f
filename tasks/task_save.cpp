// The save command: the ticked rows of a record list as a text file, or the
// ticked carved files copied out of the image by the save worker.
#include <array>

#include <QDateTime>

#include "carving/found_files.h"
#include "carving/text_export.h"
#include "engine/log_entries.h"
#include "res/menu_resources.h"
#include "tasks/progress_dlg.h"
#include "tasks/task_prompts.h"
#include "tasks/task_texts.h"
#include "tasks/velkor_left_tree_ctrl.h"
#include "ui/ui_thread.h"
#include "ui/velkor_right_view.h"

namespace velkor {
namespace {

// Default file names of the record tabs; %1 is the time stamp.
constexpr std::array<const char16_t*, 10> kDefaultNames{
    u"%1-信息.txt",   u"%1-电话薄.txt", u"%1-通话记录.txt", u"%1-其他记录.txt", u"%1-日历.txt",
    u"%1-记事本.txt", u"%1-email.txt",  u"%1-微信.txt",     u"%1-MSN.txt",      u"%1-QQ.txt"};

std::vector<CarvedFileRow> FoundFileListRows(const CMyListCtrl& list) {
  std::vector<CarvedFileRow> rows(static_cast<size_t>(list.GetItemCount()));
  for (int row = 0; row < list.GetItemCount(); ++row) {
    rows[static_cast<size_t>(row)] = {list.GetItemText(row, 0), list.GetItemText(row, 1),
                                      list.GetItemText(row, 2), list.GetCheck(row)};
  }
  return rows;
}

QString DefaultExportName(int tab, const QString& stamp) {
  return QString::fromUtf16(kDefaultNames[static_cast<size_t>(tab)]).arg(stamp);
}

}  // namespace

void CVelkorLeftTreeCtrl::OnSave() {
  if (RefuseWhileBusy()) return;
  const QString stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
  CVelkorRightView* right = RightView();
  if (!right) return;
  const int tab = right->ActiveTab();
  if (tab >= 0 && tab < kTabFoundFiles) {
    SaveRecordList(tab, stamp);
  } else if (tab == kTabFoundFiles) {
    SaveFoundFiles();
  }
}

void CVelkorLeftTreeCtrl::SaveRecordList(int tab, const QString& stamp) {
  CMyListCtrl& list = RightView()->List(tab);
  if (list.GetItemCount() == 0) return;
  const std::optional<QString> path = prompts_->SaveFileName(
      this, DefaultExportName(tab, stamp),
      {QStringLiteral("txt Files (*.txt)"), QStringLiteral("All Files (*.*)")},
      QStringLiteral("txt"));
  if (!path) return;
  std::vector<RowTexts> rows;
  for (const size_t row : list.CheckedRows()) {
    RowTexts texts;
    for (int column = 0; column < list.model()->columnCount(); ++column) {
      texts.push_back(list.GetItemText(static_cast<int>(row), column));
    }
    rows.push_back(std::move(texts));
  }
  const auto columns = static_cast<size_t>(list.model()->columnCount());
  if (WriteTextExport(PathFromText(path->toStdU16String()), rows, columns)) return;
  // An export that silently did not happen would pass for a saved one.
  prompts_->MessageBox(this, QMessageBox::Warning, Text(kCaptionWarning),
                       QString::fromStdU16String(SaveFailedText(path->toStdU16String())),
                       QMessageBox::Ok);
}

void CVelkorLeftTreeCtrl::SaveFoundFiles() {
  if (RightView()->List(kTabFoundFiles).GetItemCount() == 0) return;
  const std::optional<QString> folder = prompts_->FolderName(this, Text(kFolderTitle));
  if (!folder) return;
  if (folder->isEmpty()) {
    prompts_->MessageBox(this, QMessageBox::Critical, Text(kAppName),
                         QStringLiteral("Fail   to   get   directory"), QMessageBox::Ok);
    return;
  }
  saveFolder = DropTrailingSeparator(*folder);
  ShowProgress(Text(kTitleSaveProgress));
  StartWorker(&SaveThreadProc);
}

void CVelkorLeftTreeCtrl::SaveTickedCarvedFiles() {
  CMyListCtrl& list = RightView()->List(kTabFoundFiles);
  // The rows are read and unticked on the list's own thread.
  const std::vector<CarvedFileRow> rows =
      RunOnOwnerThread(&list, [&list] { return FoundFileListRows(list); });
  const std::vector<size_t> written =
      SaveCarvedFiles(task_.imageOpener, task_.imagePath, rows, saveFolder.toStdU16String(),
                      LogWindow(), &progressDlg_->BarSink());
  RunOnOwnerThread(&list, [&list, &written] {
    for (const size_t row : written) list.SetCheck(static_cast<int>(row), false);
  });
}

}  // namespace velkor
