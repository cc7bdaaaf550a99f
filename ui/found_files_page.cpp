#include "ui/found_files_page.h"

#include <QTabWidget>
#include <QToolButton>

#include "ui/result_list_view.h"
#include "ui/thumbnail_grid.h"

namespace velkor {

FoundFilesPage::FoundFilesPage(ResultListView* list, ThumbnailLoader& loader, QTabWidget& tabs)
    : list_(list) {
  setObjectName(QStringLiteral("foundFilesPage"));
  addWidget(list_);
  grid_ = new ThumbnailGrid(list_->Model(), loader, this);
  grid_->setSelectionModel(list_->selectionModel());
  addWidget(grid_);
  setCurrentWidget(list_);

  toggle_ = new QToolButton(&tabs);
  toggle_->setObjectName(QStringLiteral("thumbnailToggle"));
  toggle_->setText(QStringLiteral("缩略图"));
  toggle_->setCheckable(true);
  toggle_->setAutoRaise(true);
  tabs.setCornerWidget(toggle_, Qt::BottomRightCorner);
  connect(toggle_, &QToolButton::toggled, this, &FoundFilesPage::ShowThumbnails);
  connect(&tabs, &QTabWidget::currentChanged, this,
          [this, &tabs](int) { toggle_->setVisible(tabs.currentWidget() == this); });
  toggle_->setVisible(tabs.currentWidget() == this);
}

void FoundFilesPage::ShowThumbnails(bool show) {
  toggle_->setChecked(show);
  setCurrentWidget(show ? static_cast<QWidget*>(grid_) : list_);
}

bool FoundFilesPage::ThumbnailsShown() const {
  return currentWidget() == grid_;
}

}  // namespace velkor
