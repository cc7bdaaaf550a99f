#include "ui/result_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QMenu>
#include <QStringView>

#include "res/command_ids.h"
#include "res/menu_resources.h"

namespace velkor {
namespace {

bool RowHolds(const ResultListModel& model, size_t row, const QString& text) {
  for (size_t column = 0; column < static_cast<size_t>(model.columnCount()); ++column) {
    const std::u16string& cell = model.CellText(row, column);
    if (QStringView(cell.data(), static_cast<qsizetype>(cell.size()))
            .contains(text, Qt::CaseInsensitive)) {
      return true;
    }
  }
  return false;
}

}  // namespace

ResultListView::ResultListView(const QStringList& headers, QWidget* parent)
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
    connect(action, &QAction::triggered, this, [this, id] { RunPopupCommand(id); });
  }
  // The current row, not the last click: arrow keys, Home, a right-click
  // and a search move it too, and the detail pane must show that row.
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) emit currentRowChanged(current.row());
          });
}

void ResultListView::RunPopupCommand(int id) {
  switch (id) {
    case ID_LIST_SAVE:
      emit saveRequested();
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

// Selects the matching rows as ranges, so a long run of hits is one range.
size_t ResultListView::SelectRowsHolding(const QString& text) {
  QItemSelection selection;
  size_t matched = 0;
  int first = 0;
  const int lastColumn = model_.columnCount() - 1;
  for (size_t row = 0; row < model_.RowCount();) {
    if (!RowHolds(model_, row, text)) {
      ++row;
      continue;
    }
    const size_t start = row;
    while (row < model_.RowCount() && RowHolds(model_, row, text)) ++row;
    if (matched == 0) first = static_cast<int>(start);
    matched += row - start;
    selection.select(model_.index(static_cast<int>(start), 0),
                     model_.index(static_cast<int>(row - 1), lastColumn));
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (matched > 0) scrollTo(model_.index(first, 0), QAbstractItemView::PositionAtTop);
  return matched;
}

void ResultListView::contextMenuEvent(QContextMenuEvent* event) {
  // Only a row offers the menu; the empty area below the rows does nothing.
  if (!indexAt(event->pos()).isValid()) return;
  popup_->popup(event->globalPos());
}

}  // namespace velkor
