#include "settings/settings_dialog_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "draw/catalogues.h"
#include "platform/text_util.h"
#include "settings/language_pack.h"
#include "settings/replacement.h"

namespace vex {

double PlotScaleSpin(double v, bool up) {
  if (up) {
    if (v < 1) return v;
    if (v < 5) return v + 1;
    if (v < 100) return v + 5;
    return v + 50;
  }
  if (v <= 1) return v;
  const double next = v <= 5 ? v - 1 : v <= 100 ? v - 5 : v - 50;
  return next < 0 ? v : next;
}

double RefreshedPlotScale(double v) { return std::isfinite(v) && v >= 0.000001 ? v : 1.0; }

ExcelFieldsOpen ExcelFieldsFor(int excelTurnType) {
  ExcelFieldsOpen open;
  if (excelTurnType == 0) open.rowHeight = open.fontHeight = false;
  else if (excelTurnType == 1) open.scale = false;
  return open;
}

bool IsNumberText(std::string_view text) {
  const std::string_view t = platform::TrimBlanks(text);
  if (t.empty() || !(t[0] == '-' || (t[0] >= '0' && t[0] <= '9'))) return false;
  bool point = false;
  for (std::size_t i = 1; i < t.size(); ++i) {
    if (t[i] >= '0' && t[i] <= '9') continue;
    if (t[i] != '.' || point || (i == 1 && t[0] == '-')) return false;
    point = true;
  }
  return true;
}

std::string OneDecimal(std::string_view numberText) {
  return platform::FormatFixed(platform::ParseLeadingDouble(platform::TrimBlanks(numberText)), 1);
}

std::vector<FontChoice> FontChoices(const std::vector<std::string>& shapeFonts,
                                    const std::vector<std::string>& systemFamilies) {
  std::vector<FontChoice> out;
  std::vector<std::string> stems;
  for (const std::string& f : shapeFonts) {
    out.push_back({f, true});
    std::string stem = f;
    if (stem.size() > 4 && platform::EqualsNoCase(std::string_view(stem).substr(stem.size() - 4), ".shx"))
      stem.resize(stem.size() - 4);
    stems.push_back(platform::AsciiLower(stem));
  }
  for (const std::string& family : systemFamilies)
    if (std::find(stems.begin(), stems.end(), platform::AsciiLower(family)) == stems.end())
      out.push_back({family, false});
  return out;
}

std::string BigFontCellAfterFontChoice(std::string_view font, std::string_view bigFontCell,
                                       const std::vector<std::string>& shapeFonts, const LanguagePack& language) {
  const std::string none = language.Text("IDS_B_BIG_FONT_INFO");
  if (std::find(shapeFonts.begin(), shapeFonts.end(), font) == shapeFonts.end()) return none;
  return bigFontCell == none ? language.Text("IDS_B_BIG_FONT_INFO_SEL") : std::string(bigFontCell);
}

bool BigFontChoosable(std::string_view bigFontCell, const LanguagePack& language) {
  return bigFontCell != language.Text("IDS_B_BIG_FONT_INFO");
}

TextStyleRow ShowTextStyle(const TextStyleEntry& style) {
  return {style.StyleName, style.FontName, style.BigFontName, platform::FormatFixed(style.Height, 1),
          platform::FormatFixed(style.WidthFactor, 1)};
}

TextStyleEntry ReadTextStyleRow(const TextStyleRow& row) {
  TextStyleEntry s;
  s.TextTag = "Table";
  s.StyleName = row.styleName;
  s.FontName = row.font;
  s.BigFontName = row.bigFont;
  s.Height = platform::ParseLeadingDouble(row.height);
  s.WidthFactor = platform::ParseLeadingDouble(row.widthFactor);
  return s;
}

LayerRow ShowLayer(const LayerEntry& layer) {
  return {layer.Name, platform::FormatInt(layer.Color), layer.LineType};
}

LayerEntry ReadLayerRow(int index, const LayerRow& row) {
  static constexpr const char* kRoles[] = {"Sideline", "Inline", "Text"};
  LayerEntry e;
  e.LayerTag = kRoles[std::clamp(index, 0, 2)];
  e.Name = row.name;
  e.Color = platform::ParseLeadingInt(row.color);
  e.LineType = row.lineType;
  return e;
}

int LinetypeRow(const std::vector<LinetypeEntry>& entries, std::string_view current) {
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (platform::EqualsNoCase(entries[i].name, current)) return static_cast<int>(i);
  return 0;
}

std::vector<ReplacementRow> DefaultReplacementRows(const LanguagePack& language) {
  std::vector<ReplacementRow> rows;
  for (const std::string& item : ReplacementList::DefaultItems(language))
    if (const auto parsed = ReplacementList::ParseItem(item))
      rows.push_back({parsed->input, parsed->replacement, parsed->description});
  return rows;
}

std::vector<ReplacementRow> LoadReplacementRows(const ProfileFile& file, const LanguagePack& language) {
  const int count = file.GetInt("TURN_TEXT", "Count", -1);
  if (count == -1) return DefaultReplacementRows(language);
  std::vector<ReplacementRow> rows;
  // A hand-edited count must not make the dialog read millions of absent keys.
  for (int i = 0; i < std::min(count, 65536); ++i) {
    const auto parsed = ReplacementList::ParseItem(file.GetString("TURN_TEXT", "Item" + std::to_string(i), ""));
    rows.push_back(parsed ? ReplacementRow{parsed->input, parsed->replacement, parsed->description}
                          : ReplacementRow{"", "", ""});
  }
  return rows;
}

Result SaveReplacementRows(const std::vector<ReplacementRow>& rows, const ProfileFile& file) {
  ProfileBatch batch;
  batch.PutInt("TURN_TEXT", "Count", static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::string item;
    for (std::size_t c = 0; c < rows[i].size(); ++c) item += (c ? "," : "") + rows[i][c];
    batch.PutString("TURN_TEXT", "Item" + std::to_string(i), item);
  }
  return batch.Commit(file.Path());
}

std::vector<ReplacementRow> WithoutRows(std::vector<ReplacementRow> items, std::vector<int> selected) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  for (auto it = selected.rbegin(); it != selected.rend(); ++it)
    if (*it >= 0 && *it < static_cast<int>(items.size())) items.erase(items.begin() + *it);
  return items;
}

std::vector<int> LayerColumnWidths(int listWidth) {
  return {listWidth / 5, listWidth / 3, listWidth / 8, listWidth / 3};
}

std::vector<int> TextStyleColumnWidths(int listWidth) {
  return {listWidth * 96 / 600, listWidth * 96 / 600, listWidth * 2 / 9,
          listWidth * 2 / 9,    listWidth / 10,       listWidth * 103 / 800};
}

}  // namespace vex
