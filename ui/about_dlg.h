// The About box: the program's name and version and two link lines.
#pragma once

#include <QDialog>

namespace velkor {

class CMyStaticLink;

class CAboutDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
  ~CAboutDlg() override;

  CMyStaticLink& WebLink() { return *webLink_; }
  CMyStaticLink& MailLink() { return *mailLink_; }

 private:
  CMyStaticLink* webLink_ = nullptr;
  CMyStaticLink* mailLink_ = nullptr;
};

}  // namespace velkor
