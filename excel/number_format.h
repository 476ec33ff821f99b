#pragma once
// The text a spreadsheet shows for a cell value under its number format code: General, fixed
// decimals, thousands separators, percent, scientific, dates and times, text. Formats this
// does not know (fractions, conditions) show as General. Column width is not considered: a
// number that does not fit is never shown as "###".

#include <string>
#include <string_view>

namespace vex::excel {

// The code of a built-in number format id of the workbook format ("General" for 0 and for ids
// that have none).
std::string_view BuiltInNumberFormat(int id);

// A number as the General format shows it in a column of standard width: at most 11
// characters besides the sign, trailing zeros dropped, scientific for very large or very small
// magnitudes ("1.23457E+11").
std::string FormatGeneral(double value);

// `value` under `code`. Serial date values count days from 1900 (the spreadsheet's own
// calendar, with its 29 February 1900) or, with `date1904`, from 1904.
std::string FormatNumber(double value, std::string_view code, bool date1904 = false);

// A text value under `code`: its text section with "@" standing for the text, or the text.
std::string FormatText(std::string_view text, std::string_view code);

}  // namespace vex::excel
