// The result list of every tab: a table over a ResultListModel with a check
// box in the first column. A click on a row asks the owner for the row's
// detail; a right click on a row offers saving and ticking.
#pragma once

#include <string>
#include <vector>

#include <QStringList>
#include <QTableView>

#include "ui/result_list_model.h"

class QMenu;

namespace velkor {

class TaskCommands;

// Receives a result list's request to show one row in the detail pane.
class ShowDetailTarget {
 public:
  virtual ~ShowDetailTarget() = default;
  virtual void OnShowDetail(int row) = 0;
};

class CMyListCtrl final : public QTableView {
  Q_OBJECT

 public:
  explicit CMyListCtrl(const QStringList& headers, QWidget* parent = nullptr);

  void SetDetailTarget(ShowDetailTarget* target) { detailTarget_ = target; }
  void SetCommandTarget(TaskCommands* target) { commandTarget_ = target; }

  // The popup commands: save, tick every row, clear every row.
  void OnCommand(int id);

  // Row operations; a worker thread may call them and waits until they are
  // done on the list's own thread.
  void SetRows(std::vector<RowTexts> rows);
  void AppendRow(RowTexts row);
  void DeleteAllItems();

  int GetItemCount() const { return model_.rowCount(); }
  const std::u16string& GetItemText(int row, int column) const;
  bool GetCheck(int row) const;
  void SetCheck(int row, bool checked);
  std::vector<size_t> CheckedRows() const { return model_.CheckedRows(); }
  ResultListModel& Model() { return model_; }

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OnClicked(const QModelIndex& index);

  ResultListModel model_;
  QMenu* popup_ = nullptr;
  ShowDetailTarget* detailTarget_ = nullptr;
  TaskCommands* commandTarget_ = nullptr;
};

}  // namespace velkor
