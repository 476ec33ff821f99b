// The table editor's Excel import and export. Inside a CAD host they are the host's commands,
// which the editor starts by name; without one the editor runs them itself.

#include <QString>

#include "editor/editor_texts.h"
#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "excel/excel_exchange.h"
#include "model/table_origin.h"
#include "platform/message_sink.h"
#include "settings/language_pack.h"

namespace vex {
namespace {

// What the exchange said, as one text for a message box.
QString Said(const RecordingSink& messages) { return QString::fromStdString(messages.Text()).trimmed(); }

}  // namespace

void TableEditorWindow::ExcelImportCommand() {
  if (host_.InsideHost()) {
    if (host_.HasActiveDocument()) host_.PostCommand("VEXTABLE_EXCEL_IMPORT");
    return;
  }
  grid_->EndEditing();
  const LanguagePack language = Language();
  const std::unique_ptr<excel::WorkbookFileAsker> files = excel_->Files(this);
  const std::unique_ptr<excel::SheetChooser> sheets = excel_->Sheets(this, language);
  const std::unique_ptr<excel::StatusMeter> meter = excel_->Meter(this);
  RecordingSink messages;
  excel::ImportUi ui{*files, *sheets, *meter, messages};
  TableData table;
  if (excel::Import(table, ReadSettingsNow().Excel, ui) != 1) {
    // Cancelled: nothing to say. Refused: why, and that the drafter's table is still there.
    if (!Said(messages).isEmpty()) Tell(EditorText(language, "IDS_EDITOR_IMPORT_FAILED") + "\n" + Said(messages));
    return;
  }
  origin_ = kLoadedTable;
  LoadTable(table);
}

void TableEditorWindow::ExcelExportCommand() {
  if (host_.InsideHost()) {
    if (host_.HasActiveDocument()) host_.PostCommand("VEXTABLE_EXCEL_EXPORT");
    return;
  }
  const TableData table = TakeTable(TextHeights::kRounded);
  const std::unique_ptr<excel::StatusMeter> meter = excel_->Meter(this);
  const std::unique_ptr<excel::WorkbookViewer> viewer = excel_->Viewer();
  RecordingSink messages;
  if (excel::Export(table, ReadSettingsNow().Excel, *meter, messages, *viewer) != 1) {
    Tell(EditorText(Language(), "IDS_EDITOR_EXPORT_FAILED") + "\n" + Said(messages));
    return;
  }
  // Where the workbook is: the desktop may have no spreadsheet program to open it.
  Tell(Said(messages));
}

}  // namespace vex
