// An application for the host's tests. Its variants (compile definitions) stay locked, report
// an old interface version, refuse to initialise, or load the plain variant from their own
// folder the way a loader application does.

#include <csignal>
#include <stdexcept>
#include <string>

#include "cadhost/sdk/aced.h"

#ifndef TESTAPP_API
#define TESTAPP_API ACRX_API_VERSION
#endif

namespace {

const char* kGroup = "TESTAPP_GROUP";

[[maybe_unused]] void Hello() { acutPrintf("\nhello from %s", acedGetAppName()); }

// Prints what a point prompt answered: the result code and the point.
[[maybe_unused]] void AskPoint() {
  ads_point p = {0, 0, 0};
  const int rc = acedGetPoint(nullptr, "\nPoint: ", p);
  acutPrintf("\npoint rc=%d %g,%g,%g", rc, p[X], p[Y], p[Z]);
}

// Unloads the application from its own command: its code runs on after the unload returns.
[[maybe_unused]] void UnloadSelf() {
  const std::string me = acedGetAppName();
  const bool ok = acrxDynamicLinker->unloadModule(me.c_str());
  acutPrintf("\nself unload %s, now in \"%s\"", ok ? "done" : "failed", acedGetAppName());
}

// Posts a command the way a window of an application does: ESC, the name, ENTER.
[[maybe_unused]] void PostHello() {
  AcApDocument* doc = acDocManager->curDocument();
  if (doc == nullptr) return;
  acDocManager->sendStringToExecute(doc, "\x1b", false, false, false);
  acDocManager->sendStringToExecute(doc, "THELLO", false, false, false);
  acDocManager->sendStringToExecute(doc, "\r", false, false, false);
}

// Selects objects, asks a base point and drags them to a second point, as an application
// places what it drew: hidden, dragged with a translation callback, transformed on a pick.
ads_point g_base;
[[maybe_unused]] int DragCallback(ads_point pt, ads_matrix m) {
  ads_point from, to;
  acdbUcs2Wcs(g_base, from, false);
  acdbUcs2Wcs(pt, to, false);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = r == c ? 1.0 : 0.0;
  m[0][3] = to[X] - from[X];
  m[1][3] = to[Y] - from[Y];
  m[2][3] = to[Z] - from[Z];
  return RTNORM;
}

[[maybe_unused]] void DragPlace() {
  ads_name picked;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, picked) != RTNORM) {
    acutPrintf("\ndrag: nothing selected");
    return;
  }
  ads_name set;
  acedSSAdd(nullptr, nullptr, set);
  Adesk::Int32 n = 0;
  acedSSLength(picked, &n);
  for (Adesk::Int32 i = 0; i < n; ++i) {
    ads_name ent;
    acedSSName(picked, i, ent);
    acedRedraw(ent, 2);
    acedSSAdd(ent, set, set);
  }
  acedSSFree(picked);
  int rc = acedGetPoint(nullptr, "\nBase point: ", g_base);
  if (rc == RTNORM) {
    ads_point to;
    rc = acedDragGen(set, "\nSecond point: ", 0, DragCallback, to);
    if (rc == RTNORM) {
      ads_matrix m;
      DragCallback(to, m);
      acedXformSS(set, m);
    }
  }
  acutPrintf("\ndrag rc=%d", rc);
  acedSSFree(set);
}

// Draws a line and then breaks half way, as a faulty application does: by a bad memory access
// or by an exception.
[[maybe_unused]] void DrawLineFirst() {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTableRecord* ms = nullptr;
  if (acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return;
  auto* line = new AcDbLine(AcGePoint3d(7, 7, 0), AcGePoint3d(8, 8, 0));
  if (ms->appendAcDbEntity(line) == Acad::eOk) line->close();
  // The block stays open for write: the fault leaves it so.
}

[[maybe_unused]] void Crash() {
  DrawLineFirst();
  // The signal a stray pointer brings, raised as such: a sanitizer build would stop a real
  // null store itself before the host saw the fault.
  std::raise(SIGSEGV);
}

[[maybe_unused]] void Throw() {
  DrawLineFirst();
  throw std::runtime_error("the table is upside down");
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
      acedRegCmds->addCommand(kGroup, "TPOINT", "TPOINT", ACRX_CMD_MODAL, AskPoint);
      acedRegCmds->addCommand(kGroup, "TPOST", "TPOST", ACRX_CMD_MODAL, PostHello);
      acedRegCmds->addCommand(kGroup, "TDRAG", "TDRAG", ACRX_CMD_MODAL, DragPlace);
      acedRegCmds->addCommand(kGroup, "TUNLOADSELF", "TUNLOADSELF", ACRX_CMD_MODAL, UnloadSelf);
      acedRegCmds->addCommand(kGroup, "TCRASH", "TCRASH", ACRX_CMD_MODAL, Crash);
      acedRegCmds->addCommand(kGroup, "TTHROW", "TTHROW", ACRX_CMD_MODAL, Throw);
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
