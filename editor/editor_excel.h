#pragma once
// What the table editor's own Excel import and export ask with where there is no CAD host
// (inside one they are the host's commands): the workbook file dialog, the sheet chooser, a
// progress window, and the desktop that opens the written workbook. Tests put answers in
// their place.

#include <memory>

#include "excel/exchange_ui.h"
#include "excel/workbook_viewer.h"

class QWidget;

namespace vex {

class LanguagePack;

class EditorExcelParts {
 public:
  virtual ~EditorExcelParts() = default;
  // The open-file dialog for .xlsx, .ods, .csv and .xls.
  virtual std::unique_ptr<excel::WorkbookFileAsker> Files(QWidget* parent);
  // The sheet chooser (dialog 240) with the language's texts.
  virtual std::unique_ptr<excel::SheetChooser> Sheets(QWidget* parent, const LanguagePack& language);
  // The progress window over the editor, with the wait cursor.
  virtual std::unique_ptr<excel::StatusMeter> Meter(QWidget* parent);
  // A new "BookN.xlsx" in the temporary folder, opened with the desktop's spreadsheet program.
  virtual std::unique_ptr<excel::WorkbookViewer> Viewer();
};

}  // namespace vex
