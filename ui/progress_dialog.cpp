#include "ui/progress_dialog.h"

#include <algorithm>
#include <limits>

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "res/menu_resources.h"
#include "ui/ui_thread.h"

namespace velkor {
namespace {

int BarValue(uint32_t value) {
  return static_cast<int>(std::min<uint32_t>(value, std::numeric_limits<int>::max()));
}

}  // namespace

void ProgressDialogSink::ProgressRange(uint32_t total) {
  RunOnOwnerThread(dialog_, [this, total] { dialog_->SetRange(total); });
}

void ProgressDialogSink::ProgressPos(uint32_t position) {
  RunOnOwnerThread(dialog_, [this, position] { dialog_->SetPosition(position); });
}

void ProgressDialogSink::ProgressStep() {
  RunOnOwnerThread(dialog_, [this] { dialog_->Step(); });
}

void ProgressDialogSink::ProgressText(std::u16string_view text) {
  const QString shown = Text(text);
  RunOnOwnerThread(dialog_, [this, &shown] { dialog_->SetText(shown); });
}

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("进度信息"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("progressBar"));
  bar_->setTextVisible(false);
  layout->addWidget(bar_);
  text_ = new QLabel(QString::fromUtf16(kInitialText), this);
  text_->setObjectName(QStringLiteral("progressText"));
  // The text comes from the scans and may quote the image: never markup.
  text_->setTextFormat(Qt::PlainText);
  text_->setStyleSheet(QStringLiteral("background-color: #E1E1E1;"));
  layout->addWidget(text_);
  resize(336, 81);
  SetRange(0);
}

void ProgressDialog::ShowProgress(const QString& title) {
  show();
  setWindowTitle(title);
}

void ProgressDialog::CloseProgress() {
  close();
}

void ProgressDialog::SetRange(uint32_t total) {
  // A range of 0 to 0 would make the bar a busy indicator; an empty bar is
  // what a total of 0 means.
  bar_->setRange(0, std::max(1, BarValue(total)));
  bar_->setValue(0);
  stepCount_ = 0;
}

void ProgressDialog::SetPosition(uint32_t position) {
  bar_->setValue(std::min(BarValue(position), bar_->maximum()));
}

void ProgressDialog::Step() {
  if (stepCount_ < std::numeric_limits<int32_t>::max()) ++stepCount_;
  bar_->setValue(std::min(stepCount_, bar_->maximum()));
}

void ProgressDialog::SetText(const QString& text) {
  text_->setText(text);
}

}  // namespace velkor
