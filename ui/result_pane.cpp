#include "ui/result_pane.h"

#include <algorithm>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
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

// The column sorted by instants: the one titled "时间"; -1 for none.
int TimeColumn(const ResultTabInfo& tab) {
  for (size_t column = 0; column < tab.columns.size(); ++column) {
    if (tab.columns[column] == u"时间") return static_cast<int>(column);
  }
  return -1;
}

void AppendLine(DetailPane& detail, const QString& label, const QString& value) {
  detail.AppendRun(label, QColor(20, 20, 200), QStringLiteral("黑体"), 10);
  detail.AppendRun(value, QColor(0, 128, 192), QStringLiteral("隶书"), 10);
}

void AppendLineEnd(DetailPane& detail) {
  detail.AppendRun(QStringLiteral("\r\n"), QColor(0, 0, 0), QStringLiteral("Times New Roman"), 1);
}

}  // namespace

ResultPane::ResultPane(int initialWidth, QWidget* parent) : QWidget(parent) {
  filterBar_ = BuildFilterBar();
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("resultTabs"));
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  tabs_->setTabsClosable(false);
  thumbnails_ = new ThumbnailLoader(this);
  for (const ResultTabInfo& tab : ResultTabs()) {
    auto* list = new ResultListView(Headers(tab), TimeColumn(tab));
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

QWidget* ResultPane::BuildFilterBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("filterBar"));
  filter_ = new QLineEdit(bar);
  filter_->setObjectName(QStringLiteral("listFilter"));
  filter_->setPlaceholderText(QStringLiteral("筛选"));
  filter_->setClearButtonEnabled(true);
  hideDuplicates_ = new QCheckBox(QStringLiteral("隐藏重复行"), bar);
  hideDuplicates_->setObjectName(QStringLiteral("hideDuplicateRows"));
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(filter_, 1);
  layout->addWidget(hideDuplicates_);
  connect(filter_, &QLineEdit::textChanged, this, &ResultPane::ApplyFilter);
  connect(hideDuplicates_, &QCheckBox::toggled, this, &ResultPane::ApplyFilter);
  return bar;
}

void ResultPane::ApplyFilter() {
  for (ResultListView* list : lists_) {
    list->Proxy().SetFilterText(filter_->text());
    list->Proxy().SetHideDuplicates(hideDuplicates_->isChecked());
  }
}

void ResultPane::SetRows(int tab, std::vector<RowTexts> rows) {
  List(tab).Model().SetRows(std::move(rows));
}

void ResultPane::SetFullTexts(int tab, std::vector<FullTexts> full) {
  List(tab).Model().SetFullTexts(std::move(full));
}

void ResultPane::SetProvenance(int tab, std::vector<RowProvenance> provenance) {
  List(tab).Model().SetProvenance(std::move(provenance));
  // The duplicate filter reads the provenance the rows only now have.
  List(tab).Proxy().invalidate();
}

void ResultPane::ShowFullTexts(bool show) {
  showFull_ = show;
  for (ResultListView* list : lists_) list->Model().ShowFullTexts(show);
  const int row = List(ActiveTab()).CurrentModelRow();
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
    AppendLine(*detail_, Text(fields[field].label), value);
    // What the code page lost is shown beside the list text.
    const std::u16string* full = model.DifferingFullText(r, column);
    if (full != nullptr && !showFull_) {
      detail_->AppendRun(QStringLiteral("  完整Unicode文本:"), QColor(20, 20, 200),
                         QStringLiteral("黑体"), 10);
      detail_->AppendRun(QString::fromStdU16String(*full), QColor(160, 0, 0),
                         QStringLiteral("Arial"), 10);
    }
    // The record ends with its last value; a line end only separates fields.
    if (field + 1 < fields.size()) AppendLineEnd(*detail_);
  }
  if (const RowProvenance* origin = model.ProvenanceOf(static_cast<size_t>(row))) {
    AppendProvenance(*origin, !fields.empty());
  }
  emit detailShown(tab, row);
}

// Each line is preceded by a line end unless it is the first of the pane,
// so the text still ends with its last value.
void ResultPane::AppendProvenance(const RowProvenance& origin, bool afterFields) {
  bool first = !afterFields;
  const auto line = [this, &first](const QString& label, const QString& value) {
    if (!first) AppendLineEnd(*detail_);
    first = false;
    AppendLine(*detail_, label, value);
  };
  if (!origin.offsets.empty()) line(QStringLiteral("偏移:"), OffsetsText(origin.offsets));
  if (!origin.sourceFile.empty()) {
    line(QStringLiteral("来源文件:"), QString::fromStdU16String(origin.sourceFile));
  }
  if (!origin.foundBy.empty()) {
    line(QStringLiteral("发现方式:"), QString::fromStdU16String(origin.foundBy));
  }
  if (origin.duplicateOf != 0) line(QStringLiteral("重复于:"), QString::number(origin.duplicateOf));
}

void ResultPane::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int width = event->size().width();
  const int barHeight = filterBar_->sizeHint().height();
  filterBar_->setGeometry(0, 0, width, barHeight);
  tabs_->setGeometry(0, barHeight, width, std::max(0, event->size().height() - barHeight));
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (tab.resizeDivisor > 0) SetColumnWidths(List(tab.tab), width, tab.resizeDivisor, false);
  }
}

}  // namespace velkor
