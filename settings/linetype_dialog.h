#pragma once
// The linetype choice (dialog 215): the linetypes of the catalogue with their descriptions,
// the current one selected and scrolled to about five rows below the top.

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "draw/catalogues.h"

class QPushButton;
class QTreeWidget;

namespace vex {

class LanguagePack;

class LinetypeDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 215;

  LinetypeDialog(const std::vector<LinetypeEntry>& entries, const std::string& current,
                 const LanguagePack& language, QWidget* parent = nullptr);

  // The selected row's name ("" when none is selected).
  std::string Chosen() const;
  QTreeWidget* List() const { return list_; }
  QPushButton* OkButton() const { return ok_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  QTreeWidget* list_;
  QPushButton* ok_;
  int currentRow_ = 0;
};

// Runs the dialog; the chosen name on OK, nullopt on Cancel.
std::optional<std::string> ChooseLinetype(QWidget* parent, const std::vector<LinetypeEntry>& entries,
                                          const std::string& current, const LanguagePack& language);

}  // namespace vex
