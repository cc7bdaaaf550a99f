// The found-files list as a grid of thumbnails: an icon-mode view over the
// list's own model. Only the cells being painted ask for a thumbnail, so a
// long list decodes what is scrolled into view and nothing more.
#pragma once

#include <QAbstractItemModel>
#include <QListView>
#include <QStyledItemDelegate>

namespace velkor {

class ThumbnailLoader;

class ThumbnailDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  ThumbnailDelegate(ThumbnailLoader& loader, QObject* parent);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  // One size for every cell, so the view lays out without asking any cell.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  ThumbnailLoader& loader_;
};

class ThumbnailGrid final : public QListView {
  Q_OBJECT

 public:
  ThumbnailGrid(QAbstractItemModel& model, ThumbnailLoader& loader, QWidget* parent = nullptr);
};

}  // namespace velkor
