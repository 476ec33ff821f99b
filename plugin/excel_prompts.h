#pragma once
// The Excel import's questions on the host's command line, for a host that shows no file
// dialogs (one without a window, or with FILEDIA 0): a modal window there would wait for a
// drafter who cannot see it, and a script answers on the command line.

#include "excel/exchange_ui.h"

namespace vex {

// True when the host asks for files with dialogs: it has a main window and FILEDIA is on.
bool HostUsesFileDialogs();

// "Workbook to import: ", the typed path (surrounding quotes dropped); ESC or an empty answer
// cancels.
class CommandLineWorkbookAsker final : public excel::WorkbookFileAsker {
 public:
  std::optional<std::string> AskWorkbookToOpen() override;
};

// Lists the sheets and asks for one by number or name, ENTER alone for the first. ESC
// cancels; a sheet that does not exist is told and cancels too.
class CommandLineSheetChooser final : public excel::SheetChooser {
 public:
  std::optional<int> ChooseSheet(const std::vector<std::string>& names) override;
};

}  // namespace vex
