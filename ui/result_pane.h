// The right pane: a filter bar above the eleven result lists behind tabs at
// the bottom. A clicked row of a tab with a detail layout is shown in the
// detail pane, followed by where the row was found.
#pragma once

#include <vector>

#include <QWidget>

#include "ui/result_list_view.h"
#include "ui/task_views.h"

class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace velkor {

class DetailPane;
class FoundFilesPage;
class TaskCommands;
class ThumbnailLoader;

class ResultPane final : public QWidget, public ResultView {
  Q_OBJECT

 public:
  // initialWidth stands in for the client width at creation, on which the
  // first column widths are based.
  explicit ResultPane(int initialWidth, QWidget* parent = nullptr);

  ResultListView& List(int tab) { return *lists_[static_cast<size_t>(tab)]; }
  void SetDetailPane(DetailPane* detail) { detail_ = detail; }
  // Where the lists' Save command goes.
  void SetCommandTarget(TaskCommands* target) { commands_ = target; }
  // Shows model row of the active tab's list in the detail pane.
  void ShowDetail(int row);
  // The filter bar: every list keeps the rows holding the text, and hides
  // repeated rows while the box is ticked.
  QLineEdit& FilterBox() { return *filter_; }
  QCheckBox& HideDuplicatesBox() { return *hideDuplicates_; }
  FoundFilesPage& FoundFiles() { return *foundFiles_; }
  ThumbnailLoader& Thumbnails() { return *thumbnails_; }

  void SetRows(int tab, std::vector<RowTexts> rows) override;
  void SetFullTexts(int tab, std::vector<FullTexts> full) override;
  void SetProvenance(int tab, std::vector<RowProvenance> provenance) override;
  bool ShowsFullTexts() const override { return showFull_; }
  // Every list shows the full Unicode texts instead of the code page view.
  void ShowFullTexts(bool show);
  size_t RowCount(int tab) const override;
  std::vector<size_t> TickedRows(int tab) const override;
  std::vector<RowTexts> TickedRowTexts(int tab) const override;
  void Untick(int tab, const std::vector<size_t>& rows) override;
  int ActiveTab() const override;
  void SetActiveTab(int tab) override;
  size_t SelectRowsHolding(int tab, const QString& text) override;

 signals:
  // The detail pane has just been filled with row of tab.
  void detailShown(int tab, int row);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  const ResultListModel& ModelOf(int tab) const {
    return lists_[static_cast<size_t>(tab)]->Model();
  }
  QWidget* BuildFilterBar();
  void ApplyFilter();
  // The provenance lines of the detail pane; afterFields when the record's
  // own lines come first.
  void AppendProvenance(const RowProvenance& origin, bool afterFields);

  QWidget* filterBar_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QCheckBox* hideDuplicates_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  // By tab.
  std::vector<ResultListView*> lists_;
  DetailPane* detail_ = nullptr;
  TaskCommands* commands_ = nullptr;
  bool showFull_ = false;
  ThumbnailLoader* thumbnails_ = nullptr;
  FoundFilesPage* foundFiles_ = nullptr;
};

}  // namespace velkor
