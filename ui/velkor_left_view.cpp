#include "ui/velkor_left_view.h"

#include <vector>

#include <QResizeEvent>

#include "res/icons.h"
#include "tasks/velkor_left_tree_ctrl.h"

namespace velkor {
namespace {

constexpr uint32_t kTreeStyle = 0x6777F9;
constexpr uint32_t kFirstColumnFormat = 0x504144;
constexpr uint32_t kOtherColumnFormat = 0x104145;

}  // namespace

CVelkorLeftView::CVelkorLeftView(int initialWidth, QWidget* parent) : QWidget(parent) {
  tree_ = new CVelkorLeftTreeCtrl(this);
  tree_->setObjectName(QStringLiteral("categoryTree"));
  std::vector<QPixmap> images;
  for (int index = 0; index < kTreeImageCount; ++index) images.push_back(TreeImage(index));
  tree_->SetImageList(std::move(images));
  tree_->SetStyle(kTreeStyle);
  tree_->InsertColumn(QStringLiteral("对象名称"), kFirstColumnFormat);
  for (const char* header : {"属性", "文件系统", "开始", "大小"}) {
    tree_->InsertColumn(QString::fromUtf8(header), kOtherColumnFormat);
  }
  tree_->setGeometry(0, 0, initialWidth, height());
  FitColumns(initialWidth);
}

void CVelkorLeftView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  tree_->setGeometry(0, 0, event->size().width(), event->size().height());
  FitColumns(event->size().width());
}

void CVelkorLeftView::FitColumns(int width) {
  tree_->SetColumnWidth(0, width / 2);
  const int columns = tree_->GetColumnCount();
  for (int column = 1; column < columns; ++column) tree_->SetColumnWidth(column, width / 8);
}

}  // namespace velkor
