#pragma once
// The row-height / column-width dialog: one whole number of millimetres with a spin that never
// goes below 1 (a typed value is taken as it is). Titles and prompts come from the language
// pack by the mode.

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

namespace vex {

class LanguagePack;

class RowColDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 225;
  enum Mode { kRowHeight = 0, kColumnWidth = 1 };

  RowColDialog(QWidget* parent, const LanguagePack& language, Mode mode, int value);

  int Value() const;
  QSpinBox* Edit() const { return edit_; }
  QLabel* Prompt() const { return prompt_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  QLabel* prompt_;
  QSpinBox* edit_;
  QPushButton* ok_;
};

}  // namespace vex
