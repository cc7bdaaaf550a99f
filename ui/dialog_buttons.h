// The row of buttons under the controls of the task, scan and search
// dialogs: a default confirm button and a button that closes the dialog.
#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace velkor {

// Returns the confirm button ("confirmButton"); the caller connects it to its
// confirm handler. The other one is "closeButton".
inline QPushButton* AddDialogButtons(QDialog* dialog, QBoxLayout* layout,
                                     const QString& closeText) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  auto* confirm = new QPushButton(QStringLiteral("确定"), dialog);
  confirm->setObjectName(QStringLiteral("confirmButton"));
  confirm->setDefault(true);
  row->addWidget(confirm);
  auto* close = new QPushButton(closeText, dialog);
  close->setObjectName(QStringLiteral("closeButton"));
  close->setAutoDefault(false);
  QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::reject);
  row->addWidget(close);
  layout->addLayout(row);
  return confirm;
}

}  // namespace velkor
