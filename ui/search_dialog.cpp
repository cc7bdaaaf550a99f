#include "ui/search_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "res/menu_resources.h"
#include "ui/dialog_buttons.h"
#include "ui/prompts.h"
#include "ui/task_texts.h"

namespace velkor {
namespace {

QRadioButton* AddRadio(QGroupBox* group, QLayout* layout, const char* text, const char* name) {
  auto* radio = new QRadioButton(QString::fromUtf8(text), group);
  radio->setObjectName(QLatin1String(name));
  layout->addWidget(radio);
  return radio;
}

}  // namespace

SearchDialog::SearchDialog(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setWindowTitle(QStringLiteral("搜索"));
  auto* layout = new QVBoxLayout(this);

  auto* source = new QGroupBox(QStringLiteral("搜索源"), this);
  auto* sourceLayout = new QHBoxLayout(source);
  inResults_ = AddRadio(source, sourceLayout, "结果中搜索", "sourceResults");
  inImage_ = AddRadio(source, sourceLayout, "镜像文件中搜索", "sourceImage");
  layout->addWidget(source);

  auto* encoding = new QGroupBox(QStringLiteral("编码"), this);
  auto* encodingLayout = new QHBoxLayout(encoding);
  utf8_ = AddRadio(encoding, encodingLayout, "UTF-8", "encodingUtf8");
  ascii_ = AddRadio(encoding, encodingLayout, "ASCII", "encodingAscii");
  unicode_ = AddRadio(encoding, encodingLayout, "UNICODE", "encodingUnicode");
  layout->addWidget(encoding);

  auto* textRow = new QHBoxLayout;
  textRow->addWidget(new QLabel(QStringLiteral("搜索文本:"), this));
  text_ = new QLineEdit(this);
  text_->setObjectName(QStringLiteral("searchEdit"));
  textRow->addWidget(text_, 1);
  layout->addLayout(textRow);

  QPushButton* confirm = AddDialogButtons(this, layout, QStringLiteral("关闭"));
  connect(confirm, &QPushButton::clicked, this, &SearchDialog::Confirm);

  inResults_->setChecked(true);
  utf8_->setChecked(true);
}

SearchSource SearchDialog::source() const {
  return inImage_->isChecked() ? SearchSource::kImage : SearchSource::kResults;
}

SearchEncoding SearchDialog::encoding() const {
  if (ascii_->isChecked()) return SearchEncoding::kAscii;
  if (unicode_->isChecked()) return SearchEncoding::kUtf16Le;
  return SearchEncoding::kUtf8;
}

QString SearchDialog::searchText() const {
  return text_->text();
}

void SearchDialog::Confirm() {
  const QString text = searchText();
  const char16_t* why = nullptr;
  if (text.isEmpty()) {
    why = kNoSearchText;
  } else if (source() == SearchSource::kImage &&
             !SearchPattern(text.toStdU16String(), encoding())) {
    why = kNotAsciiText;
  }
  if (why) {
    prompts_.MessageBox(this, QMessageBox::Warning, Text(kCaptionWarning), Text(why),
                        QMessageBox::Ok);
    return;
  }
  accept();
}

}  // namespace velkor
