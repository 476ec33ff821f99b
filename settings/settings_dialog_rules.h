#pragma once
// What the settings dialog and its two helper dialogs decide, without a window: the plot
// scale's spin steps, which Excel fields are open, the number check of the text style's
// cells, the font and big font choices, and reading the lists back into the settings record.
// The window only shows these and passes the drafter's input in.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "settings/settings.h"

namespace vex {

class LanguagePack;
struct LinetypeEntry;

// One click of the plot scale's spin arrows from `v`: steps of 1 up to 5, 5 up to 100, 50
// beyond; below 1 going up and at 1 or below going down nothing changes.
double PlotScaleSpin(double v, bool up);

// A plot scale below 0.000001 (or not a number) is 1.
double RefreshedPlotScale(double v);

// Which Excel fields the dialog opens: by scale (type 0) the scale only, by value (type 1)
// the row height and the text height.
struct ExcelFieldsOpen {
  bool scale = true;
  bool rowHeight = true;
  bool fontHeight = true;
};
ExcelFieldsOpen ExcelFieldsFor(int excelTurnType);

// Whether a typed height or width factor is a number the list takes (after trimming blanks):
// "-" or a digit first, then digits with at most one ".", and no "." right after a leading "-".
bool IsNumberText(std::string_view text);

// A number the height or width factor cell took (IsNumberText), as the cell shows it: with
// one decimal, as the list shows every height and width factor ("0.75" shows "0.8").
std::string OneDecimal(std::string_view numberText);

// The font drop-down: the shape fonts, then the system's font families whose name is not a
// listed shape font's name without its ".shx" (compared without case).
struct FontChoice {
  std::string name;
  bool shapeFont = false;
};
std::vector<FontChoice> FontChoices(const std::vector<std::string>& shapeFonts,
                                    const std::vector<std::string>& systemFamilies);

// The big font cell after choosing `font`: for a shape font, "None" becomes "Please Select"
// (a big font may now be chosen); for any other font it becomes "None".
std::string BigFontCellAfterFontChoice(std::string_view font, std::string_view bigFontCell,
                                       const std::vector<std::string>& shapeFonts, const LanguagePack& language);

// Whether the big font drop-down opens: not while the cell reads "None".
bool BigFontChoosable(std::string_view bigFontCell, const LanguagePack& language);

// The text style row as shown: height and width factor with one decimal.
struct TextStyleRow {
  std::string styleName, font, bigFont, height, widthFactor;
};
TextStyleRow ShowTextStyle(const TextStyleEntry& style);
// The row read back: role "Table", the shown texts (placeholders as they are), numbers from the
// one-decimal texts.
TextStyleEntry ReadTextStyleRow(const TextStyleRow& row);

// A layer row as shown: name, colour index ("%d"), linetype.
struct LayerRow {
  std::string name, color, lineType;
};
LayerRow ShowLayer(const LayerEntry& layer);
// Row `index` (0 border, 1 inner, 2 text) read back with its role word.
LayerEntry ReadLayerRow(int index, const LayerRow& row);

// The row of `current` in the linetype list (compared without case), or 0.
int LinetypeRow(const std::vector<LinetypeEntry>& entries, std::string_view current);

// The replacement list dialog's rows: input, replacement, description.
using ReplacementRow = std::vector<std::string>;  // three cells
// The rows as the dialog opens them: the built-in items when "TURN_TEXT"/"Count" is missing,
// else Item0..Item(Count-1), each split at "," (a row of three empty cells unless it gives
// exactly three parts).
std::vector<ReplacementRow> LoadReplacementRows(const ProfileFile& file, const LanguagePack& language);
// The built-in three rows in the language's words.
std::vector<ReplacementRow> DefaultReplacementRows(const LanguagePack& language);
// OK: "Count" and Item0.. written in one go, each row's cells joined by ",".
Result SaveReplacementRows(const std::vector<ReplacementRow>& rows, const ProfileFile& file);

// The replacement grid keeps a last row reading "(New Item)" in its first cell; typing into
// it makes it an item and a new such row follows.
inline constexpr std::string_view kNewItemText = "(New Item)";
// The item rows after the Delete button: `items` without the rows of `selected` (indexes into
// `items`; the "(New Item)" row and indexes out of range are ignored), removed from the last
// selected upwards.
std::vector<ReplacementRow> WithoutRows(std::vector<ReplacementRow> items, std::vector<int> selected);

// Column widths of the two lists of the settings dialog, from the list's width: the layer
// list's role, name, colour and linetype (1/5, 1/3, 1/8, 1/3), and the text style list's
// role, style, font, big font, height and width factor (96/600, 96/600, 2/9, 2/9, 1/10,
// 103/800).
std::vector<int> LayerColumnWidths(int listWidth);
std::vector<int> TextStyleColumnWidths(int listWidth);

}  // namespace vex
