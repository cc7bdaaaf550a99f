// The result list of every tab: a table over a ResultListModel with a check
// box in the first column. A click on a row asks for the row's detail; a
// right click on a row offers saving and ticking; a click on a column title
// sorts by that column and Space ticks the current row. Rows go out of the
// view as model rows (the found order), whatever the sort and filter.
#pragma once

#include <cstddef>

#include <QStringList>
#include <QTableView>

#include "ui/result_list_model.h"
#include "ui/result_sort_proxy.h"

class QMenu;

namespace velkor {

class ResultListView final : public QTableView {
  Q_OBJECT

 public:
  // timeColumn: the column sorted by the rows' instants, -1 for none.
  explicit ResultListView(const QStringList& headers, int timeColumn = -1,
                          QWidget* parent = nullptr);

  ResultListModel& Model() { return model_; }
  const ResultListModel& Model() const { return model_; }
  ResultSortProxy& Proxy() { return proxy_; }

  // The model row of the current row; -1 without one.
  int CurrentModelRow() const;
  // Sorts by column: ascending, or the other way when it already sorts by it.
  void SortByClickedColumn(int column);

  // The popup commands: save, tick every row, clear every row.
  void RunPopupCommand(int id);

  // Selects the shown rows holding text in any cell, ignoring case, and
  // brings the first into view; returns how many rows matched.
  size_t SelectRowsHolding(const QString& text);

 signals:
  // The current row changed, by mouse, keys or a program; a model row.
  void currentRowChanged(int row);
  void saveRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Popup ticking reaches only the rows shown.
  void SetShownChecked(bool checked);

  ResultListModel model_;
  ResultSortProxy proxy_;
  QMenu* popup_ = nullptr;
};

}  // namespace velkor
