#include "tasks/task_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "res/menu_resources.h"
#include "tasks/dialog_buttons.h"
#include "tasks/task_prompts.h"
#include "tasks/task_texts.h"

namespace velkor {
namespace {

struct BrandRadio {
  int id;
  const char16_t* text;
};
constexpr BrandRadio kBrands[] = {{1025, u"三星"}, {1027, u"酷派"},  {1028, u"天宇"},
                                  {1029, u"HTC"},  {1031, u"华为"},  {1026, u"摩托"},
                                  {1030, u"中兴"}, {1032, u"iphone"}};
constexpr BrandRadio kPlatforms[] = {{1033, u"android"}, {1034, u"IOS"}, {1035, u"ITUNES备份"}};

QString ControlName(const char* kind, int id) {
  return QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(id);
}

}  // namespace

CTaskDlg::CTaskDlg(TaskPrompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setWindowTitle(QStringLiteral("任务"));
  auto* layout = new QVBoxLayout(this);

  auto* types = new QGroupBox(QStringLiteral("任务选项"), this);
  auto* typeGrid = new QGridLayout(types);
  for (size_t i = 0; i < std::size(kRecordTypeBoxes); ++i) {
    auto* box = new QCheckBox(Text(kRecordTypeBoxes[i].text), types);
    box->setObjectName(ControlName("check", kRecordTypeBoxes[i].id));
    typeGrid->addWidget(box, static_cast<int>(i / 3), static_cast<int>(i % 3));
    typeBoxes_[i] = box;
  }
  layout->addWidget(types);

  // Shown for the look of the dialog; nothing enables or reads them.
  auto* brands = new QGroupBox(QStringLiteral("手机品牌"), this);
  auto* brandGrid = new QGridLayout(brands);
  for (size_t i = 0; i < std::size(kBrands); ++i) {
    auto* radio = new QRadioButton(Text(kBrands[i].text), brands);
    radio->setObjectName(ControlName("radio", kBrands[i].id));
    radio->setEnabled(false);
    brandGrid->addWidget(radio, static_cast<int>(i / 4), static_cast<int>(i % 4));
  }
  layout->addWidget(brands);

  // Their own parent keeps them exclusive among themselves only.
  auto* platformRow = new QWidget(this);
  auto* platformLayout = new QHBoxLayout(platformRow);
  platformLayout->setContentsMargins(0, 0, 0, 0);
  for (size_t i = 0; i < std::size(kPlatforms); ++i) {
    platforms_[i] = new QRadioButton(Text(kPlatforms[i].text), platformRow);
    platforms_[i]->setObjectName(ControlName("radio", kPlatforms[i].id));
    platformLayout->addWidget(platforms_[i]);
  }
  connect(platforms_[2], &QRadioButton::clicked, this, &CTaskDlg::OnSelectITunes);
  layout->addWidget(platformRow);

  auto* pathRow = new QHBoxLayout;
  auto* pathLabel = new QLabel(QStringLiteral("路径:"), this);
  pathRow->addWidget(pathLabel);
  pathEdit_ = new QLineEdit(this);
  pathEdit_->setObjectName(ControlName("edit", 1012));
  pathEdit_->setReadOnly(true);
  pathRow->addWidget(pathEdit_, 1);
  auto* browse = new QPushButton(QStringLiteral("..."), this);
  browse->setObjectName(ControlName("button", 1013));
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, &CTaskDlg::OnBrowse);
  pathRow->addWidget(browse);
  layout->addLayout(pathRow);

  QPushButton* confirm = AddDialogButtons(this, layout, 1010, 1011, QStringLiteral("关闭"));
  connect(confirm, &QPushButton::clicked, this, &CTaskDlg::OnConfirm);

  OnInitDialog();
}

void CTaskDlg::OnInitDialog() {
  for (size_t i = 0; i < 3; ++i) typeBoxes_[i]->setChecked(true);
  platforms_[0]->setChecked(true);
  m_nPlatform = 0;
}

void CTaskDlg::OnSelectITunes() {
  pathEdit_->clear();
  m_nPlatform = 2;
}

void CTaskDlg::ReadPlatform() {
  for (uint8_t i = 0; i < 3; ++i) {
    if (platforms_[i]->isChecked()) {
      m_nPlatform = i;
      return;
    }
  }
}

void CTaskDlg::OnBrowse() {
  ReadPlatform();
  if (m_nPlatform == 2) {
    // A cancelled choice empties the box: no folder is chosen.
    const std::optional<QString> folder = prompts_.FolderName(this, Text(kFolderTitle));
    pathEdit_->setText(folder ? DropTrailingSeparator(*folder) : QString());
    return;
  }
  const std::optional<QString> file = prompts_.OpenFileName(
      this,
      {QStringLiteral("Vmdk Files (*.vmdk)"), QStringLiteral("IMG Files (*.img)"),
       QStringLiteral("DSK Files (*.dsk)"), QStringLiteral("All Files (*.*)")},
      QStringLiteral("vmdk"));
  if (file) pathEdit_->setText(*file);
}

void CTaskDlg::OnConfirm() {
  m_nRecordTypes = 0;
  m_strPath = pathEdit_->text();
  for (size_t i = 0; i < std::size(kRecordTypeBoxes); ++i) {
    if (typeBoxes_[i]->isChecked()) m_nRecordTypes |= kRecordTypeBoxes[i].bit;
  }
  ReadPlatform();
  FillSignatureTemplates(templates);
  if (m_strPath.isEmpty()) {
    prompts_.MessageBox(this, QMessageBox::Warning, Text(kCaptionWarning), Text(kPathMissingText),
                        QMessageBox::Ok | QMessageBox::Cancel);
    return;
  }
  accept();
}

}  // namespace velkor
