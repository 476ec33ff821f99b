#include "editor/editor_excel.h"

#include "editor/progress_meter.h"
#include "excel/sheet_chooser_dialog.h"
#include "excel/workbook_file_dialog.h"

namespace vex {

std::unique_ptr<excel::WorkbookFileAsker> EditorExcelParts::Files(QWidget* parent) {
  return std::make_unique<excel::QtWorkbookFileAsker>(parent);
}

std::unique_ptr<excel::SheetChooser> EditorExcelParts::Sheets(QWidget* parent, const LanguagePack& language) {
  return std::make_unique<excel::QtSheetChooser>(excel::ReadSheetChooserTexts(language), parent);
}

std::unique_ptr<excel::StatusMeter> EditorExcelParts::Meter(QWidget* parent) {
  return std::make_unique<ProgressWindowMeter>(parent);
}

std::unique_ptr<excel::WorkbookViewer> EditorExcelParts::Viewer() {
  return std::make_unique<excel::DesktopWorkbookViewer>();
}

}  // namespace vex
