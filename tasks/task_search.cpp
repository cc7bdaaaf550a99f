// The search in the result lists: the rows whose cells hold the text are
// selected in every record list, and the log says where they were.
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QStringView>

#include "engine/log_entries.h"
#include "tasks/left_dlg.h"
#include "tasks/velkor_left_tree_ctrl.h"
#include "ui/velkor_right_view.h"

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

// Selects the matching rows as ranges, so a long run of hits is one range;
// returns how many rows matched and the first of them.
size_t SelectMatchingRows(CMyListCtrl& list, const QString& text, int* first) {
  ResultListModel& model = list.Model();
  QItemSelection selection;
  size_t matched = 0;
  const int lastColumn = model.columnCount() - 1;
  for (size_t row = 0; row < model.RowCount();) {
    if (!RowHolds(model, row, text)) {
      ++row;
      continue;
    }
    const size_t start = row;
    while (row < model.RowCount() && RowHolds(model, row, text)) ++row;
    matched += row - start;
    selection.select(model.index(static_cast<int>(start), 0),
                     model.index(static_cast<int>(row - 1), lastColumn));
    if (matched == row - start) *first = static_cast<int>(start);
  }
  list.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  return matched;
}

}  // namespace

void CVelkorLeftTreeCtrl::SearchResults(const QString& text) {
  CVelkorRightView* right = RightView();
  if (!right) return;
  QStringList found;
  int firstTab = -1;
  for (int tab = 0; tab < kTabFoundFiles; ++tab) {
    CMyListCtrl& list = right->List(tab);
    int firstRow = 0;
    const size_t matched = SelectMatchingRows(list, text, &firstRow);
    if (matched == 0) continue;
    list.scrollTo(list.Model().index(firstRow, 0), QAbstractItemView::PositionAtTop);
    if (firstTab < 0) firstTab = tab;
    found << QStringLiteral("%1 %2 行").arg(QString::fromUtf16(ResultTab(tab).label)).arg(matched);
  }
  if (firstTab >= 0) right->SetActiveTab(firstTab);
  const QString summary =
      found.isEmpty() ? QStringLiteral("没有找到") : found.join(QStringLiteral(", "));
  if (LogSink* log = LogWindow()) {
    log->Append(
        LogEntry{kLevelNormal, std::u16string(kTitleSearch),
                 QStringLiteral("结果中搜索\"%1\": %2").arg(text, summary).toStdU16String()});
  }
}

}  // namespace velkor
