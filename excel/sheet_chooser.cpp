#include "excel/sheet_chooser.h"

#include <cctype>

#include "settings/language_pack.h"

namespace vex::excel {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

SheetChooserTexts ReadSheetChooserTexts(const LanguagePack& language) {
  return {language.DialogText(kSheetChooserDialog, LanguagePack::kDialogTitle),
          language.DialogText(kSheetChooserDialog, kOkButton), language.DialogText(kSheetChooserDialog, kCancelButton)};
}

ResultOr<int> SheetIndexFromArgument(const std::vector<std::string>& names, std::string_view argument) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == argument) return static_cast<int>(i);
  if (!argument.empty() && argument.find_first_not_of("0123456789") == std::string_view::npos && argument.size() < 9) {
    const int n = std::stoi(std::string(argument));
    if (n >= 1 && n <= static_cast<int>(names.size())) return n - 1;
  }
  for (std::size_t i = 0; i < names.size(); ++i)
    if (EqualNoCase(names[i], argument)) return static_cast<int>(i);
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "\"" : ", \"") + n + "\"";
  return Result(ErrorCode::kNotFound, "the workbook has no sheet \"" + std::string(argument) + "\" (its sheets: " + list + ")");
}

std::optional<int> FixedSheetChooser::ChooseSheet(const std::vector<std::string>& names) {
  if (!argument_) return names.empty() ? std::nullopt : std::optional<int>(0);
  ResultOr<int> index = SheetIndexFromArgument(names, *argument_);
  if (!index) {
    messages_.Alert(index.result().message());
    return std::nullopt;
  }
  return index.value();
}

}  // namespace vex::excel
