#include "ui/velkor_right_view.h"

#include <array>

#include <QResizeEvent>
#include <QTabWidget>

#include "ui/right_dlg.h"
#include "ui/ui_thread.h"

namespace velkor {
namespace {

const std::array<ResultTabDef, kRightViewTabCount>& TabDefs() {
  static const std::array<ResultTabDef, kRightViewTabCount> defs{{
      {u"短信箱", {"索引", "电话号码", "状态", "时间", "内容"}, 5, false, 5},
      {u"电话薄", {"索引", "姓名", "电话号码"}, 3, false, 3},
      {u"通话记录",
       {"索引", "姓名", "电话号码", "所属地", "时间", "状态", "联系次数"},
       7,
       false,
       7},
      {u"所有联系",
       {"索引", "姓名", "电话号码", "所属地", "时间", "状态", "联系次数", "内容"},
       8,
       false,
       8},
      {u"日历信息",
       {"索引", "姓名", "电话号码", "号码归属地", "网络类型", "时间", "内容"},
       9,
       true,
       0},
      {u"记事本信息", {"索引", "姓名"}, 2, false, 0},
      {u"邮件来往记录", {"索引", "姓名"}, 2, false, 0},
      {u"微信通讯记录", {"索引", "联系人", "时间", "内容"}, 2, false, 0},
      {u"MSN通讯记录", {"索引", "姓名"}, 2, false, 0},
      {u"QQ聊天记录", {"索引", "姓名"}, 2, false, 0},
      // Created at a ninth of the width, then shared in thirds on resizing.
      {u"文件系统", {"索引", "ID", "大小"}, 9, false, 3},
  }};
  return defs;
}

constexpr std::array kSmsDetail{DetailField{u"短信息号码:", 1}, DetailField{u"短信息时间:", 3},
                                DetailField{u"短信息内容:", 4}};
constexpr std::array kPhoneBookDetail{DetailField{u"姓名:", 1}, DetailField{u"电话号码:", 2}};
constexpr std::array kCallDetail{DetailField{u"姓名:", 1}, DetailField{u"电话号码:", 2},
                                 DetailField{u"联系时间:", 4}, DetailField{u"联系次数:", 6}};
constexpr std::array kContactDetail{DetailField{u"姓名:", 1}, DetailField{u"电话号码:", 2},
                                    DetailField{u"联系时间:", 4}, DetailField{u"联系次数:", 6},
                                    DetailField{u"联系内容:", 7}};

void SetColumnWidths(CMyListCtrl& list, int width, int divisor, bool lastTakesRest) {
  const int columns = list.model()->columnCount();
  const int each = width / divisor;
  for (int column = 0; column < columns; ++column) {
    const bool last = column == columns - 1;
    list.setColumnWidth(column, last && lastTakesRest ? width - column * each : each);
  }
}

}  // namespace

const ResultTabDef& ResultTab(int tab) {
  return TabDefs()[static_cast<size_t>(tab)];
}

std::span<const DetailField> DetailLayout(int tab) {
  switch (tab) {
    case 0:
      return kSmsDetail;
    case 1:
      return kPhoneBookDetail;
    case 2:
      return kCallDetail;
    case 3:
      return kContactDetail;
    default:
      return {};
  }
}

CVelkorRightView::CVelkorRightView(int initialWidth, QWidget* parent) : QWidget(parent) {
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("resultTabs"));
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  tabs_->setTabsClosable(false);
  for (int tab = 0; tab < kRightViewTabCount; ++tab) {
    const ResultTabDef& def = ResultTab(tab);
    auto* list = new CMyListCtrl(def.headers);
    list->setObjectName(QStringLiteral("resultList%1").arg(tab));
    list->SetDetailTarget(this);
    SetColumnWidths(*list, initialWidth, def.creationDivisor, def.lastTakesRest);
    lists_[static_cast<size_t>(tab)] = list;
    tabs_->addTab(list, QString::fromUtf16(def.label));
  }
  resize(initialWidth, height());
}

void CVelkorRightView::SetActiveTab(int tab) {
  RunOnOwnerThread(this, [this, tab] { tabs_->setCurrentIndex(tab); });
}

int CVelkorRightView::ActiveTab() const {
  return tabs_->currentIndex();
}

void CVelkorRightView::SetCommandTarget(TaskCommands* target) {
  for (CMyListCtrl* list : lists_) list->SetCommandTarget(target);
}

void CVelkorRightView::OnShowDetail(int row) {
  if (!detail_) return;
  detail_->ClearDetail();
  const int tab = ActiveTab();
  const std::span<const DetailField> fields = DetailLayout(tab);
  const CMyListCtrl& list = List(tab);
  for (size_t field = 0; field < fields.size(); ++field) {
    const QString value = QString::fromStdU16String(list.GetItemText(row, fields[field].column));
    detail_->AppendDetailText(QString::fromUtf16(fields[field].label), QColor(20, 20, 200),
                              QStringLiteral("黑体"), 10);
    detail_->AppendDetailText(value, QColor(0, 128, 192), QStringLiteral("隶书"), 10);
    // The record ends with its last value; a line end only separates fields.
    if (field + 1 < fields.size()) {
      detail_->AppendDetailText(QStringLiteral("\r\n"), QColor(0, 0, 0),
                                QStringLiteral("Times New Roman"), 1);
    }
  }
}

void CVelkorRightView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int width = event->size().width();
  tabs_->setGeometry(0, 0, width, event->size().height());
  for (int tab = 0; tab < kRightViewTabCount; ++tab) {
    const ResultTabDef& def = ResultTab(tab);
    if (def.resizeDivisor > 0) SetColumnWidths(List(tab), width, def.resizeDivisor, false);
  }
}

}  // namespace velkor
