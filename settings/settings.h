#pragma once
// The settings record of the settings file and the readers other parts use.

#include <string>
#include <string_view>

#include "platform/atomic_file.h"
#include "settings/profile_file.h"

namespace vex {

// A drawing layer: role label, layer name, colour index (1..255) and linetype.
struct LayerEntry {
  std::string LayerTag;
  std::string Name;
  int Color = 7;
  std::string LineType = "CONTINUOUS";

  // Keys LayerTag, Name, Color, LineType; each missing key keeps the current value.
  void Load(std::string_view section, const ProfileFile& file = ProfileFile());
  platform::FileResult Save(std::string_view section, const ProfileFile& file = ProfileFile()) const;
  bool operator==(const LayerEntry&) const = default;
};

// The table text style: role label, style name, font files, height (mm) and width factor.
// BigFontName "" means no big font.
struct TextStyleEntry {
  std::string TextTag = "Table";
  std::string StyleName = "Table";
  std::string FontName = "txt.shx";
  std::string BigFontName = "gbcbig.shx";
  double Height = 3.5;
  double WidthFactor = 0.7;

  // Keys TextTag, StyleName, FontName, BigFontName, Height, WidthFactor.
  void Load(std::string_view section, const ProfileFile& file = ProfileFile());
  platform::FileResult Save(std::string_view section, const ProfileFile& file = ProfileFile()) const;
  bool operator==(const TextStyleEntry&) const = default;
};

// Sizes for the exchange with workbooks. ExcelTurnType 0: sizes follow the scale;
// 1: fixed row height and text height.
struct ExcelSettings {
  int ExcelRowHeight = 10;
  double ExcelScale = 4.0;
  double ExcelFontHeight = 3.0;
  int ExcelTurnType = 0;

  void Load(std::string_view section, const ProfileFile& file = ProfileFile());
  platform::FileResult Save(std::string_view section, const ProfileFile& file = ProfileFile()) const;
  bool operator==(const ExcelSettings&) const = default;
};

struct Settings {
  double PlotScale = 1.0;
  LayerEntry Sideline{"Sideline", "Sideline"};
  LayerEntry Inline{"Inline", "Inline"};
  LayerEntry Text{"Text", "Text"};
  TextStyleEntry Table;
  int TurnTextEnable = 1;
  ExcelSettings Excel;

  // Reads every field, each with its current value as default; PlotScale comes from
  // `section` (callers pass "BASE SETTING").
  void Load(std::string_view section, const ProfileFile& file = ProfileFile());
  // Writes the same keys in the same order: layers Sideline, Inline, Text; style Table;
  // PlotScale; TURN_TEXT/ENABLE; EXCEL_SETUP. Stops at the first failed write.
  platform::FileResult Save(std::string_view section, const ProfileFile& file = ProfileFile()) const;
  bool operator==(const Settings&) const = default;
};

// "BASE SETTING"/"PlotScale", default 1.0.
double ReadPlotScale(const ProfileFile& file = ProfileFile());

// The layer of a role ("Sideline", "Inline" or "Text") as stored in the section of that name.
LayerEntry ReadLayer(std::string_view role, const ProfileFile& file = ProfileFile());

// The text style of `section`, with a big font that equals the active language's "none" or
// "please select" placeholder turned into "" (the settings dialog may store those texts).
TextStyleEntry ReadTextStyle(std::string_view section, const ProfileFile& file = ProfileFile());

// The workbook settings of "EXCEL_SETUP" with the defaults for missing keys.
ExcelSettings ReadExcelSettings(const ProfileFile& file = ProfileFile());

}  // namespace vex
