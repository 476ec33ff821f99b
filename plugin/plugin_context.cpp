#include "plugin/plugin_context.h"

#include <filesystem>

namespace vex {

PluginContext& Plugin() {
  static PluginContext context;
  return context;
}

HeaderLibrary& PluginContext::Headers() {
  if (!headers || headers->Root() != HeaderLibrary(where.headerRoot).Root())
    headers = std::make_unique<HeaderLibrary>(where.headerRoot);
  return *headers;
}

void PluginContext::SetUpFolders(const std::string& pluginPath) {
  where = Locations::ForInstallFolder(InstallFolderOfModule(pluginPath));
  std::error_code ec;
  if (!where.headerRoot.empty()) std::filesystem::create_directories(where.headerRoot, ec);
  if (!where.languageFolder.empty()) std::filesystem::create_directories(where.languageFolder, ec);
}

}  // namespace vex
