// Closes the next modal window that opens and remembers what it showed, so a
// test can run code that asks the user something.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

struct ModalSeen {
  bool shown = false;
  QString title;
  QString text;
  QString className;
  QStringList labels;
};

// Polls until a modal window is up, records it and rejects it; gives up
// after about tries * 20 ms.
inline void CloseNextModal(ModalSeen* seen, int tries = 250) {
  QTimer::singleShot(20, [seen, tries] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      if (tries > 1) CloseNextModal(seen, tries - 1);
      return;
    }
    seen->shown = true;
    seen->title = modal->windowTitle();
    seen->className = QString::fromLatin1(modal->metaObject()->className());
    if (auto* box = qobject_cast<QMessageBox*>(modal)) seen->text = box->text();
    for (const QLabel* label : modal->findChildren<QLabel*>()) seen->labels << label->text();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  });
}
