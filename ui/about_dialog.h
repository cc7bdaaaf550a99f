// The About box: the program's name and version and two link lines.
#pragma once

#include <QDialog>

namespace velkor {

class LinkLabel;

class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);

  LinkLabel& WebLink() { return *webLink_; }
  LinkLabel& MailLink() { return *mailLink_; }

 private:
  LinkLabel* webLink_ = nullptr;
  LinkLabel* mailLink_ = nullptr;
};

}  // namespace velkor
