// LoadVexTable.arx: the host loads it at start (its demand-load entry names it as LOADER); it
// loads VexTable.arx from its own folder when the current profile has VexTable switched on.

#include <string>

#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/acutads.h"
#include "loader/profile_switch.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "update/update_check.h"

namespace {

constexpr const char* kGroup = "HARBEKTABLE";
constexpr const char* kCommand = "HARBEK";

void OpenForum() {
  if (const vex::Result r = vex::platform::OpenOnDesktop(vex::WebLinks{}.forum); !r)
    acutPrintf("\n%s", r.message().c_str());
}

void Load(void* appId) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  linker->unlockApplication(appId);
  linker->registerAppMDIAware(appId);
  acedRegCmds->addCommand(kGroup, kCommand, kCommand, ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET, OpenForum);

  // The profile is read once, here: switching profiles takes effect at the host's next start.
  const vex::platform::Registry registry;
  if (!vex::loader::ProfileEnabled(registry, acrxProductKey())) return;
  const std::string main = vex::loader::MainModulePath(acedGetAppName());
  if (!linker->loadModule(main.c_str(), true, false))
    acutPrintf("\nLoading the module %s failed; the application unloads.", main.c_str());
}

void Unload() {
  // A no-op of the host when the main plug-in was never loaded.
  acrxDynamicLinker->unloadModule(std::string(vex::loader::kMainModule).c_str(), false);
  acedRegCmds->removeGroup(kGroup);
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
