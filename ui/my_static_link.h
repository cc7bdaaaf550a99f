// Turns a label into a hyperlink: underlined, blue, red while the mouse is
// over it, with a hand cursor; a click opens the link's target.
#pragma once

#include <functional>

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QLabel;

namespace velkor {

class CMyStaticLink : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxDisplayText = 31;
  static constexpr int kMaxTarget = 1023;
  using Opener = std::function<void(const QUrl&)>;

  CMyStaticLink();
  ~CMyStaticLink() override;

  // False for a null label or when a label is attached already.
  bool AttachLink(QLabel* control);
  // Returns the label that was attached, or null.
  QLabel* DetachLink();
  // False, changing nothing, when a text is too long. An empty display text
  // draws the label's own text; an empty target opens it.
  bool SetLink(const QString& displayText, const QString& target);

  bool IsHovering() const { return hovering_; }
  QColor TextColour() const;
  QString TextToDraw() const;
  QString TargetToOpen() const;
  // Replaces the desktop's URL handler, for tests.
  void SetOpener(Opener opener) { opener_ = std::move(opener); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Paint();
  void SetHovering(bool hovering);

  QPointer<QLabel> control_;
  bool hovering_ = false;
  QString displayText_;
  QString target_;
  Opener opener_;
};

}  // namespace velkor
