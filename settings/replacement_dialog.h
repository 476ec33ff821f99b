#pragma once
// The output text replacement list (dialog 228): a grid of input, replacement and description,
// a last "(New Item)" row that typing turns into an item, Delete, Default, OK and Cancel. It
// reads and writes the "TURN_TEXT" items itself: OK writes them, Cancel writes nothing.

#include <QDialog>

#include <functional>
#include <vector>

#include "settings/language_pack.h"
#include "settings/profile_file.h"
#include "settings/settings_dialog_rules.h"

class QPushButton;

namespace vex {

class GridCtrl;
struct GridNotification;

class ReplacementDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 228;
  static constexpr int kDeleteId = 4;
  static constexpr int kDefaultId = 5;

  ReplacementDialog(const ProfileFile& settings, const LanguagePack& language, QWidget* parent = nullptr);

  // Asks a Yes/No question with a warning icon; true for Yes. Tests put an answer here.
  using Question = std::function<bool(QWidget* parent, const QString& caption, const QString& text)>;
  void SetQuestion(Question ask) { ask_ = std::move(ask); }

  // The item rows as the grid holds them now (title and "(New Item)" rows left out).
  std::vector<ReplacementRow> Items() const;

  GridCtrl& Grid() const { return *grid_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* DefaultButton() const { return default_; }
  QPushButton* OkButton() const { return ok_; }

  void accept() override;

 private:
  void Show(const std::vector<ReplacementRow>& items);
  void OnGridNotify(GridNotification* n);
  // After an edit of the "(New Item)" row: it becomes an item and a new one follows.
  void KeepNewItemRow();
  void DeleteSelected();
  void BackToDefault();

  ProfileFile settings_;
  LanguagePack language_;
  Question ask_;
  GridCtrl* grid_;
  QPushButton* delete_;
  QPushButton* default_;
  QPushButton* ok_;
};

// Runs the dialog modally (it writes the list itself on OK).
void RunReplacementDialog(QWidget* parent, const ProfileFile& settings, const LanguagePack& language);

}  // namespace vex
