// The left pane: the category tree, its columns sized by the pane's width.
#pragma once

#include <QWidget>

namespace velkor {

class CategoryTree;

class CategoryPane final : public QWidget {
  Q_OBJECT

 public:
  // initialWidth stands in for the client width at creation.
  explicit CategoryPane(int initialWidth, QWidget* parent = nullptr);

  CategoryTree& Tree() { return *tree_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitColumns(int width);

  CategoryTree* tree_ = nullptr;
};

}  // namespace velkor
