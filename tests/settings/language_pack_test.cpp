#include "settings/language_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/profile.h"
#include "support/install_dir.h"

namespace vex {
namespace {

namespace fs = std::filesystem;
using test::InstallDir;
using test::ReadFile;
using test::WriteFile;

std::vector<std::string> KeysOf(std::string_view packText, const std::string& section) {
  std::vector<std::string> keys;
  std::string current;
  std::size_t pos = 0;
  while (pos < packText.size()) {
    auto nl = packText.find('\n', pos);
    if (nl == std::string_view::npos) nl = packText.size();
    std::string line(packText.substr(pos, nl - pos));
    pos = nl + 1;
    if (line.empty()) continue;
    if (line.front() == '[') {
      current = line.substr(1, line.find(']') - 1);
      continue;
    }
    if (current == section) keys.push_back(line.substr(0, line.find('=')));
  }
  return keys;
}

std::vector<std::string> ExpectedKeys() {
  std::ifstream in(std::string(VEXTABLE_TEST_DATA) + "/language_keys.txt");
  std::vector<std::string> keys;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) keys.push_back(line);
  return keys;
}

TEST(BuiltinPacks, HoldEveryKey) {
  const auto expected = ExpectedKeys();
  ASSERT_EQ(expected.size(), 184u);
  EXPECT_EQ(KeysOf(BuiltinPack(kEnglishPackId), "String"), expected);
  auto chinese = KeysOf(BuiltinPack(kChinesePackId), "String");
  ASSERT_EQ(std::count(chinese.begin(), chinese.end(), "IDD203_-1"), 1);
  chinese.erase(std::find(chinese.begin(), chinese.end(), "IDD203_-1"));
  EXPECT_EQ(chinese, expected);
}

TEST(BuiltinPacks, AreTheCheckedInFilesByteForByte) {
  const std::string dir = std::string(VEXTABLE_SOURCE_DIR) + "/settings/packs/";
  EXPECT_EQ(BuiltinPack(kEnglishPackId), ReadFile(dir + "English.ini"));
  EXPECT_EQ(BuiltinPack(kChinesePackId), ReadFile(dir + "Chinese.ini"));
  EXPECT_TRUE(BuiltinPack(1).empty());
}

TEST(BuiltinPacks, EveryValueIsSetAndNoLineBreaks) {
  for (int id : {kEnglishPackId, kChinesePackId}) {
    InstallDir install;
    const std::string path = install.File("pack.ini");
    WriteFile(path, std::string(BuiltinPack(id)));
    for (const auto& key : KeysOf(BuiltinPack(id), "String")) {
      const auto value = platform::ReadProfileString(path, "String", key);
      ASSERT_TRUE(value.has_value()) << key;
      EXPECT_FALSE(value->empty()) << key;
    }
  }
}

TEST(StartLanguage, EmptyFolderWritesBothPacksAndChoosesEnglish) {
  InstallDir install;
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage(""));
  const auto& where = install.where();
  EXPECT_EQ(ReadFile(where.languageFolder + "English.ini"), BuiltinPack(kEnglishPackId));
  EXPECT_EQ(ReadFile(where.languageFolder + "Chinese.ini"), BuiltinPack(kChinesePackId));
  EXPECT_EQ(ReadFile(where.settingsFile), "[Setting]\nLanguage=English\n");
  EXPECT_EQ(pack.Text("IDS_ROWS_UNIT"), "rows");
  EXPECT_EQ(install.Language().Text("IDS_DIALOG_IS_CLOSE"), "Dialog is close, command close!");
}

TEST(StartLanguage, ExistingPackIsUsedAndNothingElseWritten) {
  InstallDir install;
  const auto& where = install.where();
  fs::create_directories(where.languageFolder);
  WriteFile(where.languageFolder + "Chinese.ini", std::string(BuiltinPack(kChinesePackId)));
  WriteFile(where.settingsFile, "[Setting]\nLanguage=Chinese\n");
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage(""));
  EXPECT_FALSE(fs::exists(where.languageFolder + "English.ini"));
  EXPECT_EQ(pack.Text("IDS_ROWS_UNIT"), "行");
  EXPECT_EQ(pack.Text("IDD203_-1"), "(mm)");
  EXPECT_EQ(pack.ActiveLanguage(), "Chinese");
}

TEST(StartLanguage, UnknownLanguageFallsBackToEnglish) {
  InstallDir install;
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage("Klingon"));
  EXPECT_EQ(pack.ActiveLanguage(), "English");
  EXPECT_EQ(pack.Text("IDD203_Title"), "Table Initialization");
}

TEST(StartLanguage, ExplicitNameWins) {
  InstallDir install;
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage(""));
  ASSERT_TRUE(pack.StartLanguage("Chinese"));
  EXPECT_EQ(pack.Text("IDS_COLS_UNIT"), "列");
  EXPECT_EQ(pack.Text("IDD239_Title"), "表头管理");
}

TEST(StartLanguage, PackWhoseFileNameDiffersFromItsLanguage) {
  InstallDir install;
  const auto& where = install.where();
  fs::create_directories(where.languageFolder);
  WriteFile(where.languageFolder + "fr.ini", "[Setting]\nLanguage=French\n[String]\nIDS_ROWS_UNIT=lignes\n");
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage("French"));
  // Found by its Language value, so nothing is written out ...
  EXPECT_FALSE(fs::exists(where.languageFolder + "English.ini"));
  EXPECT_EQ(pack.ActiveLanguage(), "French");
  // ... but lookups go to "French.ini", which does not exist.
  EXPECT_EQ(pack.Text("IDS_ROWS_UNIT"), "Not found");
}

TEST(LanguagePack, TextTurnsBackslashNIntoLineBreaks) {
  InstallDir install;
  const auto& where = install.where();
  fs::create_directories(where.languageFolder);
  WriteFile(where.languageFolder + "Test.ini",
            "[Setting]\nLanguage=Test\n[String]\nIDS_A=one\\ntwo\\n\nIDD5_Title=a\\nb\n");
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage("Test"));
  EXPECT_EQ(pack.Text("IDS_A"), "one\ntwo\n");
  EXPECT_EQ(pack.Text("IDS_MISSING"), "Not found");
  EXPECT_EQ(pack.DialogText(5, LanguagePack::kDialogTitle), "a\\nb");
  EXPECT_EQ(pack.DialogText(5, 1), "");
}

TEST(LanguagePack, TextIsCutAt999BytesOnACharacterBoundary) {
  InstallDir install;
  const auto& where = install.where();
  fs::create_directories(where.languageFolder);
  std::string longText = "a";
  for (int i = 0; i < 600; ++i) longText += "中";  // 1 + 1800 bytes
  WriteFile(where.languageFolder + "Test.ini",
            "[Setting]\nLanguage=Test\n[String]\nIDS_LONG=" + longText + "\n");
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage("Test"));
  const std::string text = pack.Text("IDS_LONG");
  EXPECT_EQ(text.size(), 997u);  // 1 + 332 x 3: the 333rd character would end at byte 1000
  EXPECT_EQ(text, longText.substr(0, 997));
}

TEST(LanguagePack, ChangeOfLanguageTakesEffectAtTheNextLookup) {
  InstallDir install;
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage(""));
  EXPECT_EQ(pack.Text("IDS_VERTICAL_TABLE"), "Vertical Table");
  ASSERT_TRUE(pack.SetLanguage("Chinese"));
  EXPECT_EQ(pack.Text("IDS_VERTICAL_TABLE"), "竖向表格");
}

TEST(ListLanguages, ListsPacksInFileNameOrder) {
  InstallDir install;
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage(""));
  const auto& where = install.where();
  WriteFile(where.languageFolder + "A-German.INI", "[Setting]\nLanguage=Deutsch\n");
  WriteFile(where.languageFolder + "nolang.ini", "[String]\nX=1\n");
  WriteFile(where.languageFolder + "notes.txt", "[Setting]\nLanguage=Notes\n");
  fs::create_directories(where.languageFolder + "dir.ini");
  const auto list = pack.ListLanguages();
  EXPECT_EQ(list.names, (std::vector<std::string>{"Deutsch", "Chinese", "English"}));
  EXPECT_EQ(list.active, "English");
}

TEST(ListLanguages, MissingFolderListsNothing) {
  InstallDir install;
  EXPECT_TRUE(install.Language().ListLanguages().names.empty());
  EXPECT_EQ(install.Language().ActiveLanguage(), "English");
}

TEST(SetLanguage, WritesTheSettingsKeyAndKeepsOtherKeys) {
  InstallDir install;
  WriteFile(install.where().settingsFile, "[BASE SETTING]\nPlotScale=2.00\n");
  ASSERT_TRUE(install.Language().SetLanguage("Chinese"));
  EXPECT_EQ(ReadFile(install.where().settingsFile),
            "[BASE SETTING]\nPlotScale=2.00\n\n[Setting]\nLanguage=Chinese\n");
}

}  // namespace
TEST(StartLanguage, AStartWithTheLanguageInPlaceWritesNothing) {
  InstallDir install;
  const LanguagePack pack = install.Language();
  ASSERT_TRUE(pack.StartLanguage(""));
  const auto settings = install.where().settingsFile;
  const auto before = fs::last_write_time(settings);
  // A settings file the drafter cannot write: starting again must not need to.
  fs::permissions(settings, fs::perms::owner_read);
  EXPECT_TRUE(pack.StartLanguage(""));
  EXPECT_TRUE(pack.StartLanguage("English"));
  fs::permissions(settings, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::last_write_time(settings), before);
}

TEST(HelpFile, TheChineseManualForChineseWhenItIsInstalled) {
  test::InstallDir install;
  const std::string help = install.where().helpFile;
  const std::string zh = install.where().installFolder + "Help/VexTable.zh.html";
  EXPECT_EQ(HelpFileFor(help, "Chinese"), help);  // not installed: the English one
  fs::create_directories(install.where().installFolder + "Help");
  std::ofstream(zh) << "<html></html>";
  EXPECT_EQ(HelpFileFor(help, "Chinese"), zh);
  EXPECT_EQ(HelpFileFor(help, "English"), help);
  EXPECT_EQ(HelpFileFor(help, "Klingon"), help);
  EXPECT_EQ(HelpFileFor("", "Chinese"), "");
}

}  // namespace vex
