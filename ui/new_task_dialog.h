// The new-task dialog: which records to look for, the platform, and the image
// file or backup folder.
#pragma once

#include <cstdint>
#include <vector>

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace velkor {

class Prompts;

class NewTaskDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit NewTaskDialog(Prompts& prompts, QWidget* parent = nullptr);

  // What the user confirmed; read after exec() returned Accepted.
  uint32_t recordTypes() const { return recordTypes_; }
  uint8_t platform() const { return platform_; }
  QString imagePath() const { return imagePath_; }
  // Also rebuild deleted rows from freed cells; remembered between runs.
  bool deepScan() const { return deepScan_; }

  void Browse();
  void Confirm();

 private:
  void SelectItunes();
  void ReadPlatform();

  Prompts& prompts_;
  uint32_t recordTypes_ = 0;
  uint8_t platform_ = 0;
  QString imagePath_;
  bool deepScan_ = false;
  QLineEdit* pathEdit_ = nullptr;
  QCheckBox* deepBox_ = nullptr;
  QRadioButton* platforms_[3] = {};
  // With the record-type bit of each.
  std::vector<std::pair<QCheckBox*, uint32_t>> typeBoxes_;
};

}  // namespace velkor
