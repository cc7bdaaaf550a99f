// The result list of every tab: a table over a ResultListModel with a check
// box in the first column. A click on a row asks for the row's detail; a
// right click on a row offers saving and ticking.
#pragma once

#include <cstddef>

#include <QStringList>
#include <QTableView>

#include "ui/result_list_model.h"

class QMenu;

namespace velkor {

class ResultListView final : public QTableView {
  Q_OBJECT

 public:
  explicit ResultListView(const QStringList& headers, QWidget* parent = nullptr);

  ResultListModel& Model() { return model_; }
  const ResultListModel& Model() const { return model_; }

  // The popup commands: save, tick every row, clear every row.
  void RunPopupCommand(int id);

  // Selects the rows holding text in any cell, ignoring case, and brings the
  // first into view; returns how many rows matched.
  size_t SelectRowsHolding(const QString& text);

 signals:
  // The current row changed, by mouse, keys or a program.
  void currentRowChanged(int row);
  void saveRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  ResultListModel model_;
  QMenu* popup_ = nullptr;
};

}  // namespace velkor
