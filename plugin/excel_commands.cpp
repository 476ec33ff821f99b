#include "plugin/excel_commands.h"

#include <QGuiApplication>
#include <QWidget>

#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "editor/table_editor_window.h"
#include "excel/excel_exchange.h"
#include "excel/host_meter.h"
#include "excel/sheet_chooser_dialog.h"
#include "excel/workbook_file_dialog.h"
#include "plugin/commands.h"
#include "plugin/excel_prompts.h"
#include "plugin/plugin_context.h"

namespace vex {
namespace {

ExcelCommandParts RealParts() {
  ExcelCommandParts parts;
  parts.files = [](QWidget* owner) -> std::unique_ptr<excel::WorkbookFileAsker> {
    if (!HostUsesFileDialogs()) return std::make_unique<CommandLineWorkbookAsker>();
    return std::make_unique<excel::QtWorkbookFileAsker>(owner);
  };
  parts.sheets = [](QWidget* owner, const LanguagePack& language) -> std::unique_ptr<excel::SheetChooser> {
    if (!HostUsesFileDialogs()) return std::make_unique<CommandLineSheetChooser>();
    return std::make_unique<excel::QtSheetChooser>(excel::ReadSheetChooserTexts(language), owner);
  };
  parts.viewer = [] { return std::make_unique<excel::DesktopWorkbookViewer>(); };
  return parts;
}

// The host's status-bar meter, with the wait cursor while the exchange runs.
class CommandMeter final : public excel::StatusMeter {
 public:
  void Show(std::string_view label) override { meter_.Show(label); }
  void Set(int percent) override { meter_.Set(percent); }
  void Restore() override { meter_.Restore(); }
  void BeginWait() override {
    // A host without a window may have no Qt application: no cursor either.
    if (waiting_ || !qGuiApp) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    waiting_ = true;
  }
  void EndWait() override {
    if (!waiting_) return;
    QGuiApplication::restoreOverrideCursor();
    waiting_ = false;
  }
  ~CommandMeter() override { EndWait(); }

 private:
  excel::HostStatusMeter meter_;
  bool waiting_ = false;
};

// The window the dialogs belong to: the editor when it shows, else the host's main frame.
QWidget* DialogOwner() {
  if (QWidget* w = WindowOf(Plugin().editor.get()); w && w->isVisible()) return w;
  return acedGetAcadFrame();
}

// Reads a sheet into the editor; false when nothing was imported.
bool ImportIntoEditor() {
  PluginContext& ctx = Plugin();
  const LanguagePack language = ctx.Language();
  QWidget* owner = DialogOwner();
  const std::unique_ptr<excel::WorkbookFileAsker> files = ExcelParts().files(owner);
  const std::unique_ptr<excel::SheetChooser> sheets = ExcelParts().sheets(owner, language);
  CommandMeter meter;
  excel::ImportUi ui{*files, *sheets, meter, ctx.messages};
  TableData table;
  if (excel::Import(table, ctx.ReadSettings().Excel, ui) != 1) return false;
  TableEditor& editor = EnsureEditor();
  editor.SetOrigin(kLoadedTable);
  // Contents-only editing belongs to a table read from the drawing; this one is not.
  editor.SetFullEditing(true);
  editor.LoadTable(table);
  editor.Restore();
  return true;
}

}  // namespace

ExcelCommandParts& ExcelParts() {
  static ExcelCommandParts parts = RealParts();
  return parts;
}

void RestoreExcelCommandParts() { ExcelParts() = RealParts(); }

void CmdExcelImport() { (void)ImportIntoEditor(); }

void CmdDrawExcel() {
  if (ImportIntoEditor()) Plugin().imageStore.Discard();
}

void CmdExcelExport() {
  PluginContext& ctx = Plugin();
  TableEditor* editor = ctx.editor.get();
  if (editor == nullptr) {
    acutPrintf("\n%s", ctx.Text("IDS_DIALOG_IS_CLOSE").c_str());
    return;
  }
  const TableData table = editor->TakeTable();
  CommandMeter meter;
  const std::unique_ptr<excel::WorkbookViewer> viewer = ExcelParts().viewer();
  (void)excel::Export(table, ctx.ReadSettings().Excel, meter, ctx.messages, *viewer);
}

}  // namespace vex
