// The worker routines of the task controller and the fills they end with.
#include <array>

#include "carving/found_files.h"
#include "engine/app_state.h"
#include "engine/log_entries.h"
#include "engine/text_format.h"
#include "tasks/progress_dlg.h"
#include "tasks/velkor_left_tree_ctrl.h"
#include "ui/ui_thread.h"
#include "ui/velkor_right_view.h"

namespace velkor {
namespace {

// The record lists in the order they are filled.
constexpr std::array kFilledTabs{kTabPhoneBook, kTabSms, kTabCalls, kTabAllContacts, kTabWeChat};

struct CategoryItem {
  const char16_t* text;
  // Store whose size the item shows; -1 for none.
  int countedTab;
  const char* flag;
  int image;
};
constexpr std::array<CategoryItem, 11> kCategoryItems{{
    {u"短信箱", kTabSms, "0x01", 0},
    {u"电话薄", kTabPhoneBook, "0x02", 1},
    {u"通话记录", kTabCalls, "0x04", 2},
    {u"所有联系", kTabAllContacts, "0x08", 2},
    {u"日历", -1, "0x10", 3},
    {u"记事本", -1, "0x20", 4},
    {u"邮件", -1, "0x40", 5},
    {u"微信", kTabWeChat, "0x80", 6},
    {u"MSN通讯记录", -1, "0x100", 7},
    {u"QQ聊天记录", -1, "0x200", 8},
    {u"文件系统", -1, "0xFFFFFFFF", 9},
}};
constexpr int kRootImage = 10;
constexpr QRgb kRootColour = qRgb(10, 5, 90);

}  // namespace

int CVelkorLeftTreeCtrl::RunWorker(std::u16string_view title, const std::u16string& startText,
                                   const std::function<void()>& work,
                                   const std::u16string& endText) {
  g_bBusy.store(1);
  LogSink* log = LogWindow();
  if (log) log->Append(LogEntry{kLevelNormal, std::u16string(title), startText});
  work();
  if (log && !endText.empty()) log->Append(LogEntry{kLevelNormal, std::u16string(title), endText});
  RunOnOwnerThread(progressDlg_, [this] { progressDlg_->close(); });
  g_bBusy.store(0);
  return 0;
}

int CVelkorLeftTreeCtrl::NewTaskThreadProc(CVelkorLeftTreeCtrl* controller) {
  if (!controller) return 0;
  ScanTask& task = controller->task_;
  return controller->RunWorker(
      kTitleNewTask, TaskEventText(0, task.imagePath),
      [controller, &task] {
        task.ScanRecords();
        controller->FillTaskResults();
      },
      TaskEventText(1, {}));
}

int CVelkorLeftTreeCtrl::ScanPictureThreadProc(CVelkorLeftTreeCtrl* controller) {
  if (!controller) return 0;
  ScanTask& task = controller->task_;
  return controller->RunWorker(
      kTitleScan, TaskEventText(2, task.imagePath),
      [controller, &task] {
        task.ScanPictures();
        controller->FillFoundPicturesList();
      },
      TaskEventText(3, {}));
}

int CVelkorLeftTreeCtrl::ScanVideoThreadProc(CVelkorLeftTreeCtrl* controller) {
  if (!controller) return 0;
  ScanTask& task = controller->task_;
  return controller->RunWorker(
      kTitleScan, TaskEventText(2, task.imagePath),
      [controller, &task] {
        task.ScanVideos();
        controller->FillFoundVideosList();
      },
      TaskEventText(3, {}));
}

int CVelkorLeftTreeCtrl::SaveThreadProc(CVelkorLeftTreeCtrl* controller) {
  if (!controller) return 0;
  return controller->RunWorker(
      kTitleSave, TaskEventText(4, controller->saveFolder.toStdU16String()),
      [controller] { controller->SaveTickedCarvedFiles(); }, TaskEventText(5, {}));
}

int CVelkorLeftTreeCtrl::SearchThreadProc(CVelkorLeftTreeCtrl* controller) {
  if (!controller) return 0;
  const std::u16string start =
      Concat({u"搜索\"", controller->searchText_.toStdU16String(), u"\",请稍等..."});
  // The search writes its own closing row with the count.
  return controller->RunWorker(kTitleSearch, start,
                               [controller] {
                                 SearchTaskImage(controller->task_, controller->searchPattern_,
                                                 controller->searchEncoding_, kMaxListedHits);
                               },
                               {});
}

void CVelkorLeftTreeCtrl::FillTaskResults() {
  ResultRows rows = MakeResultRows();
  // The tree and the lists appear together: a close-task command lands
  // before or after them, never between.
  RunOnOwnerThread(this, [this, &rows] {
    FillCategoryTree();
    ShowResultRows(std::move(rows));
  });
}

void CVelkorLeftTreeCtrl::FillCategoryTree() {
  RunOnOwnerThread(this, [this] { BuildCategoryTree(); });
}

void CVelkorLeftTreeCtrl::FillResultLists() {
  ResultRows rows = MakeResultRows();
  RunOnOwnerThread(this, [this, &rows] { ShowResultRows(std::move(rows)); });
}

CVelkorLeftTreeCtrl::ResultRows CVelkorLeftTreeCtrl::MakeResultRows() const {
  ResultRows rows(kFilledTabs.size());
  for (size_t list = 0; list < kFilledTabs.size(); ++list) {
    const size_t count = RecordRowCount(task_, kFilledTabs[list]);
    rows[list].reserve(count);
    for (size_t i = 0; i < count; ++i) rows[list].push_back(RecordRow(task_, kFilledTabs[list], i));
  }
  return rows;
}

void CVelkorLeftTreeCtrl::ShowResultRows(ResultRows rows) {
  CVelkorRightView* right = RightView();
  if (!right) return;
  for (size_t list = 0; list < kFilledTabs.size(); ++list) {
    right->List(kFilledTabs[list]).SetRows(std::move(rows[list]));
  }
}

void CVelkorLeftTreeCtrl::BuildCategoryTree() {
  DeleteAllItems();
  const CVelkorCtrlItem root =
      InsertItem(QString::fromStdU16String(task_.imagePath), kItemRoot, kItemLast);
  if (!root) return;
  SetItemImage(root, kRootImage, kRootImage, kRootImage, kRootImage);
  for (const CategoryItem& def : kCategoryItems) {
    const CVelkorCtrlItem item = InsertItem(QString::fromUtf16(def.text), root, kItemLast);
    if (def.countedTab >= 0) {
      SetItemText(item, QString::number(RecordRowCount(task_, def.countedTab)), 1);
    }
    SetItemText(item, QString::fromLatin1(def.flag), 2);
    SetItemImage(item, def.image, def.image, def.image, def.image);
  }
  Expand(root, kExpandShow);
  SetItemTextColor(root, kRootColour);
}

void CVelkorLeftTreeCtrl::FillFoundPicturesList() {
  FillFoundFilesList(kModePictures);
}

void CVelkorLeftTreeCtrl::FillFoundVideosList() {
  FillFoundFilesList(kModeVideos);
}

void CVelkorLeftTreeCtrl::FillFoundFilesList(uint32_t mode) {
  if (CVelkorRightView* right = RightView()) {
    right->List(kTabFoundFiles).SetRows(FoundFileRows(task_.carvedFiles, mode));
  }
}

}  // namespace velkor
