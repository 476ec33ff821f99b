#include "settings/settings.h"

#include <cmath>

#include "settings/language_pack.h"

namespace vex {

namespace {

constexpr Field<LayerEntry> kLayerFields[] = {
    {"LayerTag", &LayerEntry::LayerTag},
    {"Name", &LayerEntry::Name},
    {"Color", &LayerEntry::Color},
    {"LineType", &LayerEntry::LineType},
};

constexpr Field<TextStyleEntry> kTextStyleFields[] = {
    {"TextTag", &TextStyleEntry::TextTag},
    {"StyleName", &TextStyleEntry::StyleName},
    {"FontName", &TextStyleEntry::FontName},
    {"BigFontName", &TextStyleEntry::BigFontName},
    {"Height", &TextStyleEntry::Height},
    {"WidthFactor", &TextStyleEntry::WidthFactor},
};

constexpr Field<ExcelSettings> kExcelFields[] = {
    {"ExcelRowHeight", &ExcelSettings::ExcelRowHeight},
    {"ExcelScale", &ExcelSettings::ExcelScale},
    {"ExcelFontHeight", &ExcelSettings::ExcelFontHeight},
    {"ExcelTurnType", &ExcelSettings::ExcelTurnType},
};

template <class Record>
Result SaveRecord(std::string_view section, const ProfileFile& file, const Record& record,
                  std::span<const Field<Record>> fields) {
  ProfileBatch batch;
  SaveFields(batch, section, "", record, fields);
  return batch.Commit(file.Path());
}

}  // namespace

std::span<const Field<LayerEntry>> LayerFields() { return kLayerFields; }
std::span<const Field<TextStyleEntry>> TextStyleFields() { return kTextStyleFields; }
std::span<const Field<ExcelSettings>> ExcelFields() { return kExcelFields; }

void LayerEntry::Load(std::string_view section, const ProfileFile& file) {
  LoadFields(file, section, "", *this, kLayerFields);
}
Result LayerEntry::Save(std::string_view section, const ProfileFile& file) const {
  return SaveRecord(section, file, *this, LayerFields());
}

void TextStyleEntry::Load(std::string_view section, const ProfileFile& file) {
  LoadFields(file, section, "", *this, kTextStyleFields);
}
Result TextStyleEntry::Save(std::string_view section, const ProfileFile& file) const {
  return SaveRecord(section, file, *this, TextStyleFields());
}

void ExcelSettings::Load(std::string_view section, const ProfileFile& file) {
  LoadFields(file, section, "", *this, kExcelFields);
}
Result ExcelSettings::Save(std::string_view section, const ProfileFile& file) const {
  return SaveRecord(section, file, *this, ExcelFields());
}

void Settings::Load(std::string_view section, const ProfileFile& file) {
  // One look at the file for all of the thirty-odd keys.
  const ProfileFile snapshot = file.Snapshot();
  Sideline.Load("Sideline", snapshot);
  Inline.Load("Inline", snapshot);
  Text.Load("Text", snapshot);
  Table.Load("Table", snapshot);
  PlotScale = snapshot.GetDouble(section, "PlotScale", PlotScale);
  TurnTextEnable = snapshot.GetInt("TURN_TEXT", "ENABLE", TurnTextEnable);
  Excel.Load("EXCEL_SETUP", snapshot);
}

Result Settings::Save(std::string_view section, const ProfileFile& file) const {
  ProfileBatch batch;
  SaveFields(batch, "Sideline", "", Sideline, LayerFields());
  SaveFields(batch, "Inline", "", Inline, LayerFields());
  SaveFields(batch, "Text", "", Text, LayerFields());
  SaveFields(batch, "Table", "", Table, TextStyleFields());
  batch.PutDouble(section, "PlotScale", PlotScale);
  batch.PutInt("TURN_TEXT", "ENABLE", TurnTextEnable);
  SaveFields(batch, "EXCEL_SETUP", "", Excel, ExcelFields());
  return batch.Commit(file.Path());
}

double Settings::EffectivePlotScale() const {
  return std::isfinite(PlotScale) && PlotScale > 0.0 ? PlotScale : 1.0;
}

namespace {
bool IsBigFontPlaceholder(const std::string& name, const LanguagePack& language) {
  return name == language.Text("IDS_B_BIG_FONT_INFO") || name == language.Text("IDS_B_BIG_FONT_INFO_SEL");
}
}  // namespace

Settings ReadSettings(const ProfileFile& file, const LanguagePack& language) {
  Settings s;
  s.Load("BASE SETTING", file);
  if (IsBigFontPlaceholder(s.Table.BigFontName, language)) s.Table.BigFontName.clear();
  return s;
}

double ReadPlotScale(const ProfileFile& file) {
  return file.GetDouble("BASE SETTING", "PlotScale", 1.0);
}

LayerEntry ReadLayer(std::string_view role, const ProfileFile& file) {
  LayerEntry layer;
  layer.LayerTag = std::string(role);
  layer.Name = std::string(role);
  layer.Load(role, file);
  return layer;
}

TextStyleEntry ReadTextStyle(std::string_view section, const ProfileFile& file,
                             const LanguagePack& language) {
  TextStyleEntry style;
  style.Load(section, file);
  if (IsBigFontPlaceholder(style.BigFontName, language)) style.BigFontName.clear();
  return style;
}

ExcelSettings ReadExcelSettings(const ProfileFile& file) {
  ExcelSettings excel;
  excel.Load("EXCEL_SETUP", file);
  return excel;
}

}  // namespace vex
