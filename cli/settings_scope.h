#pragma once
// Where a batch command finds the settings: the file given with --ini, or the installed
// settings file of the install folder above the program's folder. The texts of the language
// packs come from the language folder beside the settings file; when it has no pack for the
// configured language, from the built-in packs (written to a private folder that goes away
// with the scope), so that a report never writes into the user's folders.

#include <optional>
#include <string>

#include "settings/locations.h"

namespace vex::cli {

class SettingsScope {
 public:
  // Makes the locations active for the life of the scope.
  explicit SettingsScope(const std::optional<std::string>& iniPath);
  ~SettingsScope();
  SettingsScope(const SettingsScope&) = delete;
  SettingsScope& operator=(const SettingsScope&) = delete;

  const Locations& where() const { return where_; }
  // "" when the settings file is missing (defaults) or readable; else why it cannot be read.
  const std::string& problem() const { return problem_; }

 private:
  Locations where_;
  Locations previous_;
  std::string privatePacks_;
  std::string problem_;
};

}  // namespace vex::cli
