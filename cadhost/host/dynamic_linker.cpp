// Applications: the service registry, loading and unloading ".arx" shared objects, and which
// application's code runs.

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

#include "cadhost/db/object_access.h"
#include "cadhost/host/host_state.h"
#include "cadhost/host/module_check.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"

namespace fs = std::filesystem;
using cadhost::AppRecord;
using cadhost::Host;

CADHOST_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)
CADHOST_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)
CADHOST_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)

namespace {

AcRxDynamicLinker g_linker;
AcEdCommandStack g_commandStack;

using ApiVersionFn = int (*)();

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Calls an application's entry point as the running application; an exception thrown out of
// it counts as a refusal instead of ending the host.
AcRx::AppRetCode Send(AppRecord* app, AcRx::AppMsgCode msg) {
  cadhost::AppContextScope scope(app);
  try {
    return app->entry(msg, app);
  } catch (const std::exception& e) {
    acutPrintf("\n%s: %s", FileNameOf(app->path).c_str(), e.what());
  } catch (...) {
    acutPrintf("\n%s: unexpected exception", FileNameOf(app->path).c_str());
  }
  return AcRx::kRetError;
}

// Takes an application off the list and closes its file.
void Discard(AppRecord* app) {
  Host& h = Host::Get();
  h.RemoveCommandsOf(app);
  auto it = std::find_if(h.apps.begin(), h.apps.end(),
                         [app](const auto& a) { return a.get() == app; });
  if (it == h.apps.end()) return;
  std::unique_ptr<AppRecord> owned = std::move(*it);
  h.apps.erase(it);
  const bool running =
      std::find(h.appContext.begin(), h.appContext.end(), app) != h.appContext.end();
  std::replace(h.appContext.begin(), h.appContext.end(), app, static_cast<AppRecord*>(nullptr));
  if (owned->handle == nullptr) return;
  // An application that unloads itself from its own command still has code on the stack:
  // its file is closed once the command has returned.
  if (running) h.deferredClose.push_back(owned->handle);
  else ::dlclose(owned->handle);
}

// Sets a flag of the application with handle `appId`; false for an unknown handle.
bool SetFlag(void* appId, bool AppRecord::*flag, bool value) {
  AppRecord* app = Host::Get().FindApp(appId);
  if (app == nullptr) return false;
  app->*flag = value;
  return true;
}

AppRecord* FindByName(const std::string& name) {
  Host& h = Host::Get();
  const bool bare = name.find('/') == std::string::npos;
  std::string full;
  if (!bare) {
    std::error_code ec;
    const fs::path canon = fs::weakly_canonical(name, ec);
    full = ec ? name : canon.string();
  }
  for (const auto& a : h.apps) {
    if (bare ? cadhost::SameName(FileNameOf(a->path), name) : a->path == full) return a.get();
  }
  return nullptr;
}

}  // namespace

namespace cadhost {

AppRecord* Host::FindApp(void* appId) const {
  for (const auto& a : apps)
    if (a.get() == appId) return a.get();
  return nullptr;
}

void Host::CloseDeferredModules() {
  if (!appContext.empty()) return;
  for (void* handle : deferredClose) ::dlclose(handle);
  deferredClose.clear();
}

// Unloads every application, newest first, whether it is locked or not.
void UnloadAllApplications() {
  Host& h = Host::Get();
  while (!h.apps.empty()) {
    AppRecord* app = h.apps.back().get();
    if (!app->unloading) {
      app->unloading = true;
      Send(app, AcRx::kUnloadAppMsg);
    }
    Discard(app);
  }
}

}  // namespace cadhost

AcRxObject* AcRxDictionary::at(const ACHAR* key) const {
  if (key == nullptr) return nullptr;
  if (cadhost::SameName(key, ACRX_DYNAMIC_LINKER)) return &g_linker;
  if (cadhost::SameName(key, ACRX_COMMAND_DOCK)) return &g_commandStack;
  return nullptr;
}

AcRxDictionary* acrxSysRegistry() {
  static AcRxDictionary registry;
  return &registry;
}

bool AcRxDynamicLinker::loadModule(const ACHAR* fileName, bool printit, bool) {
  if (fileName == nullptr || *fileName == '\0') return false;
  auto fail = [&](const std::string& why) {
    if (printit) acutPrintf("\nUnable to load %s: %s", fileName, why.c_str());
    return false;
  };
  std::string found;
  if (acedFindFile(fileName, found) != RTNORM) return fail("file not found");
  std::error_code ec;
  const fs::path canon = fs::canonical(found, ec);
  const std::string path = ec ? found : canon.string();
  Host& h = Host::Get();
  for (const auto& a : h.apps)
    if (a->path == path) return !a->unloading;

  if (const std::string problem = cadhost::ModuleFileProblem(path); !problem.empty()) return fail(problem);
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* err = ::dlerror();
    return fail(err != nullptr ? err : "not a loadable module");
  }
  auto entry = reinterpret_cast<cadhost::EntryPointFn>(::dlsym(handle, "acrxEntryPoint"));
  auto version = reinterpret_cast<ApiVersionFn>(::dlsym(handle, "acrxGetApiVersion"));
  if (entry == nullptr || version == nullptr) {
    ::dlclose(handle);
    return fail("not an application (it exports no acrxEntryPoint or acrxGetApiVersion)");
  }
  const int v = version();
  if (v < ACRX_API_VERSION_MIN || v > ACRX_API_VERSION) {
    ::dlclose(handle);
    return fail("built for interface version " + std::to_string(v) + ", this host takes " +
                std::to_string(ACRX_API_VERSION_MIN) + " to " + std::to_string(ACRX_API_VERSION));
  }
  auto record = std::make_unique<AppRecord>();
  record->path = path;
  record->handle = handle;
  record->entry = entry;
  AppRecord* app = record.get();
  h.apps.push_back(std::move(record));
  if (Send(app, AcRx::kInitAppMsg) != AcRx::kRetOK) {
    Discard(app);
    return fail("the application refused to initialise");
  }
  if (printit) acutPrintf("\n%s loaded.", FileNameOf(path).c_str());
  return true;
}

bool AcRxDynamicLinker::unloadModule(const ACHAR* fileName, bool) {
  if (fileName == nullptr || *fileName == '\0') return false;
  AppRecord* app = FindByName(fileName);
  if (app == nullptr || app->locked || app->unloading) return false;
  app->unloading = true;
  Send(app, AcRx::kUnloadAppMsg);
  Discard(app);
  return true;
}

bool AcRxDynamicLinker::unlockApplication(void* appId) {
  return SetFlag(appId, &AppRecord::locked, false);
}

bool AcRxDynamicLinker::lockApplication(void* appId) {
  return SetFlag(appId, &AppRecord::locked, true);
}

bool AcRxDynamicLinker::isApplicationLocked(const ACHAR* fileName) const {
  const AppRecord* app = fileName != nullptr ? FindByName(fileName) : nullptr;
  return app != nullptr && app->locked;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) {
  return SetFlag(appId, &AppRecord::mdiAware, true);
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) {
  return SetFlag(appId, &AppRecord::mdiAware, false);
}

std::vector<std::string> AcRxDynamicLinker::loadedApplications() const {
  std::vector<std::string> out;
  for (const auto& a : Host::Get().apps) out.push_back(a->path);
  return out;
}

const ACHAR* acedGetAppName() {
  const auto& stack = Host::Get().appContext;
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    if (*it != nullptr) return (*it)->path.c_str();
  return "";
}

const ACHAR* acrxProductKey() { return "Software\\Autodesk\\AutoCAD\\R16.0\\CADHOST-1:409"; }
