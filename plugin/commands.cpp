#include "plugin/commands.h"

#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/dbxutil.h"
#include "draw/entities.h"
#include "draw/table_drawer.h"
#include "model/cell_capture.h"
#include "plugin/drag_place.h"
#include "plugin/plugin_context.h"
#include "settings/language_pack.h"

namespace vex {
namespace {

struct CommandEntry {
  const char* name;
  AcRxFunctionPtr function;
};

// In the order of the command table; the others join as their windows are built.
constexpr CommandEntry kCommands[] = {
    {"VEXTABLE_DRAW", CmdDrawTable},
    {"VEXTABLE_EDIT", CmdEditTable},
    {"VEXTABLE_SELECTIMAGE", CmdSelectImage},
    {"VEXTABLE_DRAWIMAGE", CmdDrawImage},
};

// The editor, or nullptr after telling the drafter that it is closed.
TableEditor* OpenEditor() {
  TableEditor* editor = Plugin().editor.get();
  if (editor == nullptr) acutPrintf("\n%s", Text("IDS_DIALOG_IS_CLOSE").c_str());
  return editor;
}

std::string PlacePrompt() { return "\n" + Text("IDS_DRAGANDINPUT_INFO") + ":"; }

// Makes the host's main frame the active window again, so that its command line keeps the input.
void ActivateHostFrame() {
  if (QWidget* frame = acedGetAcadFrame()) (void)frame;  // a window host activates it itself
}

AcDbDatabase* CurrentDrawing() { return acdbHostApplicationServices()->workingDatabase(); }

}  // namespace

bool RegisterCommands() {
  auto* stack = acedRegCmds;
  if (stack == nullptr) return false;
  bool ok = true;
  for (const CommandEntry& c : kCommands)
    ok = stack->addCommand(kCommandGroup, c.name, c.name, kCommandFlags, c.function) == Acad::eOk && ok;
  return ok;
}

void RemoveCommands() {
  if (auto* stack = acedRegCmds) stack->removeGroup(kCommandGroup);
}

void PostCommand(const std::string& name) {
  AcApDocument* doc = acDocManager->curDocument();
  if (doc == nullptr) return;
  acDocManager->sendStringToExecute(doc, "\x1b");
  acDocManager->sendStringToExecute(doc, name.c_str());
  acDocManager->sendStringToExecute(doc, "\r");
}

void CmdDrawTable() {
  TableEditor* editor = OpenEditor();
  if (editor == nullptr) return;
  PluginContext& ctx = Plugin();
  const AcDbObjectIdArray ids = DrawTable(ctx.currentTable, &ctx.imageStore, CurrentDrawing());
  DragPlace(ids, PlacePrompt(), AcGePoint3d(0, 0, 0));
  editor->Minimize();
  ActivateHostFrame();
}

void CmdEditTable() {
  TableEditor* editor = OpenEditor();
  if (editor == nullptr) return;
  PluginContext& ctx = Plugin();
  const TableRecognizer& old = ctx.recognizer;
  AcDbDatabase* current = CurrentDrawing();
  const bool sameDrawing = old.database == current;
  const AcGePoint3d origin(0, 0, 0);

  if (sameDrawing && old.frameMatchesSelection) {
    // Replace with drag: the old table goes; ENTER puts the new one in its place.
    EraseEntities(old.lineIds);
    EraseEntities(old.textIds);
    EraseEntities(old.imageIds);
    const AcDbObjectIdArray ids = DrawTable(ctx.currentTable, &ctx.imageStore, current);
    const std::string prompt =
        "\n" + Text("IDS_DRAGANDINPUT_INFO") + "<" + Text("IDS_DRAG_INFO_OLD_POS") + ">:";
    const DragResult placed = DragPlace(ids, prompt, origin);
    if (placed.status == RTNONE) MoveEntities(ids, origin, old.origin);
  } else if (!sameDrawing || editor->FullEditing()) {
    // Place as new: nothing of the drawing is touched.
    const AcDbObjectIdArray ids = DrawTable(ctx.currentTable, &ctx.imageStore, current);
    DragPlace(ids, PlacePrompt(), origin);
  } else {
    // Replace in place: the old lines may be shared with other geometry, so they stay.
    EraseEntities(old.textIds);
    EraseEntities(old.imageIds);
    const AcDbObjectIdArray ids = DrawTable(ctx.currentTable, &ctx.imageStore, current);
    CopyEntities(ids, origin, old.origin);
    EraseEntities(ids);
  }
  editor->Minimize();
  ActivateHostFrame();
}

void CmdSelectImage() {
  TableEditor* editor = OpenEditor();
  if (editor == nullptr) return;
  editor->Minimize();
  ads_name set;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) {
    editor->Restore();
    return;
  }
  Adesk::Int32 length = 0;
  AcDbObjectIdArray ids;
  const auto stop = [&](const char* message) {
    acutPrintf("%s", message);
    acedSSFree(set);
    editor->Restore();
  };
  if (acedSSLength(set, &length) != RTNORM || length == 0) return stop("");
  for (Adesk::Int32 k = 0; k < length; ++k) {
    ads_name entity;
    if (acedSSName(set, k, entity) != RTNORM) return stop("\nads_ssname wrong");
    AcDbObjectId id;
    if (acdbGetObjectId(id, entity) != Acad::eOk) return stop("\nacdbGetObjectId wrong");
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    if (!e) return stop("\nacdbOpenAcDbEntity wrong");
    ids.append(id);
  }
  acedSSFree(set);

  PluginContext& ctx = Plugin();
  CellImage image;
  AcDbObjectId block;
  if (CaptureImage(ids, CurrentDrawing(), image.sBlockName, &ctx.imageStore.Ensure(), block, image.images))
    editor->StorePicture(image);
  editor->Restore();
}

void CmdDrawImage() {
  TableEditor* editor = OpenEditor();
  if (editor == nullptr) return;
  editor->Minimize();
  PluginContext& ctx = Plugin();
  AcDbDatabase* current = CurrentDrawing();
  for (const CellImage& picture : editor->SelectedPictures()) {
    AcDbObjectIdArray ids;
    if (!EnumerateBlock(ctx.imageStore.Get(), picture.sBlockName, ids)) break;
    std::string name;
    AcDbObjectId block;
    CellImageList unused;
    if (!CaptureImage(ids, ctx.imageStore.Get(), name, current, block, unused)) break;
    const AcDbObjectId ref = AppendToCurrentSpace(new AcDbBlockReference(AcGePoint3d(0, 0, 0), block), current);
    DragPlace({ref}, PlacePrompt(), AcGePoint3d(0, 0, 0));
  }
  ActivateHostFrame();
}

}  // namespace vex
