// The modeless progress dialog of the long operations: a bar, how much is
// done, the progress text that the scans keep rewriting, and Stop. It stays
// up until the job ends: Esc and the window's close button ask the job to
// stop instead of hiding a job that still runs.
#pragma once

#include <cstdint>

#include <QDialog>

#include "ui/task_commands.h"
#include "ui/task_views.h"

class QLabel;
class QPushButton;
class QProgressBar;

namespace velkor {

class ProgressDialog;

// Hands the progress events of a worker to the dialog. The worker waits until
// the dialog has handled each one; the dialog's own thread calls straight
// through.
class ProgressDialogSink final : public ProgressSink {
 public:
  explicit ProgressDialogSink(ProgressDialog* dialog) : dialog_(dialog) {}
  void ProgressRange(uint32_t total) override;
  void ProgressPos(uint32_t position) override;
  void ProgressStep() override;
  void ProgressText(std::u16string_view text) override;

 private:
  ProgressDialog* dialog_;
};

class ProgressDialog final : public QDialog, public ProgressView {
  Q_OBJECT

 public:
  static constexpr const char16_t* kInitialText = u"正在扫描,请稍等...";

  explicit ProgressDialog(QWidget* parent = nullptr);

  void ShowProgress(const QString& title, ProgressUnit unit) override;
  void CloseProgress() override;
  // Where Stop, Esc and the close button send their request.
  void SetStopTarget(TaskCommands* target) { stopTarget_ = target; }
  ProgressSink& Sink() override { return sink_; }

  // Bar from 0 to total at 0; the step count restarts.
  void SetRange(uint32_t total);
  // Bar at position, full past the end.
  void SetPosition(uint32_t position);
  // One more step; the bar shows the count.
  void Step();
  // Shown as plain text.
  void SetText(const QString& text);

  int32_t StepCount() const { return stepCount_; }
  QProgressBar& Bar() { return *bar_; }
  QLabel& StatusText() { return *text_; }
  // "NN%" and the part done of the whole, in MiB or files.
  QLabel& DoneText() { return *done_; }

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void RequestStop();
  void ShowDone();

  QProgressBar* bar_ = nullptr;
  QLabel* done_ = nullptr;
  QLabel* text_ = nullptr;
  QPushButton* stop_ = nullptr;
  TaskCommands* stopTarget_ = nullptr;
  ProgressUnit unit_ = ProgressUnit::kWindows;
  int32_t stepCount_ = 0;
  ProgressDialogSink sink_{this};
};

}  // namespace velkor
