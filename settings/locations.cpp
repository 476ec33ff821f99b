#include "settings/locations.h"

#include <filesystem>

namespace vex {
Locations Locations::ForInstallFolder(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  Locations l;
  l.installFolder = folder;
  if (folder.empty()) return l;
  l.settingsFile = folder + "VexTable.ini";
  l.languageFolder = folder + "Language/";
  l.headerRoot = folder + "Title/";
  l.helpFile = folder + "Help/VexTable.html";
  return l;
}

std::string InstallFolderOfModule(const std::string& modulePath) {
  std::string p = modulePath;
  const auto slash = p.find_last_of('/');
  p.erase(slash == std::string::npos ? 0 : slash + 1);
  while (!p.empty() && p.back() == '/') p.pop_back();
  const auto last = p.find_last_of('/');
  if (last == std::string::npos) return "";
  p.erase(last + 1);
  return p;
}

std::string HelpFileFor(const std::string& helpFile, const std::string& language) {
  constexpr std::string_view kHtml = ".html";
  if (language != "Chinese" || helpFile.size() < kHtml.size() ||
      helpFile.compare(helpFile.size() - kHtml.size(), kHtml.size(), kHtml) != 0)
    return helpFile;
  const std::string chinese = helpFile.substr(0, helpFile.size() - kHtml.size()) + ".zh.html";
  std::error_code ec;
  return std::filesystem::is_regular_file(chinese, ec) ? chinese : helpFile;
}

}  // namespace vex
