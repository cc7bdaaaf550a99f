#include "ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "res/icons.h"
#include "res/menu_resources.h"
#include "ui/link_label.h"

namespace velkor {
namespace {

QLabel* PlainLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutBox"));
  setWindowTitle(QStringLiteral("关于 VelkorForPhone"));

  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(48, 48));
  auto* lines = new QVBoxLayout;
  lines->addWidget(PlainLabel(QStringLiteral("VelkorForPhone 手机数据恢复 1.0 版"), this));
  lines->addWidget(PlainLabel(Text(kStatusProduct), this));

  webLink_ = new LinkLabel(QStringLiteral("www.ostrel.example"),
                           QStringLiteral("https://www.ostrel.example/"), this);
  webLink_->setObjectName(QStringLiteral("webLink"));
  lines->addWidget(webLink_);
  mailLink_ = new LinkLabel(QStringLiteral("support@ostrel.example"),
                            QStringLiteral("mailto:support@ostrel.example"), this);
  mailLink_->setObjectName(QStringLiteral("mailLink"));
  lines->addWidget(mailLink_);

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

}  // namespace velkor
