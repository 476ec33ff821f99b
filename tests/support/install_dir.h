#pragma once
// A scratch install folder made the active locations for one test; the previous locations
// come back when it ends.

#include "settings/locations.h"
#include "support/temp_dir.h"

namespace vex::test {

class InstallDir {
 public:
  InstallDir() : previous_(ActiveLocations()) {
    SetActiveLocations(Locations::ForInstallFolder(dir_.path()));
  }
  ~InstallDir() { SetActiveLocations(previous_); }
  InstallDir(const InstallDir&) = delete;
  InstallDir& operator=(const InstallDir&) = delete;

  const Locations& where() const { return ActiveLocations(); }
  std::string File(const std::string& name) const { return dir_.File(name); }

 private:
  Locations previous_;
  TempDir dir_;
};

}  // namespace vex::test
