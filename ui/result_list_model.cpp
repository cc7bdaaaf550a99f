#include "ui/result_list_model.h"

#include <algorithm>
#include <utility>

#include <QStringView>

namespace velkor {
namespace {

const std::u16string kNoText;

}  // namespace

ResultListModel::ResultListModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)) {}

int ResultListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const auto row = static_cast<size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdU16String(CellText(row, static_cast<size_t>(index.column())));
    case Qt::CheckStateRole:
      if (index.column() != 0) return {};
      return checks_[row] ? Qt::Checked : Qt::Unchecked;
    default:
      return {};
  }
}

bool ResultListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || index.column() != 0 ||
      !checkIndex(index, CheckIndexOption::IndexIsValid)) {
    return false;
  }
  const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
  checks_[static_cast<size_t>(index.row())] = checked ? 1 : 0;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= headers_.size()) return {};
  return headers_[section];
}

void ResultListModel::SetRows(std::vector<RowTexts> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  full_.clear();
  provenance_.clear();
  checks_.assign(rows_.size(), 0);
  endResetModel();
}

void ResultListModel::SetFullTexts(std::vector<FullTexts> full) {
  full_ = std::move(full);
  if (showFull_ && !rows_.empty()) {
    emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, columnCount() - 1));
  }
}

void ResultListModel::ShowFullTexts(bool show) {
  if (show == showFull_) return;
  showFull_ = show;
  if (!rows_.empty()) {
    emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, columnCount() - 1));
  }
}

const std::u16string* ResultListModel::DifferingFullText(size_t row, size_t column) const {
  if (row >= full_.size() || row >= rows_.size() || column >= rows_[row].size()) return nullptr;
  return full_[row].Find(static_cast<uint8_t>(column));
}

void ResultListModel::SetProvenance(std::vector<RowProvenance> provenance) {
  provenance_ = std::move(provenance);
}

const RowProvenance* ResultListModel::ProvenanceOf(size_t row) const {
  return row < provenance_.size() && row < rows_.size() ? &provenance_[row] : nullptr;
}

void ResultListModel::AppendRow(RowTexts row) {
  const int at = static_cast<int>(rows_.size());
  beginInsertRows({}, at, at);
  rows_.push_back(std::move(row));
  checks_.push_back(0);
  endInsertRows();
}

void ResultListModel::Clear() {
  SetRows({});
}

const std::u16string& ResultListModel::CellText(size_t row, size_t column) const {
  if (row >= rows_.size() || column >= rows_[row].size()) return kNoText;
  if (showFull_) {
    if (const std::u16string* full = DifferingFullText(row, column)) return *full;
  }
  return rows_[row][column];
}

bool ResultListModel::IsChecked(size_t row) const {
  return row < checks_.size() && checks_[row];
}

void ResultListModel::SetChecked(size_t row, bool checked) {
  if (row >= checks_.size()) return;
  setData(index(static_cast<int>(row), 0), checked ? Qt::Checked : Qt::Unchecked,
          Qt::CheckStateRole);
}

void ResultListModel::SetAllChecked(bool checked) {
  if (rows_.empty()) return;
  std::fill(checks_.begin(), checks_.end(), checked ? 1 : 0);
  emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, 0), {Qt::CheckStateRole});
}

void ResultListModel::SetRowsChecked(const std::vector<size_t>& rows, bool checked) {
  size_t first = rows_.size();
  size_t last = 0;
  for (const size_t row : rows) {
    if (row >= checks_.size()) continue;
    checks_[row] = checked ? 1 : 0;
    first = std::min(first, row);
    last = std::max(last, row);
  }
  if (first > last) return;
  emit dataChanged(index(static_cast<int>(first), 0), index(static_cast<int>(last), 0),
                   {Qt::CheckStateRole});
}

bool ResultListModel::RowHolds(size_t row, const QString& text) const {
  for (size_t column = 0; column < static_cast<size_t>(headers_.size()); ++column) {
    const std::u16string& cell = CellText(row, column);
    if (QStringView(cell.data(), static_cast<qsizetype>(cell.size()))
            .contains(text, Qt::CaseInsensitive)) {
      return true;
    }
  }
  return false;
}

std::vector<size_t> ResultListModel::CheckedRows() const {
  std::vector<size_t> ticked;
  for (size_t row = 0; row < checks_.size(); ++row) {
    if (checks_[row]) ticked.push_back(row);
  }
  return ticked;
}

}  // namespace velkor
