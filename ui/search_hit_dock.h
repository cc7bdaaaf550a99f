// The hits of the last image search as a list to step through: where each
// hit starts (hex and decimal), the file it is in and the bytes around it.
// The excerpt is recovered data and is only ever shown as plain text.
#pragma once

#include <vector>

#include <QDockWidget>

#include "ui/task_views.h"

class QLabel;
class QTreeWidget;

namespace velkor {

class SearchHitDock final : public QDockWidget, public SearchHitView {
  Q_OBJECT

 public:
  enum Column { kOffsetColumn, kFileColumn, kExcerptColumn };

  explicit SearchHitDock(QWidget* parent = nullptr);

  // Fills the list, shows the dock and makes the first hit current.
  void ShowSearchHits(const QString& text, std::vector<SearchHit> hits) override;
  QTreeWidget& List() { return *list_; }
  QString Summary() const;

 private:
  QLabel* summary_ = nullptr;
  QTreeWidget* list_ = nullptr;
};

}  // namespace velkor
