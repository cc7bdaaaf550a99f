#include "ui/result_sort_proxy.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "ui/result_list_model.h"

namespace velkor {
namespace {

constexpr int kIndexColumn = 0;
// Eighteen digits always fit an int64_t.
constexpr size_t kLongestNumber = 18;

// The value of a cell that is a whole number and nothing else.
std::optional<int64_t> WholeNumber(const std::u16string& text) {
  size_t at = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) at = 1;
  if (at == text.size() || text.size() - at > kLongestNumber) return std::nullopt;
  int64_t value = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < u'0' || text[at] > u'9') return std::nullopt;
    value = value * 10 + (text[at] - u'0');
  }
  return negative ? -value : value;
}

// Numbers before texts, numbers by value, texts by their characters
// ignoring case; -1, 0 or 1.
int CompareCells(const std::u16string& left, const std::u16string& right) {
  const std::optional<int64_t> a = WholeNumber(left);
  const std::optional<int64_t> b = WholeNumber(right);
  if (a && b) return *a < *b ? -1 : (*a > *b ? 1 : 0);
  if (a || b) return a ? -1 : 1;
  const QStringView l(left.data(), static_cast<qsizetype>(left.size()));
  const QStringView r(right.data(), static_cast<qsizetype>(right.size()));
  const int order = l.compare(r, Qt::CaseInsensitive);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

ResultSortProxy::ResultSortProxy(ResultListModel& source, int timeColumn, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source), timeColumn_(timeColumn) {
  setSourceModel(&source);
}

void ResultSortProxy::SetFilterText(const QString& text) {
  if (text == filter_) return;
  filter_ = text;
  invalidateRowsFilter();
}

void ResultSortProxy::SetHideDuplicates(bool hide) {
  if (hide == hideDuplicates_) return;
  hideDuplicates_ = hide;
  invalidateRowsFilter();
}

bool ResultSortProxy::ShowsAllRows() const {
  return static_cast<size_t>(rowCount()) == source_.RowCount();
}

// The index column stands for the found order, so sorting by it restores
// that order. A time sorts by the instant behind its text, which has no
// leading zeros and so no text order; rows without one come first. Equal
// keys keep the found order (the proxy's sort is stable).
bool ResultSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const auto l = static_cast<size_t>(left.row());
  const auto r = static_cast<size_t>(right.row());
  const int column = left.column();
  if (column == kIndexColumn) return l < r;
  if (column == timeColumn_) {
    const RowProvenance* a = source_.ProvenanceOf(l);
    const RowProvenance* b = source_.ProvenanceOf(r);
    if (a != nullptr && b != nullptr && (a->seconds || b->seconds)) {
      return std::pair{a->seconds.has_value(), a->seconds.value_or(0)} <
             std::pair{b->seconds.has_value(), b->seconds.value_or(0)};
    }
  }
  const auto c = static_cast<size_t>(column);
  return CompareCells(source_.CellText(l, c), source_.CellText(r, c)) < 0;
}

bool ResultSortProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  const auto row = static_cast<size_t>(sourceRow);
  if (hideDuplicates_) {
    const RowProvenance* origin = source_.ProvenanceOf(row);
    if (origin != nullptr && origin->duplicateOf != 0) return false;
  }
  return filter_.isEmpty() || source_.RowHolds(row, filter_);
}

}  // namespace velkor
