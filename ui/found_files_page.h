// The found-files tab: the list, or the same rows as a thumbnail grid, and
// the "缩略图" button that switches between them. Both views share one
// selection, so the detail pane follows whichever the user clicks in.
#pragma once

#include <QStackedWidget>

class QTabWidget;
class QToolButton;

namespace velkor {

class ResultListView;
class ThumbnailGrid;
class ThumbnailLoader;

class FoundFilesPage final : public QStackedWidget {
  Q_OBJECT

 public:
  // The button goes into the corner of tabs and shows while this page is in
  // front.
  FoundFilesPage(ResultListView* list, ThumbnailLoader& loader, QTabWidget& tabs);

  void ShowThumbnails(bool show);
  bool ThumbnailsShown() const;
  ThumbnailGrid& Grid() { return *grid_; }
  QToolButton& Toggle() { return *toggle_; }

 private:
  ResultListView* list_;
  ThumbnailGrid* grid_;
  QToolButton* toggle_;
};

}  // namespace velkor
