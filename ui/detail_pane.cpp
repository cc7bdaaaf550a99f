#include "ui/detail_pane.h"

#include <QResizeEvent>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace velkor {

QStringList FaceWithFallbacks(const QString& face) {
  QStringList faces{face};
  if (face == QStringLiteral("黑体")) {
    faces << QStringLiteral("SimHei") << QStringLiteral("Noto Sans CJK SC")
          << QStringLiteral("WenQuanYi Zen Hei") << QStringLiteral("WenQuanYi Micro Hei")
          << QStringLiteral("sans-serif");
  } else if (face == QStringLiteral("隶书")) {
    faces << QStringLiteral("LiSu") << QStringLiteral("STLiti") << QStringLiteral("AR PL UKai CN")
          << QStringLiteral("Noto Serif CJK SC") << QStringLiteral("WenQuanYi Micro Hei")
          << QStringLiteral("serif");
  } else if (face == QStringLiteral("Times New Roman")) {
    faces << QStringLiteral("Liberation Serif") << QStringLiteral("Tinos")
          << QStringLiteral("DejaVu Serif") << QStringLiteral("serif");
  }
  return faces;
}

DetailPane::DetailPane(QWidget* parent) : QWidget(parent) {
  richEdit_ = new QTextEdit(this);
  richEdit_->setObjectName(QStringLiteral("detailEdit"));
  richEdit_->setReadOnly(true);
  richEdit_->setAcceptRichText(false);
  richEdit_->setLineWrapMode(QTextEdit::WidgetWidth);
  richEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  richEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void DetailPane::AppendRun(const QString& text, QColor colour, const QString& face, int pointSize) {
  QTextCharFormat format;
  format.setFontWeight(QFont::Normal);
  format.setFontItalic(false);
  format.setFontUnderline(false);
  format.setForeground(colour);
  format.setFontFamilies(FaceWithFallbacks(face));
  format.setFontPointSize(pointSize);
  QTextCursor cursor(richEdit_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text, format);
}

void DetailPane::Clear() {
  richEdit_->clear();
}

QString DetailPane::Text() const {
  return richEdit_->toPlainText();
}

void DetailPane::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  richEdit_->setGeometry(0, 0, event->size().width(), event->size().height());
}

}  // namespace velkor
