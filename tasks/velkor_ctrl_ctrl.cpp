#include "tasks/velkor_ctrl_ctrl.h"

#include <utility>

#include <QHeaderView>
#include <QMouseEvent>

#include "ui/ui_thread.h"

namespace velkor {
namespace {

constexpr int kHandleRole = Qt::UserRole + 1;

}  // namespace

CVelkorCtrlCtrl::CVelkorCtrlCtrl(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(0);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  header()->setStretchLastSection(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CVelkorCtrlCtrl::SetImageList(std::vector<QPixmap> images) {
  RunOnOwnerThread(this, [this, &images] { images_ = std::move(images); });
}

void CVelkorCtrlCtrl::SetStyle(uint32_t style) {
  RunOnOwnerThread(this, [this, style] { style_ = style; });
}

int CVelkorCtrlCtrl::InsertColumn(const QString& header, uint32_t format) {
  return RunOnOwnerThread(this, [this, &header, format] {
    const int column = columnCount();
    QStringList headers;
    for (int i = 0; i < column; ++i) headers << headerItem()->text(i);
    headers << header;
    setColumnCount(column + 1);
    setHeaderLabels(headers);
    columnFormats_.push_back(format);
    return column;
  });
}

void CVelkorCtrlCtrl::SetColumnWidth(int column, int width) {
  RunOnOwnerThread(this, [this, column, width] { setColumnWidth(column, width); });
}

int CVelkorCtrlCtrl::GetColumnCount() const {
  return RunOnOwnerThread(const_cast<CVelkorCtrlCtrl*>(this), [this] { return columnCount(); });
}

CVelkorCtrlItem CVelkorCtrlCtrl::InsertItem(const QString& text, CVelkorCtrlItem parent,
                                            CVelkorCtrlItem after) {
  return RunOnOwnerThread(this, [this, &text, parent, after] {
    QTreeWidgetItem* parentItem = nullptr;
    if (parent != kItemRoot) {
      parentItem = Find(parent);
      if (!parentItem) return CVelkorCtrlItem{};
    }
    const int siblings = parentItem ? parentItem->childCount() : topLevelItemCount();
    int position = siblings;
    if (after != kItemLast) {
      QTreeWidgetItem* previous = Find(after);
      if (!previous || previous->parent() != parentItem) return CVelkorCtrlItem{};
      position =
          (parentItem ? parentItem->indexOfChild(previous) : indexOfTopLevelItem(previous)) + 1;
    }
    // Handles never take the two position values.
    if (nextHandle_ == kItemRoot.handle) nextHandle_ = kItemLast.handle + 1;
    const CVelkorCtrlItem handle{nextHandle_++};
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kHandleRole, QVariant::fromValue<qulonglong>(handle.handle));
    if (parentItem) {
      parentItem->insertChild(position, item);
    } else {
      insertTopLevelItem(position, item);
    }
    items_.insert(handle.handle, item);
    return handle;
  });
}

void CVelkorCtrlCtrl::SetItemText(CVelkorCtrlItem item, const QString& text, int column) {
  RunOnOwnerThread(this, [this, item, &text, column] {
    QTreeWidgetItem* found = Find(item);
    if (found && column >= 0 && column < columnCount()) found->setText(column, text);
  });
}

void CVelkorCtrlCtrl::SetItemImage(CVelkorCtrlItem item, int normal, int selected, int expanded,
                                   int expandedSelected) {
  RunOnOwnerThread(this, [=, this] {
    QTreeWidgetItem* found = Find(item);
    if (!found) return;
    // An item shows its expanded pair while its children are visible; the
    // view switches the pair through the icon's On state.
    QIcon icon = ImageIcon(normal, selected);
    const QIcon open = ImageIcon(expanded, expandedSelected);
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Selected}) {
      icon.addPixmap(open.pixmap(16, 16, mode), mode, QIcon::On);
    }
    found->setIcon(0, icon);
  });
}

void CVelkorCtrlCtrl::SetItemTextColor(CVelkorCtrlItem item, QRgb colour) {
  RunOnOwnerThread(this, [this, item, colour] {
    if (QTreeWidgetItem* found = Find(item)) found->setForeground(0, QColor(colour));
  });
}

void CVelkorCtrlCtrl::Expand(CVelkorCtrlItem item, int code) {
  RunOnOwnerThread(this, [this, item, code] {
    QTreeWidgetItem* found = Find(item);
    if (!found) return;
    if (code == kExpandShow) found->setExpanded(true);
    if (code == 1) found->setExpanded(false);
    if (code == 3) found->setExpanded(!found->isExpanded());
  });
}

CVelkorCtrlItem CVelkorCtrlCtrl::GetSelectedItem() const {
  return RunOnOwnerThread(const_cast<CVelkorCtrlCtrl*>(this), [this] {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? CVelkorCtrlItem{} : HandleOf(selected.constFirst());
  });
}

QString CVelkorCtrlCtrl::GetItemText(CVelkorCtrlItem item, int column) const {
  return RunOnOwnerThread(const_cast<CVelkorCtrlCtrl*>(this), [this, item, column] {
    const QTreeWidgetItem* found = Find(item);
    return found ? found->text(column) : QString();
  });
}

CVelkorCtrlItem CVelkorCtrlCtrl::GetRootItem() const {
  return RunOnOwnerThread(const_cast<CVelkorCtrlCtrl*>(this), [this] {
    return topLevelItemCount() > 0 ? HandleOf(topLevelItem(0)) : CVelkorCtrlItem{};
  });
}

int CVelkorCtrlCtrl::GetItemCount() const {
  return RunOnOwnerThread(const_cast<CVelkorCtrlCtrl*>(this),
                          [this] { return static_cast<int>(items_.size()); });
}

void CVelkorCtrlCtrl::DeleteAllItems() {
  RunOnOwnerThread(this, [this] {
    items_.clear();
    clear();
  });
}

void CVelkorCtrlCtrl::OnLButtonDblClk(Qt::KeyboardModifiers, QPoint) {}

void CVelkorCtrlCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  OnLButtonDblClk(event->modifiers(), event->position().toPoint());
  QTreeWidget::mouseDoubleClickEvent(event);
}

QTreeWidgetItem* CVelkorCtrlCtrl::Find(CVelkorCtrlItem item) const {
  return items_.value(item.handle, nullptr);
}

CVelkorCtrlItem CVelkorCtrlCtrl::HandleOf(const QTreeWidgetItem* item) const {
  return CVelkorCtrlItem{item->data(0, kHandleRole).toULongLong()};
}

QIcon CVelkorCtrlCtrl::ImageIcon(int normal, int selected) const {
  QIcon icon;
  const auto valid = [this](int index) {
    return index >= 0 && static_cast<size_t>(index) < images_.size();
  };
  if (valid(normal)) icon.addPixmap(images_[static_cast<size_t>(normal)], QIcon::Normal);
  if (valid(selected)) icon.addPixmap(images_[static_cast<size_t>(selected)], QIcon::Selected);
  return icon;
}

}  // namespace velkor
