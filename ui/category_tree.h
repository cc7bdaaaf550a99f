// The category tree of the left pane: the task's image as the root and one
// item per result tab, with the row counts of the record lists. Double-
// clicking an item asks for its tab. Only the user-interface thread touches
// it: a worker hands finished data over in one step and never holds items.
#pragma once

#include <QTreeWidget>

#include "ui/task_views.h"

namespace velkor {

class CategoryTree final : public QTreeWidget, public CategoryView {
  Q_OBJECT

 public:
  explicit CategoryTree(QWidget* parent = nullptr);

  void ShowCategories(const QString& imagePath, const std::vector<size_t>& recordCounts) override;
  void ClearCategories() override;
  bool HasCategories() const override { return topLevelItemCount() > 0; }
  // The root and its category items; 0 without a task.
  int ItemCount() const;

 signals:
  // The result tab of the selected category item, on double-click.
  void tabRequested(int tab);
  // The task's image as the root shows it; empty when the tree is cleared.
  void imageShown(const QString& imagePath);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The result tab whose category item carries flag in its third column; -1 for
// a text that names no category.
int TabOfTypeFlag(const QString& flag);

}  // namespace velkor
