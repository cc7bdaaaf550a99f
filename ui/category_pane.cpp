#include "ui/category_pane.h"

#include <QResizeEvent>

#include "ui/category_tree.h"

namespace velkor {

CategoryPane::CategoryPane(int initialWidth, QWidget* parent) : QWidget(parent) {
  tree_ = new CategoryTree(this);
  tree_->setObjectName(QStringLiteral("categoryTree"));
  tree_->setGeometry(0, 0, initialWidth, height());
  FitColumns(initialWidth);
}

void CategoryPane::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  tree_->setGeometry(0, 0, event->size().width(), event->size().height());
  FitColumns(event->size().width());
}

// Half the width for the names, an eighth for each other column.
void CategoryPane::FitColumns(int width) {
  tree_->setColumnWidth(0, width / 2);
  for (int column = 1; column < tree_->columnCount(); ++column) {
    tree_->setColumnWidth(column, width / 8);
  }
}

}  // namespace velkor
