#pragma once
// Where a batch command finds the settings: the file given with --ini, or the installed
// settings file of the install folder above the program's folder. The texts of the language
// packs come from the language folder beside the settings file; when it has no pack for the
// configured language, from the built-in packs (written to a private folder that goes away
// with the scope), so that a report never writes into the user's folders. The settings are
// read once, when the scope is made.

#include <optional>
#include <string>

#include "settings/language_pack.h"
#include "settings/locations.h"
#include "settings/profile_file.h"
#include "settings/settings.h"

namespace vex::cli {

class SettingsScope {
 public:
  explicit SettingsScope(const std::optional<std::string>& iniPath);
  ~SettingsScope();
  SettingsScope(const SettingsScope&) = delete;
  SettingsScope& operator=(const SettingsScope&) = delete;

  const Locations& where() const { return where_; }
  // "" when the settings file is missing (defaults) or readable; else why it cannot be read.
  const std::string& problem() const { return problem_; }

  ProfileFile file() const { return ProfileFile(where_.settingsFile); }
  LanguagePack language() const { return LanguagePack(where_.languageFolder, where_.settingsFile); }
  // The settings as read when the scope was made.
  const Settings& settings() const { return settings_; }

 private:
  Locations where_;
  std::string privatePacks_;
  std::string problem_;
  Settings settings_;
};

}  // namespace vex::cli
