#include "ui/log_pane.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QResizeEvent>
#include <QSaveFile>

#include "res/command_ids.h"
#include "res/menu_resources.h"
#include "ui/log_view.h"
#include "ui/ui_thread.h"

namespace velkor {
namespace {

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

void LogPaneSink::Append(const LogEntry& entry) {
  RunOnOwnerThread(pane_, [this, &entry] { pane_->Append(entry); });
}

LogPane::LogPane(QWidget* parent) : QWidget(parent) {
  list_ = new LogView(this);
  list_->setObjectName(QStringLiteral("logList"));
  list_->Model().SetHeaders(
      {QStringLiteral("标题"), QStringLiteral("时间"), QStringLiteral("提示")});
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this, &LogPane::ShowPopup);

  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("logPopup"));
  for (const MenuItemDef& item : LogPopupDefs()) {
    QAction* action = popup_->addAction(Text(item.text));
    action->setData(item.id);
    if (item.id == ID_LOG_CLEAR) connect(action, &QAction::triggered, this, &LogPane::Clear);
    if (item.id == ID_LOG_SAVE) connect(action, &QAction::triggered, this, &LogPane::AskAndSave);
  }
  FitColumns(width());
}

void LogPane::Append(const LogEntry& entry) {
  LogModel& model = list_->Model();
  const int row = model.InsertRow(rowCounter_, QString::fromStdU16String(entry.title));
  model.SetCellText(row, 1,
                    QDateTime::currentDateTime().toString(QString::fromLatin1(kTimeFormat)));
  model.SetCellText(row, 2, QString::fromStdU16String(entry.text));
  QRgb colour = 0;
  if (LogLevelColour(entry.level, &colour)) {
    for (int column = 0; column < 3; ++column) model.SetCellColour(row, column, colour);
  }
  // Lay the list out first: a row past the old end is not reachable by the
  // scroll bar until its range has grown.
  list_->doItemsLayout();
  list_->scrollTo(list_->model()->index(row, 0), QAbstractItemView::EnsureVisible);
  if (++rowCounter_ == kRowLimit) Clear();
}

void LogPane::Clear() {
  list_->Model().Clear();
  rowCounter_ = 0;
}

void LogPane::AskAndSave() {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({QStringLiteral("Log Files (*.log)"), QStringLiteral("All Files (*.*)")});
  dialog.setDefaultSuffix(QStringLiteral("log"));
  dialog.selectFile(QStringLiteral("velkor.log"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveTo(dialog.selectedFiles().constFirst());
}

void LogPane::SaveTo(const QString& path) {
  QString why;
  if (WriteFile(path, &why)) return;
  QMessageBox box(QMessageBox::Warning, Text(kCaptionWarning),
                  QStringLiteral("保存日志失败: %1\n%2").arg(path, why), QMessageBox::Ok, this);
  // A path is shown as it is, never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool LogPane::WriteFile(const QString& path, QString* why) const {
  // Written beside the target and renamed over it at the end, so a failed
  // save never leaves a cut-off log in place of the previous file.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    *why = file.errorString();
    return false;
  }
  const QByteArray bytes = FileBytes();
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    *why = file.errorString();
    file.cancelWriting();
    return false;
  }
  return true;
}

QByteArray LogPane::FileBytes() const {
  QByteArray bytes("\xFF\xFE", 2);
  const LogModel& model = list_->Model();
  for (int row = 0; row < model.rowCount(); ++row) {
    AppendUtf16Le(bytes, model.CellText(row, 0) + u'\t' + model.CellText(row, 1) + u'\t' +
                             model.CellText(row, 2) + QStringLiteral("\r\n"));
  }
  return bytes;
}

void LogPane::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  list_->setGeometry(0, 0, event->size().width(), event->size().height());
  FitColumns(event->size().width());
}

void LogPane::ShowPopup(const QPoint& pos) {
  if (!list_->selectionModel()->hasSelection()) return;
  popup_->popup(list_->viewport()->mapToGlobal(pos));
}

void LogPane::FitColumns(int width) {
  for (int column = 0; column < 3; ++column) list_->setColumnWidth(column, width / 3);
}

}  // namespace velkor
