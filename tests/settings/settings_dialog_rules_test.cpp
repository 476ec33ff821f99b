#include "settings/settings_dialog_rules.h"

#include <gtest/gtest.h>

#include <cmath>

#include "draw/catalogues.h"
#include "support/install_dir.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

TEST(PlotScaleSpin, StepsUpAndDown) {
  std::vector<double> up{4};
  for (int i = 0; i < 3; ++i) up.push_back(PlotScaleSpin(up.back(), true));
  EXPECT_EQ(up, (std::vector<double>{4, 5, 10, 15}));
  EXPECT_EQ(PlotScaleSpin(100, true), 150);
  EXPECT_EQ(PlotScaleSpin(95, true), 100);
  EXPECT_EQ(PlotScaleSpin(0.5, true), 0.5);
  EXPECT_EQ(PlotScaleSpin(10, false), 5);
  EXPECT_EQ(PlotScaleSpin(5, false), 4);
  EXPECT_EQ(PlotScaleSpin(150, false), 100);
  EXPECT_EQ(PlotScaleSpin(1, false), 1);
  EXPECT_EQ(PlotScaleSpin(0.25, false), 0.25);
  EXPECT_EQ(PlotScaleSpin(1.5, false), 0.5);
}

TEST(SettingsRefresh, PlotScaleAndExcelFields) {
  EXPECT_EQ(RefreshedPlotScale(0), 1.0);
  EXPECT_EQ(RefreshedPlotScale(-3), 1.0);
  EXPECT_EQ(RefreshedPlotScale(0.0000009), 1.0);
  EXPECT_EQ(RefreshedPlotScale(0.000001), 0.000001);
  EXPECT_EQ(RefreshedPlotScale(std::nan("")), 1.0);
  const auto byScale = ExcelFieldsFor(0);
  EXPECT_TRUE(byScale.scale);
  EXPECT_FALSE(byScale.rowHeight);
  EXPECT_FALSE(byScale.fontHeight);
  const auto byValue = ExcelFieldsFor(1);
  EXPECT_FALSE(byValue.scale);
  EXPECT_TRUE(byValue.rowHeight);
  EXPECT_TRUE(byValue.fontHeight);
}

TEST(IsNumberText, AsTheTextStyleCellsTakeThem) {
  for (const char* good : {"3", "3.5", " 0.75 ", "-2", "-2.5", "12.", "007"}) EXPECT_TRUE(IsNumberText(good)) << good;
  for (const char* bad : {"", " ", "abc", ".5", "-.5", "1.2.3", "1e3", "+1", "3,5", "--1", "1-"})
    EXPECT_FALSE(IsNumberText(bad)) << bad;
}

TEST(FontChoices, ShapeFontsFirstThenFamiliesOfOtherNames) {
  const auto choices = FontChoices({"txt.shx", "gbcbig.SHX"}, {"DejaVu Sans", "TXT", "Gbcbig", "SimSun"});
  ASSERT_EQ(choices.size(), 4u);
  EXPECT_TRUE(choices[0].shapeFont);
  EXPECT_EQ(choices[1].name, "gbcbig.SHX");
  EXPECT_EQ(choices[2].name, "DejaVu Sans");
  EXPECT_FALSE(choices[2].shapeFont);
  EXPECT_EQ(choices[3].name, "SimSun");
}

TEST(BigFontRule, TrueTypeMeansNoneShapeFontMeansPleaseSelect) {
  test::InstallDir install;
  ASSERT_TRUE(install.Language().StartLanguage(""));
  const LanguagePack en = install.Language();
  const std::vector<std::string> shapes{"txt.shx"};
  const std::string cell = BigFontCellAfterFontChoice("DejaVu Sans", "gbcbig.shx", shapes, en);
  EXPECT_EQ(cell, "None");
  EXPECT_FALSE(BigFontChoosable(cell, en));
  const std::string next = BigFontCellAfterFontChoice("txt.shx", cell, shapes, en);
  EXPECT_EQ(next, "Please Select");
  EXPECT_TRUE(BigFontChoosable(next, en));
  EXPECT_EQ(BigFontCellAfterFontChoice("txt.shx", "gbcbig.shx", shapes, en), "gbcbig.shx");
}

TEST(TextStyleRow, WidthFactorKeepsOneDecimal) {
  TextStyleEntry s;
  s.WidthFactor = 0.75;
  const TextStyleRow shown = ShowTextStyle(s);
  EXPECT_EQ(shown.widthFactor, "0.8");
  EXPECT_EQ(shown.height, "3.5");
  const TextStyleEntry back = ReadTextStyleRow(shown);
  EXPECT_EQ(back.WidthFactor, 0.8);
  EXPECT_EQ(back.TextTag, "Table");
}

TEST(LayerRow, ReadBackTakesTheRoleWordsAndTheNumber) {
  const LayerEntry e = ReadLayerRow(1, LayerRow{"GRID", "3", "DASHED"});
  EXPECT_EQ(e, (LayerEntry{"Inline", "GRID", 3, "DASHED"}));
  EXPECT_EQ(ReadLayerRow(2, ShowLayer(LayerEntry{"x", "T", 250, "CONTINUOUS"})).LayerTag, "Text");
  EXPECT_EQ(LinetypeRow({{"CONTINUOUS", ""}, {"DASHED", ""}}, "dashed"), 1);
  EXPECT_EQ(LinetypeRow({{"CONTINUOUS", ""}}, "NOPE"), 0);
}

TEST(ReplacementRows, DefaultThenOkWritesCountThreeAndTheItems) {
  test::InstallDir install;
  ASSERT_TRUE(install.Language().StartLanguage(""));
  const auto rows = DefaultReplacementRows(install.Language());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (ReplacementRow{"(d)", "%%d", "Degrees"}));
  ASSERT_TRUE(SaveReplacementRows(rows, install.SettingsFile()));
  const ProfileFile f = install.SettingsFile();
  EXPECT_EQ(f.GetInt("TURN_TEXT", "Count", -1), 3);
  EXPECT_EQ(f.GetString("TURN_TEXT", "Item2", ""), "(c),%%c,Diameter");
  EXPECT_EQ(LoadReplacementRows(f, install.Language()), rows);
}

TEST(ReplacementRows, ItemsThatDoNotSplitInThreeGiveEmptyRows) {
  test::InstallDir install;
  test::WriteFile(install.where().settingsFile, "[TURN_TEXT]\nCount=2\nItem0=a,b\nItem1=x,y,z\n");
  const auto rows = LoadReplacementRows(install.SettingsFile(), install.Language());
  EXPECT_EQ(rows, (std::vector<ReplacementRow>{{"", "", ""}, {"x", "y", "z"}}));
}

TEST(ReplacementRows, DeleteRemovesTheSelectedItemsAndIgnoresTheNewItemRow) {
  const std::vector<ReplacementRow> items = {{"a", "1", "x"}, {"b", "2", "y"}, {"c", "3", "z"}, {"d", "4", "w"}};
  // Rows 3 and 1 selected, out of order and twice; 4 is the "(New Item)" row, 9 nothing.
  const auto left = WithoutRows(items, {3, 1, 4, 1, 9, -1});
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0][0], "a");
  EXPECT_EQ(left[1][0], "c");
  EXPECT_TRUE(WithoutRows({}, {0}).empty());
}

TEST(TextStyleRow, ATypedNumberShowsWithOneDecimal) {
  EXPECT_EQ(OneDecimal("0.75"), "0.8");
  EXPECT_EQ(OneDecimal(" 3.5 "), "3.5");
  EXPECT_EQ(OneDecimal("12"), "12.0");
  EXPECT_EQ(OneDecimal("-0.04"), "-0.0");
}

TEST(SettingsLists, ColumnWidthsAreTheirShareOfTheList) {
  EXPECT_EQ(LayerColumnWidths(600), (std::vector<int>{120, 200, 75, 200}));
  EXPECT_EQ(TextStyleColumnWidths(720), (std::vector<int>{115, 115, 160, 160, 72, 92}));
  // Together they never need a horizontal scroll bar.
  for (int w : {100, 437, 1000}) {
    int sum = 0;
    for (int c : TextStyleColumnWidths(w)) sum += c;
    EXPECT_LE(sum, w);
    sum = 0;
    for (int c : LayerColumnWidths(w)) sum += c;
    EXPECT_LE(sum, w);
  }
}

}  // namespace
}  // namespace vex
