// Displayed texts of cell values under their number formats.

#include <gtest/gtest.h>

#include <cmath>

#include "excel/number_format.h"

namespace vex::excel {
namespace {

struct Shown {
  const char* name;
  double value;
  const char* code;
  const char* text;
};

class NumberFormatTest : public ::testing::TestWithParam<Shown> {};

TEST_P(NumberFormatTest, ShowsTheValueAsTheSpreadsheetDoes) {
  const Shown& c = GetParam();
  EXPECT_EQ(FormatNumber(c.value, c.code), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, NumberFormatTest,
    ::testing::Values(
        Shown{"General_third", 1.0 / 3, "General", "0.333333333"},
        Shown{"General_integer", 42, "General", "42"},
        Shown{"General_eleven_characters", 123456.789012, "General", "123456.789"},
        Shown{"General_large_is_scientific", 123456789012.0, "General", "1.23457E+11"},
        Shown{"General_tiny_is_scientific", 1e-12, "General", "1E-12"},
        Shown{"General_negative", -2.5, "General", "-2.5"},
        Shown{"Fixed_two_decimals", 3.14159, "0.00", "3.14"},
        Shown{"Fixed_halves_round_away_from_zero", 2.5, "0", "3"},
        Shown{"Fixed_negative", -3.5, "0", "-4"},
        Shown{"Fixed_optional_decimals", 1.2, "0.0#", "1.2"},
        Shown{"Fixed_optional_decimals_used", 1.25, "0.0#", "1.25"},
        Shown{"Thousands", 1234567, "#,##0", "1,234,567"},
        Shown{"Thousands_decimals", 1234.5678, "#,##0.00", "1,234.57"},
        Shown{"Thousands_scaled", 1234567, "#,##0,\"K\"", "1,235K"},
        Shown{"Negative_section", -1234.5, "#,##0.00;(#,##0.00)", "(1,234.50)"},
        Shown{"Zero_section", 0, "0.00;-0.00;\"nil\"", "nil"},
        Shown{"Percent", 0.256, "0.0%", "25.6%"},
        Shown{"Percent_whole", 0.05, "0%", "5%"},
        Shown{"Scientific", 0.5, "0.00E+00", "5.00E-01"},
        Shown{"Engineering", 12345, "##0.0E+0", "12.3E+3"},
        Shown{"Currency_literal", 0.5, "\"$\"#,##0.00", "$0.50"},
        Shown{"Locale_currency", 7, "[$€-407]0", "€7"},
        Shown{"Colour_ignored", 7, "[Red]0.0", "7.0"},
        Shown{"Date_iso", 45358.58680555555, "yyyy-mm-dd hh:mm", "2024-03-07 14:05"},
        Shown{"Date_us", 45358, "m/d/yyyy", "3/7/2024"},
        Shown{"Date_month_name", 45358, "d-mmm-yy", "7-Mar-24"},
        Shown{"Date_day_name", 45358, "dddd, mmmm d", "Thursday, March 7"},
        Shown{"Date_leap_day_of_1900", 60, "yyyy-mm-dd", "1900-02-29"},
        Shown{"Date_after_the_leap_day", 61, "yyyy-mm-dd", "1900-03-01"},
        Shown{"Time_twelve_hour", 0.58680555555, "h:mm AM/PM", "2:05 PM"},
        Shown{"Time_seconds_rounded", 0.5 + 0.4 / 86400, "hh:mm:ss", "12:00:00"},
        Shown{"Time_elapsed_hours", 1.5, "[h]:mm:ss", "36:00:00"},
        Shown{"Time_tenths", 1.25 / 86400, "mm:ss.0", "00:01.3"},
        Shown{"Fraction_shows_as_General", 1.5, "# ?/?", "1.5"}),
    [](const ::testing::TestParamInfo<Shown>& info) { return std::string(info.param.name); });

TEST(NumberFormat, BuiltInIdsHaveTheirCodes) {
  EXPECT_EQ(BuiltInNumberFormat(0), "General");
  EXPECT_EQ(BuiltInNumberFormat(4), "#,##0.00");
  EXPECT_EQ(BuiltInNumberFormat(14), "m/d/yyyy");
  EXPECT_EQ(BuiltInNumberFormat(49), "@");
  EXPECT_EQ(BuiltInNumberFormat(300), "General");
}

TEST(NumberFormat, TextsUseTheTextSection) {
  EXPECT_EQ(FormatText("abc", "General"), "abc");
  EXPECT_EQ(FormatText("abc", "@"), "abc");
  EXPECT_EQ(FormatText("abc", "0;0;0;\"<\"@\">\""), "<abc>");
}

TEST(NumberFormat, DatesIn1904Calendar) { EXPECT_EQ(FormatNumber(0, "yyyy-mm-dd", true), "1904-01-01"); }

TEST(NumberFormat, NotFiniteValuesShowAnError) { EXPECT_EQ(FormatNumber(std::nan(""), "0.00"), "#NUM!"); }

}  // namespace
}  // namespace vex::excel
