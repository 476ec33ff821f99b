#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/language_pack.h"
#include "support/install_dir.h"

namespace vex {
namespace {

using test::InstallDir;
using test::ReadFile;
using test::WriteFile;

TEST(Settings, NoFileGivesTheDefaults) {
  InstallDir install;
  Settings s;
  s.Load("BASE SETTING");
  EXPECT_EQ(s.PlotScale, 1.0);
  EXPECT_EQ(s.Sideline, (LayerEntry{"Sideline", "Sideline", 7, "CONTINUOUS"}));
  EXPECT_EQ(s.Inline, (LayerEntry{"Inline", "Inline", 7, "CONTINUOUS"}));
  EXPECT_EQ(s.Text, (LayerEntry{"Text", "Text", 7, "CONTINUOUS"}));
  EXPECT_EQ(s.Table, (TextStyleEntry{"Table", "Table", "txt.shx", "gbcbig.shx", 3.5, 0.7}));
  EXPECT_EQ(s.TurnTextEnable, 1);
  EXPECT_EQ(s.Excel, (ExcelSettings{10, 4.0, 3.0, 0}));
  EXPECT_EQ(s, Settings{});
  EXPECT_FALSE(std::filesystem::exists(install.where().settingsFile));
}

TEST(Settings, DoublesKeepTwoDecimals) {
  InstallDir install;
  Settings s;
  s.Table.Height = 3.456;
  s.PlotScale = 100;
  ASSERT_TRUE(s.Save("BASE SETTING"));
  const std::string text = ReadFile(install.where().settingsFile);
  EXPECT_NE(text.find("Height=3.46\n"), std::string::npos) << text;
  EXPECT_NE(text.find("PlotScale=100.00\n"), std::string::npos) << text;
  EXPECT_NE(text.find("WidthFactor=0.70\n"), std::string::npos) << text;
  Settings back;
  back.Load("BASE SETTING");
  EXPECT_EQ(back.Table.Height, 3.46);
  EXPECT_EQ(back.PlotScale, 100.0);
}

TEST(Settings, MissingDoubleReadsAsItsDefaultRoundedToTwoDecimals) {
  InstallDir install;
  EXPECT_EQ(ProfileFile().GetDouble("X", "missing", 3.456), 3.46);
  EXPECT_EQ(ProfileFile().GetInt("X", "missing", -12), -12);
  EXPECT_EQ(ProfileFile().GetString("X", "missing", "d"), "d");
}

TEST(Settings, SaveWritesSectionsAndKeysInOrder) {
  InstallDir install;
  ASSERT_TRUE(Settings{}.Save("BASE SETTING"));
  EXPECT_EQ(ReadFile(install.where().settingsFile),
            "[Sideline]\nLayerTag=Sideline\nName=Sideline\nColor=7\nLineType=CONTINUOUS\n\n"
            "[Inline]\nLayerTag=Inline\nName=Inline\nColor=7\nLineType=CONTINUOUS\n\n"
            "[Text]\nLayerTag=Text\nName=Text\nColor=7\nLineType=CONTINUOUS\n\n"
            "[Table]\nTextTag=Table\nStyleName=Table\nFontName=txt.shx\nBigFontName=gbcbig.shx\n"
            "Height=3.50\nWidthFactor=0.70\n\n"
            "[BASE SETTING]\nPlotScale=1.00\n\n"
            "[TURN_TEXT]\nENABLE=1\n\n"
            "[EXCEL_SETUP]\nExcelRowHeight=10\nExcelScale=4.00\nExcelFontHeight=3.00\n"
            "ExcelTurnType=0\n");
}

TEST(Settings, NonNumbersReadAsZero) {
  InstallDir install;
  WriteFile(install.where().settingsFile,
            "[BASE SETTING]\nPlotScale=abc\n[Sideline]\nColor=red\n");
  EXPECT_EQ(ReadPlotScale(), 0.0);
  EXPECT_EQ(ReadLayer("Sideline").Color, 0);
}

TEST(Settings, ReadersKeepDefaultsForMissingKeys) {
  InstallDir install;
  WriteFile(install.where().settingsFile,
            "[Inline]\nName=Thin\nColor=3\n[EXCEL_SETUP]\nExcelScale=2.5\n[BASE SETTING]\n"
            "PlotScale=50\n");
  EXPECT_EQ(ReadPlotScale(), 50.0);
  EXPECT_EQ(ReadLayer("Inline"), (LayerEntry{"Inline", "Thin", 3, "CONTINUOUS"}));
  EXPECT_EQ(ReadLayer("Text"), (LayerEntry{"Text", "Text", 7, "CONTINUOUS"}));
  EXPECT_EQ(ReadExcelSettings(), (ExcelSettings{10, 2.5, 3.0, 0}));
}

TEST(ReadTextStyle, PlaceholderBigFontMeansNone) {
  InstallDir install;
  LanguagePack pack;
  ASSERT_TRUE(pack.StartLanguage(""));
  const auto style = [&](const std::string& big) {
    ProfileFile().PutString("Table", "BigFontName", big);
    return ReadTextStyle("Table").BigFontName;
  };
  EXPECT_EQ(style("None"), "");
  EXPECT_EQ(style("Please Select"), "");
  EXPECT_EQ(style("gbcbig.shx"), "gbcbig.shx");
  EXPECT_EQ(style("请选择"), "请选择");  // only the active language's placeholders count

  ASSERT_TRUE(pack.SetLanguage("Chinese"));
  EXPECT_EQ(style("请选择"), "");
  EXPECT_EQ(style("不可用"), "");
  EXPECT_EQ(style("None"), "None");
}

}  // namespace
}  // namespace vex
