#pragma once
// A scratch install folder for one test: its settings file, language folder and header root.
// Nothing is written until a test writes.

#include "settings/language_pack.h"
#include "settings/locations.h"
#include "settings/profile_file.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace vex::test {

class InstallDir {
 public:
  InstallDir() : where_(Locations::ForInstallFolder(dir_.path())) {}
  InstallDir(const InstallDir&) = delete;
  InstallDir& operator=(const InstallDir&) = delete;

  const Locations& where() const { return where_; }
  std::string File(const std::string& name) const { return dir_.File(name); }
  // The settings file.
  ProfileFile SettingsFile() const { return ProfileFile(where_.settingsFile); }
  LanguagePack Language() const { return LanguagePack(where_.languageFolder, where_.settingsFile); }
  // The settings as a command reads them.
  Settings ReadSettings() const { return vex::ReadSettings(SettingsFile(), Language()); }

 private:
  TempDir dir_;
  Locations where_;
};

}  // namespace vex::test
