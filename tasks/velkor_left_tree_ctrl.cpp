#include "tasks/velkor_left_tree_ctrl.h"

#include <array>

#include <QMessageBox>

#include "engine/app_state.h"
#include "res/menu_resources.h"
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

CVelkorLeftTreeCtrl::CVelkorLeftTreeCtrl(QWidget* parent) : CVelkorCtrlCtrl(parent) {}

// The task dialog, the scan dialogs and their workers hang off these
// handlers; until they exist a command only refuses while a worker runs.
void CVelkorLeftTreeCtrl::OnNewTask() {
  RefuseWhileBusy();
}

void CVelkorLeftTreeCtrl::CloseTask() {
  DeleteAllItems();
  if (CVelkorRightView* right = RightView()) right->List(3).DeleteAllItems();
}

void CVelkorLeftTreeCtrl::OnScanPicture() {
  RefuseWhileBusy();
}

void CVelkorLeftTreeCtrl::OnScanVideo() {
  RefuseWhileBusy();
}

void CVelkorLeftTreeCtrl::OnSearch() {
  RefuseWhileBusy();
}

void CVelkorLeftTreeCtrl::OnSave() {
  RefuseWhileBusy();
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
  QMessageBox::information(this, Text(kAppName), Text(kBusyText));
  return true;
}

CVelkorRightView* CVelkorLeftTreeCtrl::RightView() const {
  return mainFrame_ ? mainFrame_->RightView() : nullptr;
}

}  // namespace velkor
