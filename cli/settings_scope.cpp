#include "cli/settings_scope.h"

#include <stdlib.h>

#include <filesystem>

#include "platform/process.h"
#include "platform/atomic_file.h"
#include "settings/language_pack.h"

namespace vex::cli {

namespace fs = std::filesystem;

SettingsScope::SettingsScope(const std::optional<std::string>& iniPath) {
  if (iniPath) {
    const fs::path p(*iniPath);
    where_.installFolder = p.has_parent_path() ? p.parent_path().string() + "/" : "";
    where_.settingsFile = *iniPath;
    where_.languageFolder = where_.installFolder + "Language/";
    where_.headerRoot = where_.installFolder + "Title/";
    where_.helpFile = where_.installFolder + "Help/VexTable.html";
  } else {
    where_ = Locations::ForInstallFolder(InstallFolderOfModule(platform::ProgramPath()));
  }

  std::error_code ec;
  if (fs::exists(where_.settingsFile, ec)) {
    std::string content;
    if (auto r = platform::ReadWholeFile(where_.settingsFile, content, std::size_t(64) << 20); !r)
      problem_ = r.message();
  }

  const LanguagePack installed(where_.languageFolder, where_.settingsFile);
  if (!fs::exists(installed.PackPath(installed.ActiveLanguage()), ec)) {
    std::string tmpl = (fs::temp_directory_path() / "vextable-lang-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) != nullptr) {
      privatePacks_ = tmpl + "/";
      const bool written =
          platform::WriteFileAtomically(privatePacks_ + "English.ini", BuiltinPack(kEnglishPackId)).ok() &&
          platform::WriteFileAtomically(privatePacks_ + "Chinese.ini", BuiltinPack(kChinesePackId)).ok();
      // Without them texts read "Not found"; the settings themselves are still right.
      if (written) where_.languageFolder = privatePacks_;
    }
  }
  if (problem_.empty()) settings_ = ReadSettings(file(), language());
}

SettingsScope::~SettingsScope() {
  std::error_code ec;
  if (!privatePacks_.empty()) fs::remove_all(privatePacks_, ec);
}

}  // namespace vex::cli
