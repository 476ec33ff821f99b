// The commands of the settings dialog, the about box and the floating toolbar, and the
// re-texting of the plug-in's open windows when the drafter changes the language.

#include <QWidget>

#include <optional>

#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "editor/table_editor_window.h"
#include "plugin/commands.h"
#include "plugin/floating_toolbar.h"
#include "plugin/plugin_context.h"
#include "settings/settings_dialog.h"
#include "update/update_box.h"

namespace vex {
namespace {

// The editor and the toolbar take their texts again; the settings dialog does its own.
void RetextOpenWindows() {
  if (TableEditorWindow* editor = WindowOf(Plugin().editor.get())) editor->ApplyTexts();
  if (FloatingToolbar* toolbar = Toolbar()) toolbar->ApplyTexts();
}

}  // namespace

void CmdBaseSetup() {
  PluginContext& ctx = Plugin();
  QWidget* frame = acedGetAcadFrame();
  if (frame == nullptr) {
    // A host without a window could never close a modal dialog: the command would hang it.
    acutPrintf("\n%s: the host has no window; the settings are kept in %s", "VEXBASESETUP",
               ctx.where.settingsFile.c_str());
    return;
  }
  SettingsDialogServices services;
  services.chooseColour = [](QWidget*, int current) -> std::optional<int> {
    int colour = current;
    // The 255 indexed colours only: a layer's colour is never BYLAYER or BYBLOCK.
    if (!acedSetColorDialog(colour, false, current)) return std::nullopt;
    return colour;
  };
  services.languageChanged = RetextOpenWindows;
  SettingsDialog dialog(ctx.SettingsFile(), ctx.Language(), ctx.fonts, ctx.linetypes, std::move(services), frame);
  dialog.exec();
  frame->activateWindow();
}

void CmdAbout() {
  PluginContext& ctx = Plugin();
  QWidget* frame = acedGetAcadFrame();
  if (frame == nullptr) {
    acutPrintf("\nVexTable %s", std::string(kVexTableVersion).c_str());
    return;
  }
  ShowAboutBox(frame, ReadWebLinks(ctx.SettingsFile()));
  frame->activateWindow();
}

void CmdToolbar() {
  // The toolbar floats over the host's window; a host without one shows nothing.
  if (acedGetAcadFrame() == nullptr) return;
  ShowToolbar();
}

}  // namespace vex
