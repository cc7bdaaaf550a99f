#include "ui/result_pane.h"

#include <QResizeEvent>
#include <QTabWidget>

#include "engine/result_tabs.h"
#include "res/menu_resources.h"
#include "ui/detail_pane.h"
#include "ui/found_files_page.h"
#include "ui/task_commands.h"
#include "ui/thumbnail_loader.h"

namespace velkor {
namespace {

QStringList Headers(const ResultTabInfo& tab) {
  QStringList headers;
  for (const std::u16string_view column : tab.columns) headers << Text(column);
  return headers;
}

void SetColumnWidths(ResultListView& list, int width, int divisor, bool lastTakesRest) {
  const int columns = list.model()->columnCount();
  const int each = width / divisor;
  for (int column = 0; column < columns; ++column) {
    const bool last = column == columns - 1;
    list.setColumnWidth(column, last && lastTakesRest ? width - column * each : each);
  }
}

}  // namespace

ResultPane::ResultPane(int initialWidth, QWidget* parent) : QWidget(parent) {
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("resultTabs"));
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  tabs_->setTabsClosable(false);
  thumbnails_ = new ThumbnailLoader(this);
  for (const ResultTabInfo& tab : ResultTabs()) {
    auto* list = new ResultListView(Headers(tab));
    list->setObjectName(QStringLiteral("resultList%1").arg(tab.tab));
    // A search may move the current row of a list behind another tab; only
    // the list in front speaks for the detail pane.
    connect(list, &ResultListView::currentRowChanged, this, [this, tab = tab.tab](int row) {
      if (tab == ActiveTab()) ShowDetail(row);
    });
    connect(list, &ResultListView::saveRequested, this, [this] {
      if (commands_) commands_->Save();
    });
    SetColumnWidths(*list, initialWidth, tab.creationDivisor, tab.lastTakesRest);
    lists_.push_back(list);
    if (tab.tab == kTabFoundFiles) {
      foundFiles_ = new FoundFilesPage(list, *thumbnails_, *tabs_);
      tabs_->addTab(foundFiles_, Text(tab.caption));
      continue;
    }
    tabs_->addTab(list, Text(tab.caption));
  }
  resize(initialWidth, height());
}

void ResultPane::SetRows(int tab, std::vector<RowTexts> rows) {
  List(tab).Model().SetRows(std::move(rows));
}

void ResultPane::SetFullTexts(int tab, std::vector<FullTexts> full) {
  List(tab).Model().SetFullTexts(std::move(full));
}

void ResultPane::ShowFullTexts(bool show) {
  showFull_ = show;
  for (ResultListView* list : lists_) list->Model().ShowFullTexts(show);
  const int row = List(ActiveTab()).currentIndex().row();
  if (row >= 0) ShowDetail(row);
}

size_t ResultPane::RowCount(int tab) const {
  return ModelOf(tab).RowCount();
}

std::vector<size_t> ResultPane::TickedRows(int tab) const {
  return ModelOf(tab).CheckedRows();
}

std::vector<RowTexts> ResultPane::TickedRowTexts(int tab) const {
  const ResultListModel& model = ModelOf(tab);
  const auto columns = static_cast<size_t>(model.columnCount());
  std::vector<RowTexts> rows;
  for (const size_t row : model.CheckedRows()) {
    RowTexts texts;
    for (size_t column = 0; column < columns; ++column) {
      texts.push_back(model.CellText(row, column));
    }
    rows.push_back(std::move(texts));
  }
  return rows;
}

void ResultPane::Untick(int tab, const std::vector<size_t>& rows) {
  for (const size_t row : rows) List(tab).Model().SetChecked(row, false);
}

int ResultPane::ActiveTab() const {
  return tabs_->currentIndex();
}

void ResultPane::SetActiveTab(int tab) {
  tabs_->setCurrentIndex(tab);
}

size_t ResultPane::SelectRowsHolding(int tab, const QString& text) {
  return List(tab).SelectRowsHolding(text);
}

void ResultPane::ShowDetail(int row) {
  if (!detail_) return;
  detail_->Clear();
  const int tab = ActiveTab();
  const std::span<const DetailField> fields = ResultTabOf(tab).detail;
  const ResultListModel& model = ModelOf(tab);
  for (size_t field = 0; field < fields.size(); ++field) {
    const auto r = static_cast<size_t>(row);
    const auto column = static_cast<size_t>(fields[field].column);
    const QString value = QString::fromStdU16String(model.CellText(r, column));
    detail_->AppendRun(Text(fields[field].label), QColor(20, 20, 200), QStringLiteral("黑体"), 10);
    detail_->AppendRun(value, QColor(0, 128, 192), QStringLiteral("隶书"), 10);
    // What the code page lost is shown beside the list text.
    const std::u16string* full = model.DifferingFullText(r, column);
    if (full != nullptr && !showFull_) {
      detail_->AppendRun(QStringLiteral("  完整Unicode文本:"), QColor(20, 20, 200),
                         QStringLiteral("黑体"), 10);
      detail_->AppendRun(QString::fromStdU16String(*full), QColor(160, 0, 0),
                         QStringLiteral("Arial"), 10);
    }
    // The record ends with its last value; a line end only separates fields.
    if (field + 1 < fields.size()) {
      detail_->AppendRun(QStringLiteral("\r\n"), QColor(0, 0, 0), QStringLiteral("Times New Roman"),
                         1);
    }
  }
  emit detailShown(tab, row);
}

void ResultPane::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int width = event->size().width();
  tabs_->setGeometry(0, 0, width, event->size().height());
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (tab.resizeDivisor > 0) SetColumnWidths(List(tab.tab), width, tab.resizeDivisor, false);
  }
}

}  // namespace velkor
