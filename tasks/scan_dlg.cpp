#include "tasks/scan_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "carving/scan_params.h"
#include "res/menu_resources.h"
#include "tasks/dialog_buttons.h"
#include "tasks/task_prompts.h"

namespace velkor {
namespace {

struct FormatBox {
  int id;
  const char* text;
};
// In the order of their format bits, 0x01 to 0x20.
constexpr FormatBox kPictureBoxes[] = {{1040, "JPG"}, {1041, "PNG"}, {1042, "PSD"},
                                       {1046, "TIF"}, {1043, "BMP"}, {1044, "GIF"}};
constexpr FormatBox kVideoBoxes[] = {{1047, "MP4"}, {1048, "MOV"}, {1049, "AVI"},
                                     {1052, "AMR"}, {1050, "MPG"}, {1051, "MTS"}};

QGroupBox* FormatGroup(QWidget* parent, const char16_t* title, const FormatBox (&defs)[6],
                       QCheckBox* (&boxes)[6]) {
  auto* group = new QGroupBox(Text(title), parent);
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < 6; ++i) {
    boxes[i] = new QCheckBox(QString::fromLatin1(defs[i].text), group);
    boxes[i]->setObjectName(QStringLiteral("check%1").arg(defs[i].id));
    grid->addWidget(boxes[i], i / 3, i % 3);
  }
  return group;
}

QLineEdit* NumberRow(QWidget* parent, QGridLayout* grid, int row, const char* label, int id,
                     const char* unit) {
  grid->addWidget(new QLabel(QString::fromUtf8(label), parent), row, 0);
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QStringLiteral("edit%1").arg(id));
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  grid->addWidget(edit, row, 1);
  if (unit) grid->addWidget(new QLabel(QString::fromUtf8(unit), parent), row, 2);
  return edit;
}

uint32_t MaskOf(QCheckBox* const (&boxes)[6]) {
  uint32_t mask = 0;
  for (int i = 0; i < 6; ++i) {
    if (boxes[i]->isChecked()) mask |= 1u << i;
  }
  return mask;
}

}  // namespace

CScanDlg::CScanDlg(TaskPrompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setWindowTitle(QStringLiteral("扫描"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FormatGroup(this, u"图片格式", kPictureBoxes, pictureBoxes_));
  layout->addWidget(FormatGroup(this, u"影片格式", kVideoBoxes, videoBoxes_));

  auto* grid = new QGridLayout;
  position_ = NumberRow(this, grid, 0, "位置:", 1035, "扇区");
  size_ = NumberRow(this, grid, 1, "大小:", 1036, "扇区");
  blockSize_ = NumberRow(this, grid, 2, "块大小:", 1037, "字节");
  fileSize_ = NumberRow(this, grid, 3, "文件大小:", 1045, nullptr);
  layout->addLayout(grid);

  QPushButton* confirm = AddDialogButtons(this, layout, 1038, 1039, QStringLiteral("取消"));
  connect(confirm, &QPushButton::clicked, this, &CScanDlg::OnConfirm);
}

// The mode and the image length are set after construction, so the dialog
// is prepared when it first shows.
void CScanDlg::showEvent(QShowEvent* event) {
  if (!prepared_) {
    prepared_ = true;
    OnInitDialog();
  }
  QDialog::showEvent(event);
}

void CScanDlg::OnInitDialog() {
  if (params.mode == kModePictures) {
    setWindowTitle(QStringLiteral("扫描图片"));
    pictureBoxes_[0]->setChecked(true);
    for (QCheckBox* box : videoBoxes_) box->setEnabled(false);
  } else if (params.mode == kModeVideos) {
    setWindowTitle(QStringLiteral("扫描影片"));
    videoBoxes_[0]->setChecked(true);
    for (QCheckBox* box : pictureBoxes_) box->setEnabled(false);
  }
  const ScanDialogFields fields = DefaultScanFields(imageLength);
  position_->setText(QString::fromStdU16String(fields.position));
  size_->setText(QString::fromStdU16String(fields.size));
  blockSize_->setText(QString::fromStdU16String(fields.blockSize));
  fileSize_->setText(QString::fromStdU16String(fields.fileSize));
}

void CScanDlg::OnConfirm() {
  const ScanDialogFields fields{position_->text().toStdU16String(), size_->text().toStdU16String(),
                                blockSize_->text().toStdU16String(),
                                fileSize_->text().toStdU16String()};
  const uint32_t mask = MaskOf(params.mode == kModeVideos ? videoBoxes_ : pictureBoxes_);
  const std::optional<MediaScanParams> confirmed =
      ConfirmScanParams(params.mode, imageLength, fields, mask);
  if (!confirmed) {
    prompts_.MessageBox(this, QMessageBox::Warning, Text(kCaptionWarning),
                        QString::fromStdU16String(std::u16string(kInvalidScanParamsText)),
                        QMessageBox::Ok);
    return;
  }
  params = *confirmed;
  accept();
}

}  // namespace velkor
