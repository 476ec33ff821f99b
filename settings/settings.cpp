#include "settings/settings.h"

#include "settings/language_pack.h"

namespace vex {

using platform::FileResult;

void LayerEntry::Load(std::string_view section, const ProfileFile& file) {
  LayerTag = file.GetString(section, "LayerTag", LayerTag);
  Name = file.GetString(section, "Name", Name);
  Color = file.GetInt(section, "Color", Color);
  LineType = file.GetString(section, "LineType", LineType);
}

FileResult LayerEntry::Save(std::string_view section, const ProfileFile& file) const {
  for (const auto& r : {file.PutString(section, "LayerTag", LayerTag),
                        file.PutString(section, "Name", Name), file.PutInt(section, "Color", Color),
                        file.PutString(section, "LineType", LineType)})
    if (!r) return r;
  return {};
}

void TextStyleEntry::Load(std::string_view section, const ProfileFile& file) {
  TextTag = file.GetString(section, "TextTag", TextTag);
  StyleName = file.GetString(section, "StyleName", StyleName);
  FontName = file.GetString(section, "FontName", FontName);
  BigFontName = file.GetString(section, "BigFontName", BigFontName);
  Height = file.GetDouble(section, "Height", Height);
  WidthFactor = file.GetDouble(section, "WidthFactor", WidthFactor);
}

FileResult TextStyleEntry::Save(std::string_view section, const ProfileFile& file) const {
  for (const auto& r : {file.PutString(section, "TextTag", TextTag),
                        file.PutString(section, "StyleName", StyleName),
                        file.PutString(section, "FontName", FontName),
                        file.PutString(section, "BigFontName", BigFontName),
                        file.PutDouble(section, "Height", Height),
                        file.PutDouble(section, "WidthFactor", WidthFactor)})
    if (!r) return r;
  return {};
}

void ExcelSettings::Load(std::string_view section, const ProfileFile& file) {
  ExcelRowHeight = file.GetInt(section, "ExcelRowHeight", ExcelRowHeight);
  ExcelScale = file.GetDouble(section, "ExcelScale", ExcelScale);
  ExcelFontHeight = file.GetDouble(section, "ExcelFontHeight", ExcelFontHeight);
  ExcelTurnType = file.GetInt(section, "ExcelTurnType", ExcelTurnType);
}

FileResult ExcelSettings::Save(std::string_view section, const ProfileFile& file) const {
  for (const auto& r : {file.PutInt(section, "ExcelRowHeight", ExcelRowHeight),
                        file.PutDouble(section, "ExcelScale", ExcelScale),
                        file.PutDouble(section, "ExcelFontHeight", ExcelFontHeight),
                        file.PutInt(section, "ExcelTurnType", ExcelTurnType)})
    if (!r) return r;
  return {};
}

void Settings::Load(std::string_view section, const ProfileFile& file) {
  Sideline.Load("Sideline", file);
  Inline.Load("Inline", file);
  Text.Load("Text", file);
  Table.Load("Table", file);
  PlotScale = file.GetDouble(section, "PlotScale", PlotScale);
  TurnTextEnable = file.GetInt("TURN_TEXT", "ENABLE", TurnTextEnable);
  Excel.Load("EXCEL_SETUP", file);
}

FileResult Settings::Save(std::string_view section, const ProfileFile& file) const {
  if (auto r = Sideline.Save("Sideline", file); !r) return r;
  if (auto r = Inline.Save("Inline", file); !r) return r;
  if (auto r = Text.Save("Text", file); !r) return r;
  if (auto r = Table.Save("Table", file); !r) return r;
  if (auto r = file.PutDouble(section, "PlotScale", PlotScale); !r) return r;
  if (auto r = file.PutInt("TURN_TEXT", "ENABLE", TurnTextEnable); !r) return r;
  return Excel.Save("EXCEL_SETUP", file);
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

TextStyleEntry ReadTextStyle(std::string_view section, const ProfileFile& file) {
  TextStyleEntry style;
  style.Load(section, file);
  if (style.BigFontName == Text("IDS_B_BIG_FONT_INFO") ||
      style.BigFontName == Text("IDS_B_BIG_FONT_INFO_SEL"))
    style.BigFontName.clear();
  return style;
}

ExcelSettings ReadExcelSettings(const ProfileFile& file) {
  ExcelSettings excel;
  excel.Load("EXCEL_SETUP", file);
  return excel;
}

}  // namespace vex

