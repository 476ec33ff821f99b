#pragma once
// The settings record of the settings file and the readers other parts use. A command reads
// the settings once, at its start, and hands them down; nothing below it reads the file again.

#include <span>
#include <string>
#include <string_view>

#include "model/field.h"
#include "platform/result.h"
#include "settings/profile_file.h"

namespace vex {

class LanguagePack;

// A drawing layer: role label, layer name, colour index (1..255) and linetype.
struct LayerEntry {
  std::string LayerTag;
  std::string Name;
  int Color = 7;
  std::string LineType = "CONTINUOUS";

  // Keys LayerTag, Name, Color, LineType; each missing key keeps the current value.
  void Load(std::string_view section, const ProfileFile& file);
  // The same keys, written in that order in one write.
  Result Save(std::string_view section, const ProfileFile& file) const;
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
  void Load(std::string_view section, const ProfileFile& file);
  Result Save(std::string_view section, const ProfileFile& file) const;
  bool operator==(const TextStyleEntry&) const = default;
};

// Sizes for the exchange with workbooks. ExcelTurnType 0: sizes follow the scale;
// 1: fixed row height and text height.
struct ExcelSettings {
  int ExcelRowHeight = 10;
  double ExcelScale = 4.0;
  double ExcelFontHeight = 3.0;
  int ExcelTurnType = 0;

  // Keys ExcelRowHeight, ExcelScale, ExcelFontHeight, ExcelTurnType.
  void Load(std::string_view section, const ProfileFile& file);
  Result Save(std::string_view section, const ProfileFile& file) const;
  bool operator==(const ExcelSettings&) const = default;
};

// The stored members of each record, in the order they are read and written.
std::span<const Field<LayerEntry>> LayerFields();
std::span<const Field<TextStyleEntry>> TextStyleFields();
std::span<const Field<ExcelSettings>> ExcelFields();

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
  void Load(std::string_view section, const ProfileFile& file);
  // Writes the same keys in the same order, in one write: layers Sideline, Inline, Text; style
  // Table; PlotScale; TURN_TEXT/ENABLE; EXCEL_SETUP.
  Result Save(std::string_view section, const ProfileFile& file) const;

  // The plot scale that drawing and recognition multiply and divide by: the stored one when it
  // is a finite positive number, otherwise 1 (0 would collapse the table, NaN erase it).
  double EffectivePlotScale() const;

  bool operator==(const Settings&) const = default;
};

// Everything a command needs, read at once: Settings::Load("BASE SETTING") with the text
// style's big font cleared as ReadTextStyle clears it.
Settings ReadSettings(const ProfileFile& file, const LanguagePack& language);

// "BASE SETTING"/"PlotScale", default 1.0.
double ReadPlotScale(const ProfileFile& file);

// The layer of a role ("Sideline", "Inline" or "Text") as stored in the section of that name.
LayerEntry ReadLayer(std::string_view role, const ProfileFile& file);

// The text style of `section`, with a big font that equals the language's "none" or "please
// select" placeholder turned into "" (the settings dialog may store those texts).
TextStyleEntry ReadTextStyle(std::string_view section, const ProfileFile& file,
                             const LanguagePack& language);

// The workbook settings of "EXCEL_SETUP" with the defaults for missing keys.
ExcelSettings ReadExcelSettings(const ProfileFile& file);

}  // namespace vex
