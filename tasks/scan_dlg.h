// The scan dialog of a picture or video scan: the formats of the mode, the
// sector range, the block size and the largest file size.
#pragma once

#include <cstdint>

#include <QDialog>

#include "carving/carved_file.h"

class QCheckBox;
class QLineEdit;

namespace velkor {

class TaskPrompts;

class CScanDlg final : public QDialog {
  Q_OBJECT

 public:
  // The caller sets imageLength and params.mode before exec().
  CScanDlg(TaskPrompts& prompts, QWidget* parent = nullptr);

  uint64_t imageLength = 0;
  MediaScanParams params{};

  // Ends the dialog with OK when the fields describe a usable scan;
  // otherwise tells the user and stays open with the values as typed.
  void OnConfirm();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnInitDialog();

  TaskPrompts& prompts_;
  bool prepared_ = false;
  QCheckBox* pictureBoxes_[6] = {};
  QCheckBox* videoBoxes_[6] = {};
  QLineEdit* position_ = nullptr;
  QLineEdit* size_ = nullptr;
  QLineEdit* blockSize_ = nullptr;
  QLineEdit* fileSize_ = nullptr;
};

}  // namespace velkor
