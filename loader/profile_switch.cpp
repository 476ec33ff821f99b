#include "loader/profile_switch.h"

namespace vex::loader {

using platform::RegHive;

bool ProfileEnabled(const platform::Registry& reg, std::string_view productKey) {
  const std::string profiles = std::string(productKey) + "\\Profiles";
  const auto current = reg.GetString(RegHive::CurrentUser, profiles, "");
  if (!current || current->empty() || current->find('\\') != std::string::npos) return false;
  return reg.GetString(RegHive::CurrentUser, profiles + "\\" + *current, kSwitchValue) == kSwitchOn;
}

std::string MainModulePath(std::string_view loaderPath) {
  const auto slash = loaderPath.find_last_of('/');
  const std::string_view folder = slash == std::string_view::npos ? std::string_view() : loaderPath.substr(0, slash + 1);
  return std::string(folder) + std::string(kMainModule);
}

}  // namespace vex::loader
