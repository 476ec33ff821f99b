#include "setup/setup_keys.h"

namespace vex::setup {

std::string ReleaseShortName(std::string_view releaseKey) {
  return std::string(releaseKey.substr(0, releaseKey.find('.')));
}

std::string HostProductKey(std::string_view release, std::string_view product) {
  return std::string(kHostKey) + "\\" + std::string(release) + "\\" + std::string(product);
}

std::string ApplicationKey(std::string_view release, std::string_view product) {
  return HostProductKey(release, product) + "\\Applications\\" + std::string(kApplication);
}

std::string ProfilesKey(std::string_view release, std::string_view product) {
  return HostProductKey(release, product) + "\\Profiles";
}

std::string ProfileKey(std::string_view release, std::string_view product, std::string_view profile) {
  return ProfilesKey(release, product) + "\\" + std::string(profile);
}

std::string StartupKey() { return std::string(kProductKey) + "\\DefaultAcadProfile"; }

std::string ReleaseSubkey(int release) { return std::string(kProductKey) + "\\R" + std::to_string(release); }

std::string LoaderPath(std::string_view installFolder, int release) {
  return std::string(installFolder) + "Sys" + std::to_string(release) + "/" + std::string(kLoaderFile);
}

}  // namespace vex::setup
