#include "ui/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "res/icons.h"
#include "res/menu_resources.h"
#include "ui/my_static_link.h"

namespace velkor {
namespace {

QLabel* PlainLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), webLink_(new CMyStaticLink), mailLink_(new CMyStaticLink) {
  setObjectName(QStringLiteral("aboutBox"));
  setWindowTitle(QStringLiteral("关于 VelkorForPhone"));

  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(48, 48));
  auto* lines = new QVBoxLayout;
  lines->addWidget(PlainLabel(QStringLiteral("VelkorForPhone 手机数据恢复 1.0 版"), this));
  lines->addWidget(PlainLabel(Text(kStatusProduct), this));

  auto* web = PlainLabel(QStringLiteral("www.ostrel.example"), this);
  web->setObjectName(QStringLiteral("webLink"));
  webLink_->AttachLink(web);
  webLink_->SetLink({}, QStringLiteral("https://www.ostrel.example/"));
  lines->addWidget(web);

  auto* mail = PlainLabel(QStringLiteral("support@ostrel.example"), this);
  mail->setObjectName(QStringLiteral("mailLink"));
  mailLink_->AttachLink(mail);
  mailLink_->SetLink({}, QStringLiteral("mailto:support@ostrel.example"));
  lines->addWidget(mail);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(lines);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}

// The links go before their labels, so no link outlives what it watches.
CAboutDlg::~CAboutDlg() {
  delete webLink_;
  delete mailLink_;
}

}  // namespace velkor
