#include "tasks/progress_dlg.h"

#include <algorithm>
#include <limits>

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "engine/app_state.h"
#include "ui/ui_thread.h"

namespace velkor {
namespace {

int BarValue(uint32_t value) {
  return static_cast<int>(std::min<uint32_t>(value, std::numeric_limits<int>::max()));
}

}  // namespace

void ProgressDlgSink::ProgressRange(uint32_t total) {
  RunOnOwnerThread(dialog_, [this, total] { dialog_->OnProgressRange(total); });
}

void ProgressDlgSink::ProgressPos(uint32_t position) {
  RunOnOwnerThread(dialog_, [this, position] {
    if (drawText_) {
      dialog_->OnProgressPos(position);
    } else {
      dialog_->SetBarPosition(position);
    }
  });
}

void ProgressDlgSink::ProgressStep() {
  RunOnOwnerThread(dialog_, [this] { dialog_->OnProgressStep(); });
}

CProgressDlg::CProgressDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("进度信息"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("progress1024"));
  bar_->setTextVisible(false);
  layout->addWidget(bar_);
  text_ = new QLabel(QString::fromUtf16(kInitialText), this);
  text_->setObjectName(QStringLiteral("static1026"));
  // The text comes from the scans and may quote the image: never markup.
  text_->setTextFormat(Qt::PlainText);
  text_->setStyleSheet(QStringLiteral("background-color: #E1E1E1;"));
  layout->addWidget(text_);
  resize(336, 81);
  OnProgressRange(0);
}

void CProgressDlg::OnProgressRange(uint32_t total) {
  // A range of 0 to 0 would make the bar a busy indicator; an empty bar is
  // what a total of 0 means.
  bar_->setRange(0, std::max(1, BarValue(total)));
  bar_->setValue(0);
  stepCount_ = 0;
}

void CProgressDlg::OnProgressPos(uint32_t position) {
  SetBarPosition(position);
  DrawProgressText();
}

void CProgressDlg::OnProgressStep() {
  if (stepCount_ < std::numeric_limits<int32_t>::max()) ++stepCount_;
  bar_->setValue(std::min(stepCount_, bar_->maximum()));
  DrawProgressText();
}

void CProgressDlg::SetBarPosition(uint32_t position) {
  // Past the end the bar stays full instead of ignoring the value.
  bar_->setValue(std::min(BarValue(position), bar_->maximum()));
}

void CProgressDlg::DrawProgressText() {
  text_->setText(QString::fromStdU16String(g_strProgress.Get()));
}

}  // namespace velkor
