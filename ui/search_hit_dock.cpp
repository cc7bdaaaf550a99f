#include "ui/search_hit_dock.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velkor {

SearchHitDock::SearchHitDock(QWidget* parent) : QDockWidget(QStringLiteral("搜索结果"), parent) {
  setObjectName(QStringLiteral("searchHitDock"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  auto* frame = new QWidget(this);
  summary_ = new QLabel(frame);
  summary_->setObjectName(QStringLiteral("searchHitSummary"));
  summary_->setTextFormat(Qt::PlainText);
  list_ = new QTreeWidget(frame);
  list_->setObjectName(QStringLiteral("searchHitList"));
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setHeaderLabels({QStringLiteral("偏移"), QStringLiteral("文件"), QStringLiteral("内容")});
  list_->header()->setStretchLastSection(true);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  setWidget(frame);
}

// Item texts are never read as markup, so an excerpt that looks like HTML
// shows as the bytes it is.
void SearchHitDock::ShowSearchHits(const QString& text, std::vector<SearchHit> hits) {
  list_->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(hits.size()));
  for (const SearchHit& hit : hits) {
    auto* item = new QTreeWidgetItem;
    item->setText(kOffsetColumn, OffsetText(hit.offset));
    item->setText(kFileColumn, QString::fromStdU16String(hit.file));
    item->setText(kExcerptColumn, QString::fromStdU16String(hit.excerpt));
    items << item;
  }
  list_->addTopLevelItems(items);
  summary_->setText(QStringLiteral("\"%1\": %2 处").arg(text).arg(hits.size()));
  if (!items.isEmpty()) list_->setCurrentItem(items.constFirst());
  show();
  raise();
}

QString SearchHitDock::Summary() const {
  return summary_->text();
}

}  // namespace velkor
