#include "ui/category_tree.h"

#include <QHeaderView>

#include "engine/result_tabs.h"
#include "res/icons.h"
#include "res/menu_resources.h"

namespace velkor {
namespace {

constexpr int kRootImage = 10;
constexpr QRgb kRootColour = qRgb(10, 5, 90);
constexpr int kCountColumn = 1;
constexpr int kFlagColumn = 2;

// The same picture whether the item is selected or expanded; the style would
// otherwise tint the selected one.
QIcon FixedIcon(int image) {
  const QPixmap pixmap = TreeImage(image);
  QIcon icon;
  for (const QIcon::State state : {QIcon::Off, QIcon::On}) {
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Selected}) {
      icon.addPixmap(pixmap, mode, state);
    }
  }
  return icon;
}

}  // namespace

int TabOfTypeFlag(const QString& flag) {
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (flag == QLatin1String(tab.typeFlag)) return tab.tab;
  }
  return -1;
}

CategoryTree::CategoryTree(QWidget* parent) : QTreeWidget(parent) {
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(kTreeImageSize, kTreeImageSize));
  header()->setStretchLastSection(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setHeaderLabels({QStringLiteral("对象名称"), QStringLiteral("属性"), QStringLiteral("文件系统"),
                   QStringLiteral("开始"), QStringLiteral("大小")});
}

void CategoryTree::ShowCategories(const QString& imagePath,
                                  const std::vector<size_t>& recordCounts) {
  clear();
  auto* root = new QTreeWidgetItem(QStringList{imagePath});
  // The column cuts a long path; the tooltip holds all of it.
  root->setToolTip(0, imagePath);
  root->setIcon(0, FixedIcon(kRootImage));
  for (const ResultTabInfo& tab : ResultTabs()) {
    auto* item = new QTreeWidgetItem(root, QStringList{Text(tab.treeText)});
    const auto index = static_cast<size_t>(tab.tab);
    if (tab.filledByRecordScan && index < recordCounts.size()) {
      item->setText(kCountColumn, QString::number(recordCounts[index]));
    }
    item->setText(kFlagColumn, QLatin1String(tab.typeFlag));
    item->setIcon(0, FixedIcon(tab.treeImage));
  }
  addTopLevelItem(root);
  root->setExpanded(true);
  root->setForeground(0, QColor(kRootColour));
  emit imageShown(imagePath);
}

void CategoryTree::ClearCategories() {
  clear();
  emit imageShown(QString());
}

int CategoryTree::ItemCount() const {
  return HasCategories() ? topLevelItem(0)->childCount() + 1 : 0;
}

void CategoryTree::mouseDoubleClickEvent(QMouseEvent* event) {
  // The selection before Qt's own handling decides, as the first click made it.
  const QList<QTreeWidgetItem*> selected = selectedItems();
  if (!selected.isEmpty()) {
    const int tab = TabOfTypeFlag(selected.constFirst()->text(kFlagColumn));
    if (tab >= 0) emit tabRequested(tab);
  }
  QTreeWidget::mouseDoubleClickEvent(event);
}

}  // namespace velkor
