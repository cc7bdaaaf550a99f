#include "ui/progress_dialog.h"

#include <algorithm>
#include <limits>

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
  done_ = new QLabel(this);
  done_->setObjectName(QStringLiteral("progressDone"));
  layout->addWidget(done_);
  text_ = new QLabel(QString::fromUtf16(kInitialText), this);
  text_->setObjectName(QStringLiteral("progressText"));
  // The text comes from the scans and may quote the image: never markup.
  text_->setTextFormat(Qt::PlainText);
  text_->setStyleSheet(QStringLiteral("background-color: #E1E1E1;"));
  layout->addWidget(text_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  stop_ = new QPushButton(QStringLiteral("停止"), this);
  stop_->setObjectName(QStringLiteral("stopButton"));
  stop_->setAutoDefault(false);
  connect(stop_, &QPushButton::clicked, this, &ProgressDialog::RequestStop);
  buttons->addWidget(stop_);
  layout->addLayout(buttons);
  resize(336, 81);
  SetRange(0);
}

void ProgressDialog::ShowProgress(const QString& title, ProgressUnit unit) {
  unit_ = unit;
  stop_->setEnabled(true);
  SetRange(0);
  show();
  setWindowTitle(title);
}

void ProgressDialog::CloseProgress() {
  hide();
}

// Esc.
void ProgressDialog::reject() {
  RequestStop();
}

// The window's close button.
void ProgressDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  RequestStop();
}

// The job ends at its next check; the dialog stays until it has.
void ProgressDialog::RequestStop() {
  stop_->setEnabled(false);
  if (stopTarget_) stopTarget_->Stop();
}

void ProgressDialog::ShowDone() {
  const qint64 total = bar_->maximum();
  const qint64 done = std::min<qint64>(bar_->value(), total);
  const QString amount = unit_ == ProgressUnit::kWindows
                             ? QStringLiteral("%1 / %2 MiB").arg(done).arg(total)
                             : QStringLiteral("%1 / %2 个文件").arg(done).arg(total);
  done_->setText(QStringLiteral("%1%  %2").arg(done * 100 / std::max<qint64>(total, 1)).arg(amount));
}

void ProgressDialog::SetRange(uint32_t total) {
  // A range of 0 to 0 would make the bar a busy indicator; an empty bar is
  // what a total of 0 means.
  bar_->setRange(0, std::max(1, BarValue(total)));
  bar_->setValue(0);
  stepCount_ = 0;
  ShowDone();
}

void ProgressDialog::SetPosition(uint32_t position) {
  bar_->setValue(std::min(BarValue(position), bar_->maximum()));
  ShowDone();
}

void ProgressDialog::Step() {
  if (stepCount_ < std::numeric_limits<int32_t>::max()) ++stepCount_;
  bar_->setValue(std::min(stepCount_, bar_->maximum()));
  ShowDone();
}

void ProgressDialog::SetText(const QString& text) {
  text_->setText(text);
}

}  // namespace velkor
