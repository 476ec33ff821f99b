#include "cli/settings_command.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "platform/atomic_file.h"
#include "settings/language_pack.h"
#include "settings/locations.h"
#include "settings/replacement.h"
#include "settings/settings.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

Json LayerJson(const LayerEntry& l) {
  return Json{{"LayerTag", l.LayerTag}, {"Name", l.Name}, {"Color", l.Color}, {"LineType", l.LineType}};
}

// A private folder holding the built-in packs, for a settings file whose own language folder
// has none: the report then shows the texts an installed plug-in would write out and use.
class BuiltinPackFolder {
 public:
  BuiltinPackFolder() {
    std::string tmpl = (fs::temp_directory_path() / "vextable-lang-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) return;
    path_ = tmpl + "/";
    platform::WriteFileAtomically(path_ + "English.ini", BuiltinPack(kEnglishPackId));
    platform::WriteFileAtomically(path_ + "Chinese.ini", BuiltinPack(kChinesePackId));
  }
  ~BuiltinPackFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  BuiltinPackFolder(const BuiltinPackFolder&) = delete;
  BuiltinPackFolder& operator=(const BuiltinPackFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

int RunSettings(const std::vector<std::string>& args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"--ini"}, {}, error);
  if (!parsed || !parsed->positional.empty()) {
    std::fprintf(stderr, "vextable settings: %s\nusage: vextable settings [--ini PATH]\n",
                 parsed ? "unexpected argument" : error.c_str());
    return 2;
  }

  Locations where;
  if (const auto ini = parsed->Option("--ini")) {
    const fs::path p(*ini);
    where.installFolder = p.has_parent_path() ? p.parent_path().string() + "/" : "";
    where.settingsFile = *ini;
    where.languageFolder = where.installFolder + "Language/";
  } else {
    where = Locations::ForInstallFolder(InstallFolderOfModule(ProgramPath()));
  }

  // A missing file means defaults; a path that exists but cannot be read is an error.
  std::error_code ec;
  if (fs::exists(where.settingsFile, ec)) {
    std::string content;
    if (auto r = platform::ReadWholeFile(where.settingsFile, content, std::size_t(64) << 20); !r) {
      std::fprintf(stderr, "vextable settings: %s\n", r.error.c_str());
      return 1;
    }
  }

  BuiltinPackFolder fallback;
  const LanguagePack installed(where.languageFolder, where.settingsFile);
  if (!fs::exists(installed.PackPath(installed.ActiveLanguage()), ec))
    where.languageFolder = fallback.path();
  SetActiveLocations(where);

  const ProfileFile file(where.settingsFile);
  const TextStyleEntry style = ReadTextStyle("Table", file);
  const ExcelSettings excel = ReadExcelSettings(file);
  ReplacementList replacements;
  replacements.LoadReplacements(file);
  Json items = Json::array();
  for (const ReplacementItem& item : replacements.UsableItems())
    items.push_back(Json::array({item.input, item.replacement, item.description}));

  Json out;
  out["BASE SETTING"] = Json{{"PlotScale", ReadPlotScale(file)}};
  for (const char* role : {"Sideline", "Inline", "Text"}) out[role] = LayerJson(ReadLayer(role, file));
  out["Table"] = Json{{"TextTag", style.TextTag},         {"StyleName", style.StyleName},
                      {"FontName", style.FontName},       {"BigFontName", style.BigFontName},
                      {"Height", style.Height},           {"WidthFactor", style.WidthFactor}};
  out["TURN_TEXT"] = Json{{"ENABLE", file.GetInt("TURN_TEXT", "ENABLE", 1)}, {"Items", items}};
  out["EXCEL_SETUP"] = Json{{"ExcelRowHeight", excel.ExcelRowHeight},
                            {"ExcelScale", excel.ExcelScale},
                            {"ExcelFontHeight", excel.ExcelFontHeight},
                            {"ExcelTurnType", excel.ExcelTurnType}};
  out["Setting"] = Json{{"Language", installed.ActiveLanguage()}};
  std::puts(out.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
  return 0;
}

}  // namespace vex::cli
