// The modeless progress dialog of the long operations: a bar and, under it,
// the progress text that the scans keep rewriting.
#pragma once

#include <cstdint>

#include <QDialog>

#include "engine/reporting.h"

class QLabel;
class QProgressBar;

namespace velkor {

class CProgressDlg;

// Hands the progress events of a worker to the dialog. The worker waits until
// the dialog has handled each one; the dialog's own thread calls straight
// through. With drawText false only the bar moves (the carved-file save).
class ProgressDlgSink final : public ProgressSink {
 public:
  ProgressDlgSink(CProgressDlg* dialog, bool drawText) : dialog_(dialog), drawText_(drawText) {}
  void ProgressRange(uint32_t total) override;
  void ProgressPos(uint32_t position) override;
  void ProgressStep() override;

 private:
  CProgressDlg* dialog_;
  bool drawText_;
};

class CProgressDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char16_t* kInitialText = u"正在扫描,请稍等...";

  explicit CProgressDlg(QWidget* parent = nullptr);

  // WM_PROGRESS_RANGE: bar from 0 to total at 0; the step count restarts.
  void OnProgressRange(uint32_t total);
  // WM_PROGRESS_POS: bar at position; the text is redrawn.
  void OnProgressPos(uint32_t position);
  // WM_PROGRESS_STEP: one more step; the bar shows the count.
  void OnProgressStep();
  // Shows the current g_strProgress.
  void DrawProgressText();
  // Bar position without touching the text.
  void SetBarPosition(uint32_t position);

  ProgressSink& Sink() { return sink_; }
  ProgressSink& BarSink() { return barSink_; }
  int32_t StepCount() const { return stepCount_; }
  QProgressBar& Bar() { return *bar_; }
  QLabel& StatusText() { return *text_; }

 private:
  QProgressBar* bar_ = nullptr;
  QLabel* text_ = nullptr;
  int32_t stepCount_ = 0;
  ProgressDlgSink sink_{this, true};
  ProgressDlgSink barSink_{this, false};
};

}  // namespace velkor
