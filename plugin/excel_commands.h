#pragma once
// The plug-in's Excel commands: VEXTABLE_EXCEL_IMPORT and VEXDRAWEXCEL read a sheet into the
// editor, VEXTABLE_EXCEL_EXPORT writes the editor's table into a new workbook and opens it.

#include <functional>
#include <memory>

#include "excel/exchange_ui.h"
#include "excel/workbook_viewer.h"

class QWidget;

namespace vex {

class LanguagePack;

// What the commands ask the drafter with and where the workbook goes. The plug-in uses the
// real windows (owned by `owner`: the editor when it shows, else the host's main frame), or
// the command line where the host shows no file dialogs, and the desktop; tests put answers
// in their place.
struct ExcelCommandParts {
  std::function<std::unique_ptr<excel::WorkbookFileAsker>(QWidget* owner)> files;
  std::function<std::unique_ptr<excel::SheetChooser>(QWidget* owner, const LanguagePack& language)> sheets;
  std::function<std::unique_ptr<excel::WorkbookViewer>()> viewer;
};

// The parts the commands use now; RestoreExcelCommandParts() puts the real ones back.
ExcelCommandParts& ExcelParts();
void RestoreExcelCommandParts();

// VEXTABLE_EXCEL_IMPORT: asks for a workbook and a sheet and, when one was read, shows it in
// the editor (made when there is none) as a loaded table. Anything else leaves the editor and
// its table as they were.
void CmdExcelImport();
// VEXDRAWEXCEL: the import above; a table that was imported starts without pictures, so the
// picture store goes (it stays when nothing was imported: it holds the editor's pictures).
void CmdDrawExcel();
// VEXTABLE_EXCEL_EXPORT: the editor's table, taken as Draw takes it, into a new workbook that
// is opened for the drafter. Needs the editor.
void CmdExcelExport();

}  // namespace vex
