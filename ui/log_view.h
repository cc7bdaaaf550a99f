// The list of the activity log: rows whose cells each carry their own text
// colour. Rows are kept in a small model; the colours travel with their row.
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

class LogModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit LogModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetHeaders(const QStringList& headers);
  // Inserts a row with text in column 0 before row (clamped to the list);
  // returns where it went.
  int InsertRow(int row, const QString& text);
  void SetCellText(int row, int column, const QString& text);
  QString CellText(int row, int column) const;
  // Ignored for a row or column outside the list.
  void SetCellColour(int row, int column, QRgb colour);
  void Clear();

 private:
  struct Row {
    std::vector<QString> cells;
    RowColors colors;
  };
  bool HasCell(int row, int column) const;

  QStringList headers_;
  std::vector<Row> rows_;
};

class LogView final : public QTableView {
  Q_OBJECT

 public:
  explicit LogView(QWidget* parent = nullptr);
  LogModel& Model() { return model_; }
  const LogModel& Model() const { return model_; }

 private:
  LogModel model_;
};

}  // namespace velkor
