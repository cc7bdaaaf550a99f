// A label that reads as a hyperlink: underlined, blue, red while the pointer
// is over it, with a hand cursor; a left click opens its target.
#pragma once

#include <functional>

#include <QLabel>
#include <QUrl>

namespace velkor {

class LinkLabel final : public QLabel {
  Q_OBJECT

 public:
  using Opener = std::function<void(const QUrl&)>;

  LinkLabel(const QString& text, const QString& target, QWidget* parent = nullptr);

  // Replaces the desktop's URL handler, for tests.
  void SetOpener(Opener opener) { opener_ = std::move(opener); }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetColour(QColor colour);

  QUrl target_;
  Opener opener_;
};

}  // namespace velkor
