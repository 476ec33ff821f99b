#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cmath>
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
  s.Load("BASE SETTING", install.SettingsFile());
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
  ASSERT_TRUE(s.Save("BASE SETTING", install.SettingsFile()));
  const std::string text = ReadFile(install.where().settingsFile);
  EXPECT_NE(text.find("Height=3.46\n"), std::string::npos) << text;
  EXPECT_NE(text.find("PlotScale=100.00\n"), std::string::npos) << text;
  EXPECT_NE(text.find("WidthFactor=0.70\n"), std::string::npos) << text;
  Settings back;
  back.Load("BASE SETTING", install.SettingsFile());
  EXPECT_EQ(back.Table.Height, 3.46);
  EXPECT_EQ(back.PlotScale, 100.0);
}

TEST(Settings, MissingDoubleReadsAsItsDefaultRoundedToTwoDecimals) {
  InstallDir install;
  const ProfileFile file = install.SettingsFile();
  EXPECT_EQ(file.GetDouble("X", "missing", 3.456), 3.46);
  EXPECT_EQ(file.GetInt("X", "missing", -12), -12);
  EXPECT_EQ(file.GetString("X", "missing", "d"), "d");
}

TEST(Settings, SaveWritesSectionsAndKeysInOrder) {
  InstallDir install;
  ASSERT_TRUE(Settings{}.Save("BASE SETTING", install.SettingsFile()));
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
  EXPECT_EQ(ReadPlotScale(install.SettingsFile()), 0.0);
  EXPECT_EQ(ReadLayer("Sideline", install.SettingsFile()).Color, 0);
}

TEST(Settings, ReadersKeepDefaultsForMissingKeys) {
  InstallDir install;
  WriteFile(install.where().settingsFile,
            "[Inline]\nName=Thin\nColor=3\n[EXCEL_SETUP]\nExcelScale=2.5\n[BASE SETTING]\n"
            "PlotScale=50\n");
  const ProfileFile file = install.SettingsFile();
  EXPECT_EQ(ReadPlotScale(file), 50.0);
  EXPECT_EQ(ReadLayer("Inline", file), (LayerEntry{"Inline", "Thin", 3, "CONTINUOUS"}));
  EXPECT_EQ(ReadLayer("Text", file), (LayerEntry{"Text", "Text", 7, "CONTINUOUS"}));
  EXPECT_EQ(ReadExcelSettings(file), (ExcelSettings{10, 2.5, 3.0, 0}));
  // The record read at once agrees with the single readers.
  const Settings all = install.ReadSettings();
  EXPECT_EQ(all.PlotScale, 50.0);
  EXPECT_EQ(all.Inline, ReadLayer("Inline", file));
  EXPECT_EQ(all.Excel, ReadExcelSettings(file));
}

TEST(ReadTextStyle, PlaceholderBigFontMeansNone) {
  InstallDir install;
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage(""));
  const auto style = [&](const std::string& big) {
    EXPECT_TRUE(install.SettingsFile().PutString("Table", "BigFontName", big));
    const std::string viaReader = ReadTextStyle("Table", install.SettingsFile(), pack).BigFontName;
    EXPECT_EQ(install.ReadSettings().Table.BigFontName, viaReader);
    return viaReader;
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

TEST(Settings, PlotScaleThatIsNoPositiveNumberCountsAsOne) {
  Settings s;
  for (double bad : {0.0, -2.0, std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    s.PlotScale = bad;
    EXPECT_EQ(s.EffectivePlotScale(), 1.0) << bad;
  }
  s.PlotScale = 1e308;  // finite: a drafter's typo, but a scale all the same
  EXPECT_EQ(s.EffectivePlotScale(), 1e308);
  s.PlotScale = 0.01;
  EXPECT_EQ(s.EffectivePlotScale(), 0.01);
}

TEST(Settings, SaveIsOneWriteThatLeavesOtherKeys) {
  InstallDir install;
  WriteFile(install.where().settingsFile, "; drafter's note\n[Setting]\nLanguage=Chinese\n");
  ASSERT_TRUE(Settings{}.Save("BASE SETTING", install.SettingsFile()));
  const std::string text = ReadFile(install.where().settingsFile);
  EXPECT_EQ(text.rfind("; drafter's note\n[Setting]\nLanguage=Chinese\n", 0), 0u) << text;
  EXPECT_NE(text.find("[EXCEL_SETUP]"), std::string::npos);
}

TEST(Settings, SaveIntoAnUnreadableFileIsRefusedAndLeavesIt) {
  InstallDir install;
  std::filesystem::create_directory(install.where().settingsFile);  // a folder where the file should be
  const Result r = Settings{}.Save("BASE SETTING", install.SettingsFile());
  EXPECT_FALSE(r);
  EXPECT_FALSE(r.message().empty());
  EXPECT_TRUE(std::filesystem::is_directory(install.where().settingsFile));
}

}  // namespace
}  // namespace vex
