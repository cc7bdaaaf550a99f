#include "ui/media_scan_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QVBoxLayout>

#include "carving/scan_params.h"
#include "res/menu_resources.h"
#include "ui/dialog_buttons.h"
#include "ui/prompts.h"

namespace velkor {
namespace {

// In the order of their format bits, 0x01 to 0x20.
constexpr const char* kPictureFormats[] = {"JPG", "PNG", "PSD", "TIF", "BMP", "GIF"};
constexpr const char* kVideoFormats[] = {"MP4", "MOV", "AVI", "AMR", "MPG", "MTS"};

QGroupBox* FormatGroup(QWidget* parent, const char16_t* title, const char* const (&formats)[6],
                       QCheckBox* (&boxes)[6]) {
  auto* group = new QGroupBox(Text(title), parent);
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < 6; ++i) {
    boxes[i] = new QCheckBox(QString::fromLatin1(formats[i]), group);
    boxes[i]->setObjectName(QStringLiteral("format") + QLatin1String(formats[i]));
    grid->addWidget(boxes[i], i / 3, i % 3);
  }
  return group;
}

QLineEdit* NumberRow(QWidget* parent, QGridLayout* grid, int row, const char* label,
                     const char* name, const char* unit) {
  grid->addWidget(new QLabel(QString::fromUtf8(label), parent), row, 0);
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  grid->addWidget(edit, row, 1);
  if (unit) grid->addWidget(new QLabel(QString::fromUtf8(unit), parent), row, 2);
  return edit;
}

const QString kStructureLengthsKey = QStringLiteral("scan/structureLengths");
const QString kExtendedSignaturesKey = QStringLiteral("scan/extendedSignatures");

QCheckBox* RememberedBox(QWidget* parent, QVBoxLayout* layout, const char* text, const char* name,
                         const QString& key) {
  auto* box = new QCheckBox(QString::fromUtf8(text), parent);
  box->setObjectName(QLatin1String(name));
  box->setChecked(QSettings().value(key, false).toBool());
  layout->addWidget(box);
  return box;
}

uint32_t MaskOf(QCheckBox* const (&boxes)[6]) {
  uint32_t mask = 0;
  for (int i = 0; i < 6; ++i) {
    if (boxes[i]->isChecked()) mask |= 1u << i;
  }
  return mask;
}

}  // namespace

MediaScanDialog::MediaScanDialog(Prompts& prompts, uint32_t mode, uint64_t imageLength,
                                 QWidget* parent)
    : QDialog(parent), prompts_(prompts), imageLength_(imageLength) {
  params_.mode = mode;
  setWindowTitle(QStringLiteral("扫描"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FormatGroup(this, u"图片格式", kPictureFormats, pictureBoxes_));
  layout->addWidget(FormatGroup(this, u"影片格式", kVideoFormats, videoBoxes_));

  auto* grid = new QGridLayout;
  position_ = NumberRow(this, grid, 0, "位置:", "positionEdit", "扇区");
  size_ = NumberRow(this, grid, 1, "大小:", "sizeEdit", "扇区");
  blockSize_ = NumberRow(this, grid, 2, "块大小:", "blockSizeEdit", "字节");
  fileSize_ = NumberRow(this, grid, 3, "文件大小:", "fileSizeEdit", nullptr);
  layout->addLayout(grid);
  structureLengths_ = RememberedBox(this, layout, "按文件结构确定长度", "structureLengthsBox",
                                    kStructureLengthsKey);
  extendedSignatures_ = RememberedBox(this, layout, "识别常见变体签名", "extendedSignaturesBox",
                                      kExtendedSignaturesKey);

  QPushButton* confirm = AddDialogButtons(this, layout, QStringLiteral("取消"));
  connect(confirm, &QPushButton::clicked, this, &MediaScanDialog::Confirm);

  if (mode == kModePictures) {
    setWindowTitle(QStringLiteral("扫描图片"));
    pictureBoxes_[0]->setChecked(true);
    for (QCheckBox* box : videoBoxes_) box->setEnabled(false);
  } else if (mode == kModeVideos) {
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

void MediaScanDialog::Confirm() {
  const ScanDialogFields fields{position_->text().toStdU16String(), size_->text().toStdU16String(),
                                blockSize_->text().toStdU16String(),
                                fileSize_->text().toStdU16String()};
  const uint32_t mask = MaskOf(params_.mode == kModeVideos ? videoBoxes_ : pictureBoxes_);
  std::optional<MediaScanParams> confirmed =
      ConfirmScanParams(params_.mode, imageLength_, fields, mask);
  // An empty image holds no file; no range of it can be wrong, so it is
  // scanned as the empty range it is.
  if (imageLength_ == 0) {
    confirmed = MediaScanParams{};
    confirmed->mode = params_.mode;
    confirmed->formatMask = mask;
  }
  if (!confirmed) {
    prompts_.MessageBox(this, QMessageBox::Warning, Text(kCaptionWarning),
                        QString::fromStdU16String(std::u16string(kInvalidScanParamsText)),
                        QMessageBox::Ok);
    return;
  }
  params_ = *confirmed;
  params_.structureLengths = structureLengths_->isChecked();
  params_.extendedSignatures = extendedSignatures_->isChecked();
  QSettings settings;
  settings.setValue(kStructureLengthsKey, params_.structureLengths);
  settings.setValue(kExtendedSignaturesKey, params_.extendedSignatures);
  accept();
}

}  // namespace velkor
