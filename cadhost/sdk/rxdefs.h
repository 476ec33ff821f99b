#pragma once
// What the host and an application say to each other when the application is loaded and
// unloaded. An application is a shared object (an ".arx" file) exporting, with C linkage,
// acrxEntryPoint and acrxGetApiVersion.

#pragma GCC visibility push(default)

namespace AcRx {

// Messages the host sends to acrxEntryPoint.
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,    // the application was loaded: register commands, set up
  kUnloadAppMsg = 2,  // the application is about to be unloaded: remove what it registered
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
};

// What acrxEntryPoint answers. kInitAppMsg answered with anything but kRetOK refuses the load:
// the host unloads the file again and loadModule fails.
enum AppRetCode {
  kRetOK = 0,
  kRetError = 3,
};

}  // namespace AcRx

// The interface generation of this host. An application's acrxGetApiVersion must return a
// value from ACRX_API_VERSION_MIN to ACRX_API_VERSION (release 15 applications run unchanged:
// the interface did not change between the two here).
constexpr int ACRX_API_VERSION = 16;
constexpr int ACRX_API_VERSION_MIN = 15;

// Marks the application's two exports; use on their definitions.
#define ACRX_EXPORT extern "C" __attribute__((visibility("default")))

// The two functions an application defines. `appId` is the host's handle of the application,
// to be passed to the dynamic linker's unlockApplication and registerAppMDIAware.
ACRX_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);
ACRX_EXPORT int acrxGetApiVersion();

#pragma GCC visibility pop
