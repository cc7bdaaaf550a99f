#include "ui/log_view.h"

#include <algorithm>

#include <QHeaderView>

namespace velkor {

int LogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LogModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant LogModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const Row& row = rows_[static_cast<size_t>(index.row())];
  const auto column = static_cast<size_t>(index.column());
  switch (role) {
    case Qt::DisplayRole:
      return column < row.cells.size() ? row.cells[column] : QString();
    case Qt::ForegroundRole:
      return QColor(column < row.colors.text.size() ? row.colors.text[column] : qRgb(0, 0, 0));
    case Qt::BackgroundRole:
      return QColor(column < row.colors.background.size() ? row.colors.background[column]
                                                          : qRgb(255, 255, 255));
    default:
      return {};
  }
}

QVariant LogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= headers_.size()) return {};
  return headers_[section];
}

void LogModel::SetHeaders(const QStringList& headers) {
  beginResetModel();
  headers_ = headers;
  endResetModel();
}

int LogModel::InsertRow(int row, const QString& text) {
  const int at = std::clamp(row, 0, static_cast<int>(rows_.size()));
  beginInsertRows({}, at, at);
  rows_.insert(rows_.begin() + at, Row{{text}, {}});
  endInsertRows();
  return at;
}

bool LogModel::HasCell(int row, int column) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) && column >= 0 &&
         column < headers_.size();
}

void LogModel::SetCellText(int row, int column, const QString& text) {
  if (!HasCell(row, column)) return;
  std::vector<QString>& cells = rows_[static_cast<size_t>(row)].cells;
  if (cells.size() <= static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column) + 1);
  cells[static_cast<size_t>(column)] = text;
  emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
}

QString LogModel::CellText(int row, int column) const {
  if (!HasCell(row, column)) return {};
  const std::vector<QString>& cells = rows_[static_cast<size_t>(row)].cells;
  return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)]
                                                    : QString();
}

void LogModel::SetCellColour(int row, int column, QRgb colour) {
  if (!HasCell(row, column)) return;
  std::vector<QRgb>& text = rows_[static_cast<size_t>(row)].colors.text;
  // Columns before this one that had no colour yet are pinned to black.
  if (text.size() <= static_cast<size_t>(column)) {
    text.resize(static_cast<size_t>(column) + 1, qRgb(0, 0, 0));
  }
  text[static_cast<size_t>(column)] = colour;
  emit dataChanged(index(row, column), index(row, column), {Qt::ForegroundRole});
}

void LogModel::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

LogView::LogView(QWidget* parent) : QTableView(parent) {
  setModel(&model_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setHighlightSections(false);
}

}  // namespace velkor
