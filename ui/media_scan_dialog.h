// The scan dialog of a picture or video scan: the formats of the mode, the
// sector range, the block size and the largest file size, and two remembered
// choices: lengths from each file's structure and the extended signatures.
#pragma once

#include <cstdint>

#include <QDialog>

#include "carving/carved_file.h"

class QCheckBox;
class QLineEdit;

namespace velkor {

class Prompts;

class MediaScanDialog final : public QDialog {
  Q_OBJECT

 public:
  // mode is kModePictures or kModeVideos; the fields start with the defaults
  // for an image of imageLength bytes.
  MediaScanDialog(Prompts& prompts, uint32_t mode, uint64_t imageLength, QWidget* parent = nullptr);

  // What the user confirmed; read after exec() returned Accepted.
  const MediaScanParams& params() const { return params_; }

  // Ends the dialog with OK when the fields describe a usable scan;
  // otherwise tells the user and stays open with the values as typed.
  void Confirm();

 private:
  Prompts& prompts_;
  uint64_t imageLength_;
  MediaScanParams params_{};
  QCheckBox* pictureBoxes_[6] = {};
  QCheckBox* videoBoxes_[6] = {};
  QLineEdit* position_ = nullptr;
  QLineEdit* size_ = nullptr;
  QLineEdit* blockSize_ = nullptr;
  QLineEdit* fileSize_ = nullptr;
  QCheckBox* structureLengths_ = nullptr;
  QCheckBox* extendedSignatures_ = nullptr;
};

}  // namespace velkor
