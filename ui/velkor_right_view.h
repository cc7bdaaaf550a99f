// The right pane: eleven result lists behind tabs at the bottom, and the
// layout in which a clicked row of the first four is shown in the detail pane.
#pragma once

#include <array>
#include <span>

#include <QStringList>
#include <QWidget>

#include "ui/my_list_ctrl.h"

class QTabWidget;

namespace velkor {

class CRightDlg;
class TaskCommands;

inline constexpr int kRightViewTabCount = 11;

struct ResultTabDef {
  const char16_t* label;
  QStringList headers;
  // Columns get width / divisor at creation; the last column of a list with
  // lastTakesRest gets what the others leave.
  int creationDivisor;
  bool lastTakesRest;
  // Divisor used again on every resize; 0 keeps the first widths.
  int resizeDivisor;
};
const ResultTabDef& ResultTab(int tab);

// One line of the detail layout: label and the list column it shows.
struct DetailField {
  const char16_t* label;
  int column;
};
// Empty for tabs without a detail layout.
std::span<const DetailField> DetailLayout(int tab);

class CVelkorRightView final : public QWidget, public ShowDetailTarget {
  Q_OBJECT

 public:
  // initialWidth stands in for the client width at creation, on which the
  // first column widths are based.
  explicit CVelkorRightView(int initialWidth, QWidget* parent = nullptr);

  CMyListCtrl& List(int tab) { return *lists_[static_cast<size_t>(tab)]; }
  // Any thread; a worker waits until the tab is in front.
  void SetActiveTab(int tab);
  int ActiveTab() const;
  void SetDetailView(CRightDlg* detail) { detail_ = detail; }
  void SetCommandTarget(TaskCommands* target);

  void OnShowDetail(int row) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTabWidget* tabs_ = nullptr;
  std::array<CMyListCtrl*, kRightViewTabCount> lists_{};
  CRightDlg* detail_ = nullptr;
};

}  // namespace velkor
