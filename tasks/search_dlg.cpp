#include "tasks/search_dlg.h"

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

QRadioButton* AddRadio(QGroupBox* group, QLayout* layout, const char* text, int id) {
  auto* radio = new QRadioButton(QString::fromUtf8(text), group);
  radio->setObjectName(QStringLiteral("radio%1").arg(id));
  layout->addWidget(radio);
  return radio;
}

}  // namespace

CSearchDlg::CSearchDlg(TaskPrompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setWindowTitle(QStringLiteral("搜索"));
  auto* layout = new QVBoxLayout(this);

  auto* source = new QGroupBox(QStringLiteral("搜索源"), this);
  auto* sourceLayout = new QHBoxLayout(source);
  inResults_ = AddRadio(source, sourceLayout, "结果中搜索", 1018);
  inImage_ = AddRadio(source, sourceLayout, "镜像文件中搜索", 1017);
  layout->addWidget(source);

  auto* encoding = new QGroupBox(QStringLiteral("编码"), this);
  auto* encodingLayout = new QHBoxLayout(encoding);
  utf8_ = AddRadio(encoding, encodingLayout, "UTF-8", 1025);
  ascii_ = AddRadio(encoding, encodingLayout, "ASCII", 1022);
  unicode_ = AddRadio(encoding, encodingLayout, "UNICODE", 1023);
  layout->addWidget(encoding);

  auto* textRow = new QHBoxLayout;
  textRow->addWidget(new QLabel(QStringLiteral("搜索文本:"), this));
  text_ = new QLineEdit(this);
  text_->setObjectName(QStringLiteral("edit1019"));
  textRow->addWidget(text_, 1);
  layout->addLayout(textRow);

  QPushButton* confirm = AddDialogButtons(this, layout, 1020, 1021, QStringLiteral("关闭"));
  connect(confirm, &QPushButton::clicked, this, &CSearchDlg::OnConfirm);

  inResults_->setChecked(true);
  utf8_->setChecked(true);
}

SearchSource CSearchDlg::Source() const {
  return inImage_->isChecked() ? SearchSource::kImage : SearchSource::kResults;
}

SearchEncoding CSearchDlg::Encoding() const {
  if (ascii_->isChecked()) return SearchEncoding::kAscii;
  if (unicode_->isChecked()) return SearchEncoding::kUtf16Le;
  return SearchEncoding::kUtf8;
}

QString CSearchDlg::SearchText() const {
  return text_->text();
}

void CSearchDlg::OnConfirm() {
  const QString text = SearchText();
  const char16_t* why = nullptr;
  if (text.isEmpty()) {
    why = kNoSearchText;
  } else if (Source() == SearchSource::kImage &&
             !SearchPattern(text.toStdU16String(), Encoding())) {
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
