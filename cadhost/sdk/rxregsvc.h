#pragma once
// The host's service registry and its dynamic linker: how applications find the host's
// services, load and unload other applications, and learn the host's registry key.

#include <string>
#include <vector>

#include "cadhost/sdk/dbmain.h"
#include "cadhost/sdk/rxdefs.h"

#pragma GCC visibility push(default)

// Names of the services in the system registry.
#define ACRX_DYNAMIC_LINKER "DynamicLinker"
#define ACRX_COMMAND_DOCK "ACAD_REGISTERED_COMMANDS"

// A dictionary of named services. The host owns every entry.
class AcRxDictionary : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDictionary);
  // The entry of `key` (ASCII case ignored), or nullptr.
  AcRxObject* at(const ACHAR* key) const;
  bool has(const ACHAR* key) const { return at(key) != nullptr; }
};

// The host's dictionary of services: "DynamicLinker" and "ACAD_REGISTERED_COMMANDS".
AcRxDictionary* acrxSysRegistry();

// Loads and unloads applications (".arx" shared objects).
class AcRxDynamicLinker : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);

  // Loads the application in `fileName` (a path; a bare name is looked for with acedFindFile),
  // checks its acrxGetApiVersion and sends it kInitAppMsg. True when it is loaded, also when
  // it was loaded already (it is not initialised twice). A missing file, a file that is not an
  // application, a wrong interface version or an application that refuses kInitAppMsg gives
  // false; with `printit` the reason is printed on the command line. An application may load
  // others from its own kInitAppMsg. `asCmd` tells that a command asked (kept for callers).
  bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false);
  // Sends kUnloadAppMsg to the application and unloads it; commands it left registered are
  // removed first, since they would point into unloaded code. `fileName` is matched against
  // the loaded applications by full path, or by file name alone (ASCII case ignored) when it
  // has no '/'. False when no such application is loaded or it is locked (it never called
  // unlockApplication); unloading an application from its own kUnloadAppMsg or from a module
  // being unloaded is safe.
  bool unloadModule(const ACHAR* fileName, bool asCmd = false);
  // Lets the application be unloaded by unloadModule. `appId` is the handle given to
  // acrxEntryPoint; false for an unknown handle.
  bool unlockApplication(void* appId);
  bool lockApplication(void* appId);
  bool isApplicationLocked(const ACHAR* fileName) const;
  // Records that the application works with several open documents.
  bool registerAppMDIAware(void* appId);
  bool registerAppNotMDIAware(void* appId);

  // Full paths of the loaded applications, in load order.
  std::vector<std::string> loadedApplications() const;
};

#define acrxDynamicLinker \
  AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))

// The registry key of the running host product below HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER: "Software\Autodesk\AutoCAD\R16.0\CADHOST-1:409".
const ACHAR* acrxProductKey();

#pragma GCC visibility pop
