// The detail pane: one record as runs of labelled, coloured text. Every run
// goes in as plain text, so a recovered message that looks like markup shows
// exactly as it was found.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

class QTextEdit;

namespace velkor {

class DetailPane final : public QWidget {
  Q_OBJECT

 public:
  explicit DetailPane(QWidget* parent = nullptr);

  // Appends one run at the end of the text, in the given colour, face and
  // whole point size, never bold, italic or underlined.
  void AppendRun(const QString& text, QColor colour, const QString& face, int pointSize);
  void Clear();
  QString Text() const;
  QTextEdit& Edit() { return *richEdit_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTextEdit* richEdit_ = nullptr;
};

// The face followed by faces that look alike and are common on desktops, so
// a machine without the face still draws the text in a fitting style.
QStringList FaceWithFallbacks(const QString& face);

}  // namespace velkor
