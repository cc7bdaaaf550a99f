// The order and the filter of one result list between its model and its
// view. The model keeps the found order and the check marks; the view shows
// the rows this proxy lets through, in the order of the clicked column.
#pragma once

#include <QSortFilterProxyModel>
#include <QString>

namespace velkor {

class ResultListModel;

class ResultSortProxy final : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  // timeColumn: the column whose rows sort by their provenance's instant; -1
  // for a list without one.
  ResultSortProxy(ResultListModel& source, int timeColumn, QObject* parent = nullptr);

  // Keeps the rows holding text in any cell, ignoring case; empty keeps all.
  void SetFilterText(const QString& text);
  // Hides the rows that repeat an earlier row.
  void SetHideDuplicates(bool hide);
  // Whether every row of the model is shown.
  bool ShowsAllRows() const;

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  const ResultListModel& source_;
  int timeColumn_;
  QString filter_;
  bool hideDuplicates_ = false;
};

}  // namespace velkor
