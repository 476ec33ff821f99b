#pragma once
// The rules of the sheet chooser (dialog 240), kept apart from its window so that they are
// tested without one, and the other ways of choosing a sheet.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "excel/exchange_ui.h"
#include "platform/result.h"

namespace vex {
class LanguagePack;
}

namespace vex::excel {

// Dialog 240 and its controls.
inline constexpr int kSheetChooserDialog = 240;
inline constexpr int kSheetList = 247;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;

// The dialog's texts from the language pack: its caption and the two buttons.
struct SheetChooserTexts {
  std::string title;
  std::string ok;
  std::string cancel;
};
SheetChooserTexts ReadSheetChooserTexts(const LanguagePack& language);

// What the dialog holds: the sheet names and the selected entry.
class SheetChoice {
 public:
  explicit SheetChoice(std::vector<std::string> names) : names_(std::move(names)) {}
  const std::vector<std::string>& Names() const { return names_; }
  // On opening the list shows the names and its first entry is selected (none when empty).
  void Open() { selected_ = names_.empty() ? -1 : 0; }
  // -1, or an index outside the list, selects nothing.
  void Select(int index) { selected_ = index >= 0 && index < static_cast<int>(names_.size()) ? index : -1; }
  int Selected() const { return selected_; }
  // The index OK stores: the selected entry, 0 when nothing is selected.
  int OkIndex() const { return selected_ < 0 ? 0 : selected_; }

 private:
  std::vector<std::string> names_;
  int selected_ = -1;
};

// A sheet named on the command line: its number from 1 ("2"), else its name (exactly, else
// ignoring case). kNotFound when no sheet is meant, with the names there are.
ResultOr<int> SheetIndexFromArgument(const std::vector<std::string>& names, std::string_view argument);

// Chooses a fixed sheet (or the first, without an argument) without asking: for the batch
// tool. A sheet that does not exist is reported on `messages` and cancels.
class FixedSheetChooser final : public SheetChooser {
 public:
  FixedSheetChooser(std::optional<std::string> argument, MessageSink& messages)
      : argument_(std::move(argument)), messages_(messages) {}
  std::optional<int> ChooseSheet(const std::vector<std::string>& names) override;

 private:
  std::optional<std::string> argument_;
  MessageSink& messages_;
};

}  // namespace vex::excel
