#include "cli/settings_command.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/settings_scope.h"
#include "settings/language_pack.h"
#include "settings/locations.h"
#include "settings/replacement.h"
#include "settings/settings.h"

namespace vex::cli {
namespace {

using Json = nlohmann::ordered_json;

Json LayerJson(const LayerEntry& l) {
  return Json{{"LayerTag", l.LayerTag}, {"Name", l.Name}, {"Color", l.Color}, {"LineType", l.LineType}};
}

}  // namespace

int RunSettings(const std::vector<std::string>& args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"--ini"}, {}, error);
  if (!parsed || !parsed->positional.empty()) {
    std::fprintf(stderr, "vextable settings: %s\nusage: vextable settings [--ini PATH]\n",
                 parsed ? "unexpected argument" : error.c_str());
    return 2;
  }

  const SettingsScope scope(parsed->Option("--ini"));
  if (!scope.problem().empty()) {
    std::fprintf(stderr, "vextable settings: %s\n", scope.problem().c_str());
    return 1;
  }
  const Locations& where = scope.where();
  const LanguagePack installed(where.languageFolder, where.settingsFile);

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
