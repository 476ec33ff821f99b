// An application for the host's tests. Its variants (compile definitions) stay locked, report
// an old interface version, refuse to initialise, or load the plain variant from their own
// folder the way a loader application does.

#include <string>

#include "cadhost/sdk/aced.h"

#ifndef TESTAPP_API
#define TESTAPP_API ACRX_API_VERSION
#endif

namespace {

const char* kGroup = "TESTAPP_GROUP";

[[maybe_unused]] void Hello() { acutPrintf("\nhello from %s", acedGetAppName()); }

// Posts a command the way a window of an application does: ESC, the name, ENTER.
[[maybe_unused]] void PostHello() {
  AcApDocument* doc = acDocManager->curDocument();
  if (doc == nullptr) return;
  acDocManager->sendStringToExecute(doc, "\x1b", false, false, false);
  acDocManager->sendStringToExecute(doc, "THELLO", false, false, false);
  acDocManager->sendStringToExecute(doc, "\r", false, false, false);
}

}  // namespace

ACRX_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg: {
#ifndef TESTAPP_LOCKED
      acrxDynamicLinker->unlockApplication(appId);
#endif
      acrxDynamicLinker->registerAppMDIAware(appId);
      acutPrintf("\ninit %s", acedGetAppName());
#ifdef TESTAPP_REFUSES
      return AcRx::kRetError;
#endif
#ifdef TESTAPP_LOADER
      std::string own = acedGetAppName();
      own = own.substr(0, own.find_last_of('/') + 1) + "TestApp.arx";
      const bool ok = acrxDynamicLinker->loadModule(own.c_str(), true, false);
      acutPrintf("\nloader %s, back in %s", ok ? "loaded" : "failed", acedGetAppName());
      kGroup = "TESTLOADER_GROUP";
      acedRegCmds->addCommand(kGroup, "TLOADERHELLO", "TLOADERHELLO", ACRX_CMD_MODAL, Hello);
#else
      acedRegCmds->addCommand(kGroup, "THELLO", "THELLO", ACRX_CMD_MODAL, Hello);
      acedRegCmds->addCommand(kGroup, "TPOST", "TPOST", ACRX_CMD_MODAL, PostHello);
#endif
      break;
    }
    case AcRx::kUnloadAppMsg:
#ifdef TESTAPP_LOADER
      acrxDynamicLinker->unloadModule("TestApp.arx", false);
#endif
      acedRegCmds->removeGroup(kGroup);
      acutPrintf("\nunload %s", acedGetAppName());
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

ACRX_EXPORT int acrxGetApiVersion() { return TESTAPP_API; }
