#include "tasks/left_dlg.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QResizeEvent>
#include <QSaveFile>

#include "res/command_ids.h"
#include "res/menu_resources.h"
#include "ui/tf_color_list_ctrl.h"
#include "ui/ui_thread.h"

namespace velkor {
namespace {

constexpr int kLogListId = 6;
constexpr const char* kTimeFormat = "yyyy-MM-dd HH:mm:ss";

void AppendUtf16Le(QByteArray& bytes, const QString& text) {
  for (const QChar unit : text) {
    const char16_t code = unit.unicode();
    bytes.append(static_cast<char>(code & 0xFF));
    bytes.append(static_cast<char>(code >> 8));
  }
}

}  // namespace

bool LogLevelColour(uint8_t level, QRgb* colour) {
  switch (level) {
    case 0:
      *colour = qRgb(0, 0, 0);
      return true;
    case 1:
      *colour = qRgb(0, 255, 0);
      return true;
    case 2:
      *colour = qRgb(200, 65, 20);
      return true;
    case 3:
      *colour = qRgb(255, 0, 0);
      return true;
    default:
      return false;
  }
}

void LogWindowSink::Append(const LogEntry& entry) {
  RunOnOwnerThread(pane_, [this, &entry] { pane_->OnLogAppend(entry); });
}

CLeftDlg::CLeftDlg(QWidget* parent) : QWidget(parent) {
  list_ = new TFColorListCtrl(this);
  list_->setObjectName(QStringLiteral("logList%1").arg(kLogListId));
  list_->SetHeaders({QStringLiteral("标题"), QStringLiteral("时间"), QStringLiteral("提示")});
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this, &CLeftDlg::OnListContextMenu);

  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("logPopup"));
  for (const MenuItemDef& item : LogPopupDefs()) {
    QAction* action = popup_->addAction(Text(item.text));
    action->setData(item.id);
    if (item.id == ID_LOG_CLEAR) connect(action, &QAction::triggered, this, &CLeftDlg::OnClearLog);
    if (item.id == ID_LOG_SAVE) connect(action, &QAction::triggered, this, &CLeftDlg::OnSaveLog);
  }
  FitColumns(width());
}

void CLeftDlg::OnLogAppend(const LogEntry& entry) {
  const int row = list_->InsertColorRow(rowCounter_, QString::fromStdU16String(entry.title));
  list_->SetItemText(row, 1,
                     QDateTime::currentDateTime().toString(QString::fromLatin1(kTimeFormat)));
  list_->SetItemText(row, 2, QString::fromStdU16String(entry.text));
  QRgb colour = 0;
  if (LogLevelColour(entry.level, &colour)) {
    for (int column = 0; column < 3; ++column) list_->SetCellTextColor(row, column, colour);
  }
  // Lay the list out first: a row past the old end is not reachable by the
  // scroll bar until its range has grown.
  list_->doItemsLayout();
  list_->scrollTo(list_->model()->index(row, 0), QAbstractItemView::EnsureVisible);
  if (++rowCounter_ == kRowLimit) OnClearLog();
}

void CLeftDlg::OnClearLog() {
  list_->DeleteAllColorRows();
  rowCounter_ = 0;
}

void CLeftDlg::OnSaveLog() {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({QStringLiteral("Log Files (*.log)"), QStringLiteral("All Files (*.*)")});
  dialog.setDefaultSuffix(QStringLiteral("log"));
  dialog.selectFile(QStringLiteral("velkor.log"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveLogFile(dialog.selectedFiles().constFirst());
}

void CLeftDlg::SaveLogFile(const QString& path) {
  QString why;
  if (WriteLogFile(path, &why)) return;
  QMessageBox box(QMessageBox::Warning, Text(kCaptionWarning),
                  QStringLiteral("保存日志失败: %1\n%2").arg(path, why), QMessageBox::Ok, this);
  // A path is shown as it is, never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool CLeftDlg::WriteLogFile(const QString& path, QString* why) const {
  // Written beside the target and renamed over it at the end, so a failed
  // save never leaves a cut-off log in place of the previous file.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    *why = file.errorString();
    return false;
  }
  const QByteArray bytes = LogFileBytes();
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    *why = file.errorString();
    file.cancelWriting();
    return false;
  }
  return true;
}

QByteArray CLeftDlg::LogFileBytes() const {
  QByteArray bytes("\xFF\xFE", 2);
  const int rows = list_->GetItemCount();
  for (int row = 0; row < rows; ++row) {
    AppendUtf16Le(bytes, list_->GetItemText(row, 0) + u'\t' + list_->GetItemText(row, 1) + u'\t' +
                             list_->GetItemText(row, 2) + QStringLiteral("\r\n"));
  }
  return bytes;
}

void CLeftDlg::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  list_->setGeometry(0, 0, event->size().width(), event->size().height());
  FitColumns(event->size().width());
}

void CLeftDlg::OnListContextMenu(const QPoint& pos) {
  if (!list_->selectionModel()->hasSelection()) return;
  popup_->popup(list_->viewport()->mapToGlobal(pos));
}

void CLeftDlg::FitColumns(int width) {
  for (int column = 0; column < 3; ++column) list_->setColumnWidth(column, width / 3);
}

}  // namespace velkor
