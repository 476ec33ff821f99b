// The entry of VexTable.arx: what the host calls when it loads and unloads the plug-in.

#include <string>

#include "cadhost/sdk/aced.h"
#include "draw/catalogues.h"
#include "platform/pooled_memory.h"
#include "platform/process.h"
#include "plugin/commands.h"
#include "plugin/editor_window.h"
#include "plugin/floating_toolbar.h"
#include "plugin/plugin_context.h"
#include "cadhost/sdk/acutads.h"
#include "update/update_box.h"

namespace {

// The folder of the host's program, whose "Fonts" folder holds the shape fonts.
std::string HostProgramFolder() {
  const std::string path = vex::platform::ProgramPath();
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// A step of loading that failed is told on the command line; the plug-in still loads, with
// what it could set up.
void Report(const vex::Result& r, const char* step) {
  if (!r) acutPrintf("\nVexTable: %s: %s", step, r.Describe().c_str());
}

void Load(void* appId) {
  if (auto* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))) {
    linker->unlockApplication(appId);
    linker->registerAppMDIAware(appId);
  }
  Report(vex::RegisterCommands(), "registering the commands");
  vex::PluginContext& ctx = vex::Plugin();
  vex::LoadFontLists(ctx.fonts, HostProgramFolder() + "/Fonts", ctx.messages);
  vex::LoadLinetypeList(ctx.linetypes, ctx.messages);
  ctx.SetUpFolders(acedGetAppName());
  Report(ctx.Language().StartLanguage(""), "setting up the language packs");
  vex::CmdToolbar();
}

void Unload() {
  vex::RemoveCommands();
  vex::PluginContext& ctx = vex::Plugin();
  vex::DestroyToolbar();
  vex::WaitForUpdateChecks();
  ctx.editor.reset();
  ctx.imageStore.Discard();
  vex::EndOwnQtApplication();
  // The documents read while loaded (workbooks, table files) left their blocks in the pool.
  vex::platform::EndPooledMemory();
}

}  // namespace

ACRX_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      Load(appId);
      break;
    case AcRx::kUnloadAppMsg:
      Unload();
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

ACRX_EXPORT int acrxGetApiVersion() { return ACRX_API_VERSION; }
