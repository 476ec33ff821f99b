#include "plugin/commands.h"

#include <QWidget>

#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/dbxutil.h"
#include "draw/entities.h"
#include "draw/table_drawer.h"
#include "draw/selection.h"
#include "pictures/cell_capture.h"
#include "recognize/table_recognizer.h"
#include "plugin/drag_place.h"
#include "plugin/excel_commands.h"
#include "plugin/plugin_context.h"

namespace vex {
namespace {

struct CommandEntry {
  const char* name;
  AcRxFunctionPtr function;
};

// In the order of the command table.
constexpr CommandEntry kCommands[] = {
    {"VEXDRAWTABLE", CmdNewTable},
    {"VEXEDITTABLE", CmdReadTable},
    {"VEXBASESETUP", CmdBaseSetup},
    {"VEXDRAWEXCEL", CmdDrawExcel},
    {"VEXTABLEABOUT", CmdAbout},
    {"VEXTABLE", CmdToolbar},
    {"VEXTABLE_DRAW", CmdDrawTable},
    {"VEXTABLE_EDIT", CmdEditTable},
    {"VEXTABLE_EXCEL_EXPORT", CmdExcelExport},
    {"VEXTABLE_EXCEL_IMPORT", CmdExcelImport},
    {"VEXOPENTABLE", CmdOpenTable},
    {"VEXTABLE_SELECTIMAGE", CmdSelectImage},
    {"VEXTABLE_DRAWIMAGE", CmdDrawImage},
};

// The editor, or nullptr after telling the drafter that it is closed.
TableEditor* OpenEditor() {
  TableEditor* editor = Plugin().editor.get();
  if (editor == nullptr) acutPrintf("\n%s", Plugin().Text("IDS_DIALOG_IS_CLOSE").c_str());
  return editor;
}

std::string PlacePrompt() { return "\n" + Plugin().Text("IDS_DRAGANDINPUT_INFO") + ":"; }

AcDbDatabase* CurrentDrawing() { return acdbHostApplicationServices()->workingDatabase(); }

// Takes the editor out of the way and gives the input to the host's main frame, where the
// drafter picks next.
void MinimizeEditor(TableEditor& editor) {
  editor.Minimize();
  if (QWidget* frame = acedGetAcadFrame()) frame->activateWindow();
}

// Draws the current table into the working drawing with the settings as they are now.
AcDbObjectIdArray DrawCurrentTable(AcDbDatabase& drawing) {
  PluginContext& ctx = Plugin();
  return DrawTable(ctx.currentTable, ctx.ReadSettings(), &ctx.imageStore, drawing, ctx.messages);
}

}  // namespace

Result RegisterCommands() {
  auto* stack = acedRegCmds;
  if (stack == nullptr) return Result(ErrorCode::kHostError, "the host has no command stack");
  Result result;
  for (const CommandEntry& c : kCommands)
    if (stack->addCommand(kCommandGroup, c.name, c.name, kCommandFlags, c.function) != Acad::eOk && result)
      result = Result(ErrorCode::kHostError, std::string("the host refused the command ") + c.name);
  return result;
}

void RemoveCommands() {
  if (auto* stack = acedRegCmds) stack->removeGroup(kCommandGroup);
}

void PostCommand(const std::string& name) {
  AcApDocument* doc = acDocManager->curDocument();
  if (doc == nullptr) return;
  // The typed command goes to the host's view, not to the window that posted it.
  QWidget* view = adsw_acadMainWnd();
  if (view) view->setFocus();
  acDocManager->sendStringToExecute(doc, "\x1b");
  acDocManager->sendStringToExecute(doc, name.c_str());
  acDocManager->sendStringToExecute(doc, "\r");
  if (view) view->setFocus();
}

TableEditor& EnsureEditor() {
  PluginContext& ctx = Plugin();
  if (!ctx.editor) ctx.editor = ctx.makeEditor();
  return *ctx.editor;
}

void CmdOpenTable() {
  PluginContext& ctx = Plugin();
  if (!ctx.editor) {
    TableEditor& editor = EnsureEditor();
    editor.SetOrigin(kNewTable);
    editor.SetBlankTable(6, 6, 5, 15);
  }
  ctx.editor->Restore();
}

void CmdNewTable() {
  PluginContext& ctx = Plugin();
  // A cancelled dialog leaves the editor as it was.
  const std::optional<TableInitAnswer> answer = ctx.askNewTable();
  if (!answer) return;
  TableEditor& editor = EnsureEditor();
  if (answer->hasHeader) {
    editor.SetOrigin(kLoadedTable);
  } else {
    editor.SetOrigin(kNewTable);
    editor.SetBlankTable(answer->rows, answer->cols, answer->rowHeight, answer->colWidth);
  }
  // Loaded in both cases: an editor that showed a table before shows the new one.
  editor.LoadTable(answer->table);
  editor.Restore();
}

void CmdReadTable() {
  PluginContext& ctx = Plugin();
  if (ctx.editor) MinimizeEditor(*ctx.editor);
  // A store made here for the pictures of this table goes again when no table is read; one
  // that was there already holds the pictures of the editor's table and stays.
  const bool madeStore = !ctx.imageStore;
  ctx.imageStore.Ensure();
  ResultOr<RecognizedTable> read = ReadTable(ctx.ReadSettings(), ctx.imageStore, ctx.messages);
  if (!read) {
    if (madeStore) ctx.imageStore.Discard();
    if (ctx.editor) ctx.editor->Restore();
    return;
  }
  ctx.lastRead = std::move(read).value();
  TableEditor& editor = EnsureEditor();
  editor.SetOrigin(kTableFromDrawing);
  editor.SetFullEditing(ctx.lastRead.frameMatchesSelection);
  editor.LoadTable(ctx.lastRead.table);
  editor.Restore();
}

void CmdDrawTable() {
  TableEditor* editor = OpenEditor();
  AcDbDatabase* drawing = CurrentDrawing();
  if (editor == nullptr || drawing == nullptr) return;
  const AcDbObjectIdArray ids = DrawCurrentTable(*drawing);
  DragPlace(ids, PlacePrompt(), AcGePoint3d(0, 0, 0));
  MinimizeEditor(*editor);
}

void CmdEditTable() {
  TableEditor* editor = OpenEditor();
  AcDbDatabase* current = CurrentDrawing();
  if (editor == nullptr || current == nullptr) return;
  PluginContext& ctx = Plugin();
  const RecognizedTable& old = ctx.lastRead;
  const bool sameDrawing = old.database == current;
  const AcGePoint3d origin(0, 0, 0);

  if (sameDrawing && old.frameMatchesSelection) {
    // Replace with drag: the old table goes; ENTER puts the new one in its place.
    EraseEntities(old.lineIds);
    EraseEntities(old.textIds);
    EraseEntities(old.imageIds);
    const AcDbObjectIdArray ids = DrawCurrentTable(*current);
    const std::string prompt =
        "\n" + ctx.Text("IDS_DRAGANDINPUT_INFO") + "<" + ctx.Text("IDS_DRAG_INFO_OLD_POS") + ">:";
    const DragResult placed = DragPlace(ids, prompt, origin);
    if (placed.status == RTNONE) MoveEntities(ids, origin, old.origin);
  } else if (!sameDrawing || editor->FullEditing()) {
    // Place as new: nothing of the drawing is touched.
    const AcDbObjectIdArray ids = DrawCurrentTable(*current);
    DragPlace(ids, PlacePrompt(), origin);
  } else {
    // Replace in place: the old lines may be shared with other geometry, so they stay.
    EraseEntities(old.textIds);
    EraseEntities(old.imageIds);
    const AcDbObjectIdArray ids = DrawCurrentTable(*current);
    CopyEntities(ids, origin, old.origin);
    EraseEntities(ids);
  }
  MinimizeEditor(*editor);
}

void CmdSelectImage() {
  TableEditor* editor = OpenEditor();
  if (editor == nullptr) return;
  editor->Minimize();
  PluginContext& ctx = Plugin();
  ads_name set;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) {
    editor->Restore();
    return;
  }
  const std::optional<AcDbObjectIdArray> ids = SelectionIds(set, SelectionFaults::kStop, ctx.messages);
  acedSSFree(set);
  if (!ids || ids->isEmpty()) {
    editor->Restore();
    return;
  }
  CellImage image;
  AcDbObjectId block;
  if (CaptureImage(*ids, CurrentDrawing(), image.sBlockName, &ctx.imageStore.Ensure(), block, image.images,
                   ctx.messages))
    editor->StorePicture(image);
  editor->Restore();
}

void CmdDrawImage() {
  TableEditor* editor = OpenEditor();
  AcDbDatabase* current = CurrentDrawing();
  if (editor == nullptr || current == nullptr) return;
  editor->Minimize();
  PluginContext& ctx = Plugin();
  for (const CellImage& picture : editor->SelectedPictures()) {
    AcDbObjectIdArray ids;
    if (!EnumerateBlock(ctx.imageStore.Get(), picture.sBlockName, ids, ctx.messages)) break;
    std::string name;
    AcDbObjectId block;
    CellImageList unused;
    if (!CaptureImage(ids, ctx.imageStore.Get(), name, current, block, unused, ctx.messages)) break;
    const AcDbObjectId ref =
        AppendToCurrentSpace(new AcDbBlockReference(AcGePoint3d(0, 0, 0), block), *current, ctx.messages);
    DragPlace({ref}, PlacePrompt(), AcGePoint3d(0, 0, 0));
  }
}

}  // namespace vex
