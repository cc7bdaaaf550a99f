#include "ui/result_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>

#include "res/command_ids.h"
#include "res/menu_resources.h"

namespace velkor {

ResultListView::ResultListView(const QStringList& headers, int timeColumn, QWidget* parent)
    : QTableView(parent), model_(headers), proxy_(model_, timeColumn) {
  setModel(&proxy_);
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
  // Sorted on a click only: the list opens in the found order.
  horizontalHeader()->setSectionsClickable(true);
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
          &ResultListView::SortByClickedColumn);

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
            if (current.isValid()) emit currentRowChanged(proxy_.mapToSource(current).row());
          });
}

void ResultListView::RunPopupCommand(int id) {
  switch (id) {
    case ID_LIST_SAVE:
      emit saveRequested();
      break;
    case ID_LIST_TICK_ALL:
      SetShownChecked(true);
      break;
    case ID_LIST_CLEAR_ALL:
      SetShownChecked(false);
      break;
    default:
      break;
  }
}

int ResultListView::CurrentModelRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? proxy_.mapToSource(current).row() : -1;
}

void ResultListView::SortByClickedColumn(int column) {
  QHeaderView* header = horizontalHeader();
  const bool again = proxy_.sortColumn() == column && header->isSortIndicatorShown();
  const Qt::SortOrder order = again && header->sortIndicatorOrder() == Qt::AscendingOrder
                                  ? Qt::DescendingOrder
                                  : Qt::AscendingOrder;
  header->setSortIndicatorShown(true);
  header->setSortIndicator(column, order);
  proxy_.sort(column, order);
}

void ResultListView::SetShownChecked(bool checked) {
  if (proxy_.ShowsAllRows()) {
    model_.SetAllChecked(checked);
    return;
  }
  std::vector<size_t> rows;
  for (int row = 0; row < proxy_.rowCount(); ++row) {
    rows.push_back(static_cast<size_t>(proxy_.mapToSource(proxy_.index(row, 0)).row()));
  }
  model_.SetRowsChecked(rows, checked);
}

// Selects the matching rows as ranges of shown rows, so a long run of hits
// is one range.
size_t ResultListView::SelectRowsHolding(const QString& text) {
  QItemSelection selection;
  size_t matched = 0;
  int first = 0;
  const int lastColumn = proxy_.columnCount() - 1;
  const int shown = proxy_.rowCount();
  const auto holds = [this, &text](int row) {
    return model_.RowHolds(static_cast<size_t>(proxy_.mapToSource(proxy_.index(row, 0)).row()),
                           text);
  };
  for (int row = 0; row < shown;) {
    if (!holds(row)) {
      ++row;
      continue;
    }
    const int start = row;
    while (row < shown && holds(row)) ++row;
    if (matched == 0) first = start;
    matched += static_cast<size_t>(row - start);
    selection.select(proxy_.index(start, 0), proxy_.index(row - 1, lastColumn));
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (matched > 0) scrollTo(proxy_.index(first, 0), QAbstractItemView::PositionAtTop);
  return matched;
}

void ResultListView::keyPressEvent(QKeyEvent* event) {
  const int row = CurrentModelRow();
  if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier || row < 0) {
    QTableView::keyPressEvent(event);
    return;
  }
  model_.SetChecked(static_cast<size_t>(row), !model_.IsChecked(static_cast<size_t>(row)));
  event->accept();
}

void ResultListView::contextMenuEvent(QContextMenuEvent* event) {
  // Only a row offers the menu; the empty area below the rows does nothing.
  if (!indexAt(event->pos()).isValid()) return;
  popup_->popup(event->globalPos());
}

}  // namespace velkor
