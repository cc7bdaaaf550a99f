#include "ui/my_list_ctrl.h"

#include <utility>

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

#include "res/command_ids.h"
#include "res/menu_resources.h"
#include "tasks/task_commands.h"
#include "ui/ui_thread.h"

namespace velkor {

CMyListCtrl::CMyListCtrl(const QStringList& headers, QWidget* parent)
    : QTableView(parent), model_(headers) {
  setModel(&model_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setSortingEnabled(false);
  verticalHeader()->hide();
  // Fixed row heights let the view place any of a hundred thousand rows
  // without measuring the ones before it.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setHighlightSections(false);

  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("listPopup"));
  for (const MenuItemDef& item : ResultListPopupDefs()) {
    QAction* action = popup_->addAction(Text(item.text));
    action->setData(item.id);
    const int id = item.id;
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  }
  connect(this, &QAbstractItemView::clicked, this, &CMyListCtrl::OnClicked);
}

void CMyListCtrl::OnCommand(int id) {
  switch (id) {
    case ID_LIST_SAVE:
      if (commandTarget_) commandTarget_->OnSave();
      break;
    case ID_LIST_TICK_ALL:
      model_.SetAllChecked(true);
      break;
    case ID_LIST_CLEAR_ALL:
      model_.SetAllChecked(false);
      break;
    default:
      break;
  }
}

void CMyListCtrl::SetRows(std::vector<RowTexts> rows) {
  RunOnOwnerThread(this, [this, &rows] { model_.SetRows(std::move(rows)); });
}

void CMyListCtrl::AppendRow(RowTexts row) {
  RunOnOwnerThread(this, [this, &row] { model_.AppendRow(std::move(row)); });
}

void CMyListCtrl::DeleteAllItems() {
  RunOnOwnerThread(this, [this] { model_.Clear(); });
}

const std::u16string& CMyListCtrl::GetItemText(int row, int column) const {
  return model_.CellText(static_cast<size_t>(row < 0 ? -1 : row),
                         static_cast<size_t>(column < 0 ? -1 : column));
}

bool CMyListCtrl::GetCheck(int row) const {
  return row >= 0 && model_.IsChecked(static_cast<size_t>(row));
}

void CMyListCtrl::SetCheck(int row, bool checked) {
  if (row >= 0) model_.SetChecked(static_cast<size_t>(row), checked);
}

void CMyListCtrl::contextMenuEvent(QContextMenuEvent* event) {
  // Only a row offers the menu; the empty area below the rows does nothing.
  if (!indexAt(event->pos()).isValid()) return;
  popup_->popup(event->globalPos());
}

void CMyListCtrl::OnClicked(const QModelIndex& index) {
  if (index.isValid() && detailTarget_) detailTarget_->OnShowDetail(index.row());
}

}  // namespace velkor
