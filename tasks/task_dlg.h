// The task dialog: which records to look for, the platform, and the image
// file or backup folder. Confirming also fills the signature templates.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QString>

#include "engine/signature_templates.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace velkor {

class TaskPrompts;

// One record-type check box: its control id, text and bit of m_nRecordTypes.
struct RecordTypeBox {
  int id;
  const char16_t* text;
  uint32_t bit;
};
inline constexpr RecordTypeBox kRecordTypeBoxes[] = {
    {1001, u"短信箱", 0x001}, {1002, u"电话薄", 0x002}, {1003, u"通话记录", 0x004},
    {1005, u"日历", 0x008},   {1006, u"记事本", 0x010}, {1008, u"邮件", 0x020},
    {1007, u"微信", 0x040},   {1004, u"MSN", 0x080},    {1009, u"QQ", 0x100},
};

class CTaskDlg final : public QDialog {
  Q_OBJECT

 public:
  CTaskDlg(TaskPrompts& prompts, QWidget* parent = nullptr);

  uint32_t m_nRecordTypes = 0;
  uint8_t m_nPlatform = 0;
  QString m_strPath;
  SignatureTemplateTable templates{};

  void OnBrowse();
  void OnConfirm();
  void OnSelectITunes();

 private:
  void OnInitDialog();
  void ReadPlatform();

  TaskPrompts& prompts_;
  QLineEdit* pathEdit_ = nullptr;
  QRadioButton* platforms_[3] = {};
  QCheckBox* typeBoxes_[std::size(kRecordTypeBoxes)] = {};
};

}  // namespace velkor
