#pragma once
// What the loader decides before it loads the main plug-in: whether the host's current
// profile has VexTable switched on, and where the main plug-in lies.

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace vex::loader {

// The main plug-in's file name; it lies in the loader's own folder.
inline constexpr std::string_view kMainModule = "VexTable.arx";
// The value of a profile's key that switches VexTable on, and the one text that does.
inline constexpr std::string_view kSwitchValue = "LoadVexTable";
inline constexpr std::string_view kSwitchOn = "TRUE";

// True when the current profile of the host product `productKey` (as acrxProductKey gives it)
// is switched on: the default value of HKCU "<productKey>\Profiles" names the current profile,
// and that profile's key holds "LoadVexTable" = "TRUE" exactly. A missing key or value, another
// text ("true", "FALSE") or a value that is no string counts as off, as does a profile name
// holding '\' (it would name another key).
bool ProfileEnabled(const platform::Registry& reg, std::string_view productKey);

// The main plug-in beside the loader: `loaderPath` cut after its last '/', then "VexTable.arx"
// (just the file name when the path has no folder; the host then looks for it).
std::string MainModulePath(std::string_view loaderPath);

}  // namespace vex::loader
