#include "ui/new_task_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include "engine/result_tabs.h"
#include "res/menu_resources.h"
#include "ui/dialog_buttons.h"
#include "ui/prompts.h"
#include "ui/task_texts.h"

namespace velkor {
namespace {

constexpr const char16_t* kBrands[] = {u"三星", u"酷派", u"天宇", u"HTC",
                                       u"华为", u"摩托", u"中兴", u"iphone"};
struct PlatformRadio {
  const char16_t* text;
  const char* name;
};
constexpr PlatformRadio kPlatforms[] = {
    {u"android", "platformAndroid"}, {u"IOS", "platformIos"}, {u"ITUNES备份", "platformItunes"}};
constexpr uint8_t kItunes = 2;
// Ticked when the dialog opens.
constexpr int kFirstTickedBoxes = 3;
const QString kDeepScanKey = QStringLiteral("task/deepScan");

}  // namespace

NewTaskDialog::NewTaskDialog(Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
  setWindowTitle(QStringLiteral("任务"));
  auto* layout = new QVBoxLayout(this);

  auto* types = new QGroupBox(QStringLiteral("任务选项"), this);
  auto* typeGrid = new QGridLayout(types);
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (tab.recordTypeBit == 0) continue;
    const int at = static_cast<int>(typeBoxes_.size());
    auto* box = new QCheckBox(Text(tab.typeBoxText), types);
    box->setObjectName(QStringLiteral("type") + QLatin1String(tab.typeBoxName));
    box->setChecked(at < kFirstTickedBoxes);
    typeGrid->addWidget(box, at / 3, at % 3);
    typeBoxes_.emplace_back(box, tab.recordTypeBit);
  }
  layout->addWidget(types);

  deepBox_ = new QCheckBox(QStringLiteral("深度恢复已删除记录"), this);
  deepBox_->setObjectName(QStringLiteral("deepScan"));
  deepBox_->setChecked(QSettings().value(kDeepScanKey, false).toBool());
  layout->addWidget(deepBox_);

  // Shown for the look of the dialog; nothing enables or reads them.
  auto* brands = new QGroupBox(QStringLiteral("手机品牌"), this);
  auto* brandGrid = new QGridLayout(brands);
  for (int i = 0; i < static_cast<int>(std::size(kBrands)); ++i) {
    auto* radio = new QRadioButton(Text(kBrands[i]), brands);
    radio->setObjectName(QStringLiteral("brand%1").arg(i));
    radio->setEnabled(false);
    brandGrid->addWidget(radio, i / 4, i % 4);
  }
  layout->addWidget(brands);

  // Their own parent keeps them exclusive among themselves only.
  auto* platformRow = new QWidget(this);
  auto* platformLayout = new QHBoxLayout(platformRow);
  platformLayout->setContentsMargins(0, 0, 0, 0);
  for (size_t i = 0; i < std::size(kPlatforms); ++i) {
    platforms_[i] = new QRadioButton(Text(kPlatforms[i].text), platformRow);
    platforms_[i]->setObjectName(QLatin1String(kPlatforms[i].name));
    platformLayout->addWidget(platforms_[i]);
  }
  platforms_[0]->setChecked(true);
  connect(platforms_[kItunes], &QRadioButton::clicked, this, &NewTaskDialog::SelectItunes);
  layout->addWidget(platformRow);

  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(new QLabel(QStringLiteral("路径:"), this));
  pathEdit_ = new QLineEdit(this);
  pathEdit_->setObjectName(QStringLiteral("pathEdit"));
  pathEdit_->setReadOnly(true);
  pathRow->addWidget(pathEdit_, 1);
  auto* browseButton = new QPushButton(QStringLiteral("..."), this);
  browseButton->setObjectName(QStringLiteral("browseButton"));
  browseButton->setAutoDefault(false);
  connect(browseButton, &QPushButton::clicked, this, &NewTaskDialog::Browse);
  pathRow->addWidget(browseButton);
  layout->addLayout(pathRow);

  QPushButton* confirmButton = AddDialogButtons(this, layout, QStringLiteral("关闭"));
  connect(confirmButton, &QPushButton::clicked, this, &NewTaskDialog::Confirm);
}

void NewTaskDialog::SelectItunes() {
  pathEdit_->clear();
  platform_ = kItunes;
}

void NewTaskDialog::ReadPlatform() {
  for (uint8_t i = 0; i < 3; ++i) {
    if (platforms_[i]->isChecked()) {
      platform_ = i;
      return;
    }
  }
}

void NewTaskDialog::Browse() {
  ReadPlatform();
  if (platform_ == kItunes) {
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

void NewTaskDialog::Confirm() {
  recordTypes_ = 0;
  imagePath_ = pathEdit_->text();
  for (const auto& [box, bit] : typeBoxes_) {
    if (box->isChecked()) recordTypes_ |= bit;
  }
  ReadPlatform();
  if (imagePath_.isEmpty()) {
    prompts_.MessageBox(this, QMessageBox::Warning, Text(kCaptionWarning), Text(kPathMissingText),
                        QMessageBox::Ok | QMessageBox::Cancel);
    return;
  }
  // A task that looks for nothing would show an empty tree as if the phone
  // held no records.
  if (recordTypes_ == 0) {
    prompts_.MessageBox(this, QMessageBox::Warning, Text(kCaptionWarning), Text(kNoRecordTypeText),
                        QMessageBox::Ok);
    return;
  }
  deepScan_ = deepBox_->isChecked();
  QSettings().setValue(kDeepScanKey, deepScan_);
  accept();
}

}  // namespace velkor
