#include "setup/host_products.h"

#include "setup/setup_keys.h"

namespace vex::setup {

using platform::RegHive;

std::string HostProduct::InLocation(std::string_view name) const {
  std::string folder = location;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty()) return {};
  if (folder.back() != '/') folder += '/';
  return folder + std::string(name);
}

std::vector<HostProduct> FindHostProducts(const platform::Registry& reg) {
  std::vector<HostProduct> found;
  for (const std::string& release : reg.SubKeys(RegHive::LocalMachine, kHostKey)) {
    for (const std::string& product : reg.SubKeys(RegHive::LocalMachine, std::string(kHostKey) + "\\" + release)) {
      const std::string key = HostProductKey(release, product);
      HostProduct p;
      p.release = release;
      p.product = product;
      p.location = reg.GetString(RegHive::LocalMachine, key, "AcadLocation").value_or("");
      p.name = reg.GetString(RegHive::LocalMachine, key, "ProductName").value_or("");
      p.language = reg.GetString(RegHive::LocalMachine, key, "Language").value_or("");
      p.profiles = reg.SubKeys(RegHive::CurrentUser, ProfilesKey(release, product));
      found.push_back(std::move(p));
    }
  }
  return found;
}

}  // namespace vex::setup
