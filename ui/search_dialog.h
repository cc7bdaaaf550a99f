// The search dialog: where to search (the result lists or the image), the
// encoding of the text in the image, and the text.
#pragma once

#include <QDialog>
#include <QString>

#include "engine/image_search.h"

class QLineEdit;
class QRadioButton;

namespace velkor {

class Prompts;

enum class SearchSource { kResults, kImage };

class SearchDialog final : public QDialog {
  Q_OBJECT

 public:
  SearchDialog(Prompts& prompts, QWidget* parent = nullptr);

  SearchSource source() const;
  SearchEncoding encoding() const;
  QString searchText() const;

  // Ends the dialog with OK, unless the text cannot be searched for (empty,
  // or not ASCII when that encoding is chosen); the user is told why and the
  // dialog stays open.
  void Confirm();

 private:
  Prompts& prompts_;
  QRadioButton* inResults_ = nullptr;
  QRadioButton* inImage_ = nullptr;
  QRadioButton* utf8_ = nullptr;
  QRadioButton* ascii_ = nullptr;
  QRadioButton* unicode_ = nullptr;
  QLineEdit* text_ = nullptr;
};

}  // namespace velkor
