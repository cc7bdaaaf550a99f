// The tree-list control of the category tree: a tree whose rows carry text
// columns. Items are named by handles, not pointers: a handle whose item has
// been deleted names nothing, so a worker still holding one after the tree
// was emptied changes nothing instead of touching freed memory.
//
// Every operation may be called from a worker thread; it is then carried out
// on the control's own thread while the worker waits, so the user-interface
// thread never sees the tree half-changed.
#pragma once

#include <cstdint>
#include <vector>

#include <QHash>
#include <QPixmap>
#include <QString>
#include <QTreeWidget>

namespace velkor {

struct CVelkorCtrlItem {
  uint64_t handle = 0;
  explicit operator bool() const { return handle != 0; }
  friend bool operator==(CVelkorCtrlItem, CVelkorCtrlItem) = default;
};

// Parent value of a top-level item.
inline constexpr CVelkorCtrlItem kItemRoot{0xFFFF0001};
// Position value that appends after the last child of the parent.
inline constexpr CVelkorCtrlItem kItemLast{0xFFFF0002};
// Expand code that shows an item's children.
inline constexpr int kExpandShow = 2;

class CVelkorCtrlCtrl : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CVelkorCtrlCtrl(QWidget* parent = nullptr);

  void SetImageList(std::vector<QPixmap> images);
  // The style bits are kept as given; the control draws one fixed style.
  void SetStyle(uint32_t style);
  uint32_t GetStyle() const { return style_; }
  // Appends a column; returns its index.
  int InsertColumn(const QString& header, uint32_t format);
  void SetColumnWidth(int column, int width);
  int GetColumnCount() const;

  // parent is kItemRoot or an item; after is kItemLast or a child of parent.
  // Returns a null item when either names nothing.
  CVelkorCtrlItem InsertItem(const QString& text, CVelkorCtrlItem parent, CVelkorCtrlItem after);
  void SetItemText(CVelkorCtrlItem item, const QString& text, int column);
  // The four images stand for the normal, selected, expanded and expanded
  // selected states.
  void SetItemImage(CVelkorCtrlItem item, int normal, int selected, int expanded,
                    int expandedSelected);
  void SetItemTextColor(CVelkorCtrlItem item, QRgb colour);
  void Expand(CVelkorCtrlItem item, int code);
  CVelkorCtrlItem GetSelectedItem() const;
  QString GetItemText(CVelkorCtrlItem item, int column) const;
  CVelkorCtrlItem GetRootItem() const;
  int GetItemCount() const;
  void DeleteAllItems();

 protected:
  // Called before the control's own double-click handling.
  virtual void OnLButtonDblClk(Qt::KeyboardModifiers modifiers, QPoint point);
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QTreeWidgetItem* Find(CVelkorCtrlItem item) const;
  CVelkorCtrlItem HandleOf(const QTreeWidgetItem* item) const;
  QIcon ImageIcon(int normal, int selected) const;

  std::vector<QPixmap> images_;
  std::vector<uint32_t> columnFormats_;
  QHash<uint64_t, QTreeWidgetItem*> items_;
  uint64_t nextHandle_ = 1;
  uint32_t style_ = 0;
};

}  // namespace velkor
