#include "plugin/excel_prompts.h"

#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "excel/sheet_chooser.h"

namespace vex {

bool HostUsesFileDialogs() {
  if (acedGetAcadFrame() == nullptr) return false;
  resbuf value{};
  return acedGetVar("FILEDIA", &value) != RTNORM || value.resval.rint != 0;
}

std::optional<std::string> CommandLineWorkbookAsker::AskWorkbookToOpen() {
  std::string typed;
  if (acedGetString(1, "\nWorkbook to import: ", typed) != RTNORM) return std::nullopt;
  if (typed.size() >= 2 && typed.front() == '"' && typed.back() == '"') typed = typed.substr(1, typed.size() - 2);
  if (typed.empty()) return std::nullopt;
  return typed;
}

std::optional<int> CommandLineSheetChooser::ChooseSheet(const std::vector<std::string>& names) {
  if (names.empty()) return std::nullopt;
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) list += "\n  " + std::to_string(i + 1) + "  " + names[i];
  acutPrintf("\nSheets:%s", list.c_str());
  std::string typed;
  const int rc = acedGetString(1, "\nSheet number or name <1>: ", typed);
  if (rc == RTNONE || (rc == RTNORM && typed.empty())) return 0;
  if (rc != RTNORM) return std::nullopt;
  ResultOr<int> index = excel::SheetIndexFromArgument(names, typed);
  if (!index) {
    acutPrintf("\n%s", index.result().Describe().c_str());
    return std::nullopt;
  }
  return index.value();
}

}  // namespace vex
