#pragma once
// The sheet chooser window (dialog 240): a list of the workbook's sheets, OK and Cancel. Its
// rules are SheetChoice's; this only shows them. QtSheetChooser is the SheetChooser that
// Import is given in the plug-in.

#include <QDialog>

#include "excel/sheet_chooser.h"

class QListWidget;
class QPushButton;

namespace vex::excel {

class SheetChooserDialog : public QDialog {
  Q_OBJECT

 public:
  SheetChooserDialog(std::vector<std::string> names, const SheetChooserTexts& texts, QWidget* parent = nullptr);

  // After OK: the index OK stored.
  int ChosenIndex() const { return chosen_; }
  QListWidget* List() const { return list_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  void OnOk();

  SheetChoice choice_;
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  int chosen_ = 0;
};

class QtSheetChooser final : public SheetChooser {
 public:
  QtSheetChooser(SheetChooserTexts texts, QWidget* parent) : texts_(std::move(texts)), parent_(parent) {}
  std::optional<int> ChooseSheet(const std::vector<std::string>& names) override;

 private:
  SheetChooserTexts texts_;
  QWidget* parent_;
};

}  // namespace vex::excel
