#include "ui/thumbnail_grid.h"

#include <QPainter>

#include "ui/thumbnail_loader.h"

namespace velkor {
namespace {

constexpr int kCellMargin = 8;

QSize CellSize(const QFontMetrics& metrics) {
  return {kThumbnailEdge + 2 * kCellMargin, kThumbnailEdge + 2 * kCellMargin + metrics.height()};
}

}  // namespace

ThumbnailDelegate::ThumbnailDelegate(ThumbnailLoader& loader, QObject* parent)
    : QStyledItemDelegate(parent), loader_(loader) {}

QSize ThumbnailDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& /*index*/) const {
  return CellSize(option.fontMetrics);
}

void ThumbnailDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  painter->save();
  if (option.state & QStyle::State_Selected) {
    painter->fillRect(option.rect, option.palette.highlight());
  }
  const QRect box(option.rect.x() + kCellMargin, option.rect.y() + kCellMargin, kThumbnailEdge,
                  kThumbnailEdge);
  const Thumbnail* thumbnail = loader_.Request(index.row());
  if (thumbnail != nullptr && thumbnail->decoded) {
    const QSize size = thumbnail->image.size();
    painter->drawImage(QPoint(box.x() + (box.width() - size.width()) / 2,
                              box.y() + (box.height() - size.height()) / 2),
                       thumbnail->image);
  } else {
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawRect(box.adjusted(0, 0, -1, -1));
    if (thumbnail != nullptr) {
      painter->drawText(box, Qt::AlignCenter, QStringLiteral("无法解码"));
    }
  }
  painter->setPen(option.palette.color(
      option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
  const QRect caption(option.rect.x(), box.bottom() + 1, option.rect.width(),
                      option.fontMetrics.height() + kCellMargin);
  painter->drawText(caption, Qt::AlignCenter | Qt::TextSingleLine,
                    option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                  Qt::ElideMiddle, caption.width()));
  painter->restore();
}

ThumbnailGrid::ThumbnailGrid(QAbstractItemModel& model, ThumbnailLoader& loader, QWidget* parent)
    : QListView(parent) {
  setObjectName(QStringLiteral("thumbnailGrid"));
  setViewMode(QListView::IconMode);
  setResizeMode(QListView::Adjust);
  setMovement(QListView::Static);
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setItemDelegate(new ThumbnailDelegate(loader, this));
  setModel(&model);
  // A finished decode repaints its own cell only, if it is still on screen.
  connect(&loader, &ThumbnailLoader::thumbnailReady, this,
          [this](int row) { viewport()->update(visualRect(this->model()->index(row, 0))); });
}

}  // namespace velkor
