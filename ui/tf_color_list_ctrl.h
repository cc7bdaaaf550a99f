// A list whose cells each carry their own text colour, used by the activity
// log. Rows are kept in a small model; the colours travel with their row.
#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTableView>

namespace velkor {

// The colours of one row, by column. A column past the end of an array has
// no colour of its own and draws black on white.
struct RowColors {
  std::vector<QRgb> background;
  std::vector<QRgb> text;
};

class ColorListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ColorListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetHeaders(const QStringList& headers);
  // Inserts a row with text in column 0 before row (clamped to the list);
  // returns where it went.
  int InsertColorRow(int row, const QString& text);
  void SetItemText(int row, int column, const QString& text);
  QString ItemText(int row, int column) const;
  // Ignored for a row or column outside the list.
  void SetCellTextColor(int row, int column, QRgb colour);
  void DeleteAllColorRows();

 private:
  struct Row {
    std::vector<QString> cells;
    RowColors colors;
  };
  bool HasCell(int row, int column) const;

  QStringList headers_;
  std::vector<Row> rows_;
};

class TFColorListCtrl final : public QTableView {
  Q_OBJECT

 public:
  explicit TFColorListCtrl(QWidget* parent = nullptr);

  void SetHeaders(const QStringList& headers) { model_.SetHeaders(headers); }
  int InsertColorRow(int row, const QString& text) { return model_.InsertColorRow(row, text); }
  void SetItemText(int row, int column, const QString& text) {
    model_.SetItemText(row, column, text);
  }
  QString GetItemText(int row, int column) const { return model_.ItemText(row, column); }
  void SetCellTextColor(int row, int column, QRgb colour) {
    model_.SetCellTextColor(row, column, colour);
  }
  void DeleteAllColorRows() { model_.DeleteAllColorRows(); }
  int GetItemCount() const { return model_.rowCount(); }
  ColorListModel& Model() { return model_; }

 private:
  ColorListModel model_;
};

}  // namespace velkor
