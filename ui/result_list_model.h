// The rows of one result list: the texts of every record as the fill made
// them, and the check mark of each row beside them. A view draws only the
// rows on screen, so a list of any length costs one vector of texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QStringList>

#include "engine/record_rows.h"
#include "ui/row_provenance.h"

namespace velkor {

class ResultListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ResultListModel(QStringList headers, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Replaces every row at once; all check marks start clear and no row has
  // full texts.
  void SetRows(std::vector<RowTexts> rows);
  // The full Unicode texts of the rows where they differ from the list
  // texts, one entry per row (fewer: the rest have none).
  void SetFullTexts(std::vector<FullTexts> full);
  // Whether the cells show those full texts instead of the list texts.
  void ShowFullTexts(bool show);
  // The full text of a cell where it differs from the list text, else null.
  const std::u16string* DifferingFullText(size_t row, size_t column) const;
  // Where each row came from, one entry per row (fewer: the rest have none).
  void SetProvenance(std::vector<RowProvenance> provenance);
  const RowProvenance* ProvenanceOf(size_t row) const;
  void AppendRow(RowTexts row);
  void Clear();

  size_t RowCount() const { return rows_.size(); }
  // Empty for a row or column the list does not have. The full text where
  // the list shows full texts.
  const std::u16string& CellText(size_t row, size_t column) const;
  bool IsChecked(size_t row) const;
  void SetChecked(size_t row, bool checked);
  // Ticks or clears every row with a single change notification.
  void SetAllChecked(bool checked);
  // Ticks or clears the given rows with one notification over their span.
  void SetRowsChecked(const std::vector<size_t>& rows, bool checked);
  std::vector<size_t> CheckedRows() const;
  // Whether any cell of row, as shown, holds text, ignoring case.
  bool RowHolds(size_t row, const QString& text) const;

 private:
  QStringList headers_;
  std::vector<RowTexts> rows_;
  std::vector<FullTexts> full_;
  std::vector<RowProvenance> provenance_;
  bool showFull_ = false;
  std::vector<uint8_t> checks_;
};

}  // namespace velkor
