// The left pane: the category tree with its five columns and sixteen images.
#pragma once

#include <QWidget>

namespace velkor {

class CVelkorLeftTreeCtrl;

class CVelkorLeftView final : public QWidget {
  Q_OBJECT

 public:
  // initialWidth stands in for the client width at creation.
  explicit CVelkorLeftView(int initialWidth, QWidget* parent = nullptr);

  CVelkorLeftTreeCtrl& TreeCtrl() { return *tree_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitColumns(int width);

  CVelkorLeftTreeCtrl* tree_ = nullptr;
};

}  // namespace velkor
