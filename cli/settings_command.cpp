#include "cli/settings_command.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/record_json.h"
#include "cli/settings_scope.h"
#include "settings/language_pack.h"
#include "settings/replacement.h"
#include "settings/settings.h"

namespace vex::cli {
namespace {

using Json = nlohmann::ordered_json;

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
  const ProfileFile file = scope.file();
  const LanguagePack language = scope.language();
  const Settings& settings = scope.settings();
  ReplacementList replacements;
  replacements.LoadReplacements(file, language);
  Json items = Json::array();
  for (const ReplacementItem& item : replacements.UsableItems())
    items.push_back(Json::array({item.input, item.replacement, item.description}));

  Json out;
  out["BASE SETTING"] = Json{{"PlotScale", settings.PlotScale}};
  out["Sideline"] = RecordToJson(settings.Sideline, LayerFields());
  out["Inline"] = RecordToJson(settings.Inline, LayerFields());
  out["Text"] = RecordToJson(settings.Text, LayerFields());
  out["Table"] = RecordToJson(settings.Table, TextStyleFields());
  out["TURN_TEXT"] = Json{{"ENABLE", settings.TurnTextEnable}, {"Items", items}};
  out["EXCEL_SETUP"] = RecordToJson(settings.Excel, ExcelFields());
  out["Setting"] = Json{{"Language", language.ActiveLanguage()}};
  std::puts(out.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
  return 0;
}

}  // namespace vex::cli
