#include "platform/registry.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vex::platform {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr auto HKLM = RegHive::LocalMachine;
constexpr auto HKCU = RegHive::CurrentUser;

class RegistryTest : public ::testing::Test {
 protected:
  TempDir dir_;
  Registry reg_{dir_.path()};
};

TEST_F(RegistryTest, EmptyRegistryHasNothing) {
  EXPECT_FALSE(reg_.KeyExists(HKLM, "Software"));
  EXPECT_EQ(reg_.GetString(HKLM, "Software", "x"), std::nullopt);
  EXPECT_TRUE(reg_.SubKeys(HKLM, "").empty());
  EXPECT_TRUE(reg_.Problems().empty());
}

TEST_F(RegistryTest, WritesAndReadsStringsDwordsAndDefaults) {
  ASSERT_TRUE(reg_.SetString(HKLM, "Software\\Harbek\\VexTable", "InstallPath", "C:\\VexTable\\"));
  ASSERT_TRUE(reg_.SetDword(HKLM, "Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:804\\Applications\\VexTable",
                            "LOADCTRLS", 2));
  ASSERT_TRUE(reg_.SetString(HKCU, "Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:804\\Profiles", "",
                             "<<Unnamed Profile>>"));
  // Another program reading the same folder sees it all.
  const Registry other(dir_.path());
  EXPECT_EQ(other.GetString(HKLM, "software\\HARBEK\\vextable", "installpath"), "C:\\VexTable\\");
  EXPECT_EQ(other.GetDword(HKLM, "Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:804\\Applications\\VexTable",
                           "LOADCTRLS"),
            2u);
  EXPECT_EQ(other.GetString(HKCU, "Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:804\\Profiles", ""),
            "<<Unnamed Profile>>");
  EXPECT_EQ(other.GetString(HKLM, "Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:804\\Applications\\VexTable",
                            "LOADCTRLS"),
            std::nullopt);  // a DWORD is not a string
  EXPECT_EQ(ReadFile(reg_.HivePath(HKCU)),
            "Windows Registry Editor Version 5.00\n"
            "\n[HKEY_CURRENT_USER\\Software]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Autodesk]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Autodesk\\AutoCAD]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Autodesk\\AutoCAD\\R16.0]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:804]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:804\\Profiles]\n"
            "@=\"<<Unnamed Profile>>\"\n");
}

TEST_F(RegistryTest, StringsWithQuotesAndBackslashesRoundTrip) {
  const std::string value = "say \"hi\" \\ C:\\path\\ 中文";
  ASSERT_TRUE(reg_.SetString(HKCU, "K", "a \"name\"", value));
  EXPECT_EQ(Registry(dir_.path()).GetString(HKCU, "K", "a \"name\""), value);
  EXPECT_FALSE(reg_.SetString(HKCU, "K", "v", "two\nlines"));
  EXPECT_FALSE(reg_.SetString(HKCU, "K]x", "v", "1"));
}

TEST_F(RegistryTest, SubKeysAreListedInNameOrderWithTheirCase) {
  for (const char* k : {"R16.0", "r15.0", "R14.0"}) ASSERT_TRUE(reg_.CreateKey(HKLM, std::string("A\\") + k));
  ASSERT_TRUE(reg_.CreateKey(HKLM, "A\\R15.0\\Sub"));  // same key, other case
  EXPECT_EQ(reg_.SubKeys(HKLM, "A"), (std::vector<std::string>{"R14.0", "r15.0", "R16.0"}));
}

TEST_F(RegistryTest, OverwritingAValueKeepsOneValue) {
  ASSERT_TRUE(reg_.SetString(HKLM, "K", "V", "1"));
  ASSERT_TRUE(reg_.SetDword(HKLM, "K", "v", 7));
  EXPECT_EQ(reg_.ValueNames(HKLM, "K"), (std::vector<std::string>{"V"}));
  EXPECT_EQ(reg_.GetDword(HKLM, "K", "V"), 7u);
}

TEST_F(RegistryTest, DeleteTreeRemovesEverythingBelow) {
  ASSERT_TRUE(reg_.SetString(HKLM, "P\\Applications\\VexTable\\Commands", "VEXTABLE", "VEXTABLE"));
  ASSERT_TRUE(reg_.SetDword(HKLM, "P\\Applications\\VexTable", "LOADCTRLS", 2));
  ASSERT_TRUE(reg_.SetString(HKLM, "P\\Applications\\Other", "x", "y"));
  ASSERT_TRUE(reg_.DeleteTree(HKLM, "p\\applications\\vextable"));
  EXPECT_FALSE(reg_.KeyExists(HKLM, "P\\Applications\\VexTable"));
  EXPECT_TRUE(reg_.KeyExists(HKLM, "P\\Applications\\Other"));
  EXPECT_TRUE(reg_.DeleteTree(HKLM, "No\\Such\\Key"));
  ASSERT_TRUE(reg_.DeleteValue(HKLM, "P\\Applications\\Other", "X"));
  EXPECT_EQ(reg_.GetValue(HKLM, "P\\Applications\\Other", "x"), std::nullopt);
}

TEST_F(RegistryTest, ReadsHandWrittenFilesAndKeepsOtherKinds) {
  WriteFile(reg_.HivePath(HKLM),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "; a comment\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n"
            "\"Str\"=\"value\"\r\n"
            "\"Num\"=dword:0000000A\r\n"
            "\"Bin\"=hex:01,02,\\\r\n"
            "  03,04\r\n"
            "@=\"default\"\r\n");
  EXPECT_TRUE(reg_.Problems().empty());
  EXPECT_EQ(reg_.GetString(HKLM, "Software\\Test", "Str"), "value");
  EXPECT_EQ(reg_.GetDword(HKLM, "Software\\Test", "Num"), 10u);
  EXPECT_EQ(reg_.GetString(HKLM, "Software\\Test", ""), "default");
  ASSERT_TRUE(reg_.SetString(HKLM, "Software\\Test", "New", "1"));
  EXPECT_EQ(Registry(dir_.path()).GetValue(HKLM, "Software\\Test", "Bin")->text, "hex:01,02,03,04");
}

struct BrokenHive {
  const char* name;
  const char* text;
  const char* problem;
};

void PrintTo(const BrokenHive& b, std::ostream* os) { *os << b.name; }

class BrokenHiveTest : public RegistryTest, public ::testing::WithParamInterface<BrokenHive> {};

TEST_P(BrokenHiveTest, IsReportedAndNeverOverwritten) {
  WriteFile(reg_.HivePath(HKLM), GetParam().text);
  const auto problems = reg_.Problems();
  ASSERT_FALSE(problems.empty());
  EXPECT_NE(problems.front().find(GetParam().problem), std::string::npos) << problems.front();
  EXPECT_NE(problems.front().find("HKLM.reg:"), std::string::npos) << problems.front();
  const auto r = reg_.SetString(HKLM, "Software\\X", "a", "b");
  EXPECT_FALSE(r);
  EXPECT_EQ(ReadFile(reg_.HivePath(HKLM)), GetParam().text);
  // The other hive is unaffected.
  EXPECT_TRUE(reg_.SetString(HKCU, "Software\\X", "a", "b"));
}

INSTANTIATE_TEST_SUITE_P(
    Samples, BrokenHiveTest,
    ::testing::Values(
        BrokenHive{"no_header", "[HKEY_LOCAL_MACHINE\\A]\n", "not a registry file"},
        BrokenHive{"binary", "\x7f\x45LF\x01\x02\x03", "not a registry file"},
        BrokenHive{"unclosed_key", "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A\n", "']'"},
        BrokenHive{"foreign_root", "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n", "outside"},
        BrokenHive{"value_first", "Windows Registry Editor Version 5.00\n\"a\"=\"b\"\n", "outside any key"},
        BrokenHive{"bad_dword", "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=dword:xyz\n",
                   "hexadecimal"},
        BrokenHive{"unterminated", "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"b\n",
                   "unterminated"},
        BrokenHive{"unquoted_name", "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\na=\"b\"\n",
                   "quoted"},
        BrokenHive{"continued_into_blanks_Issue11",
                   "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:01,\\  \n\"b\"=\"1\"\n",
                   "continues past the end"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, WhatCanBeReadFromABrokenHiveStaysReadable) {
  WriteFile(reg_.HivePath(HKLM),
            "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"ok\"=\"1\"\n\"bad\"=dword:zz\n");
  EXPECT_EQ(reg_.GetString(HKLM, "A", "ok"), "1");
  EXPECT_EQ(reg_.Problems().size(), 1u);
}

TEST_F(RegistryTest, HiveWithAVeryDeepKeyIsReportedNotAStackOverflow_Issue11) {
  std::string path = "HKEY_LOCAL_MACHINE";
  for (int i = 0; i < 60000; ++i) path += "\\k";
  const std::string text = "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Ok]\n\"v\"=\"1\"\n[" + path + "]\n";
  WriteFile(reg_.HivePath(HKLM), text);
  const auto problems = reg_.Problems();
  ASSERT_FALSE(problems.empty());
  EXPECT_NE(problems.front().find("deeper than"), std::string::npos) << problems.front();
  EXPECT_EQ(reg_.GetString(HKLM, "Ok", "v"), "1");
  EXPECT_FALSE(reg_.SetString(HKLM, "Ok", "v", "2"));  // a hive with problems is never written
  EXPECT_EQ(ReadFile(reg_.HivePath(HKLM)), text);
}

TEST_F(RegistryTest, KeyPathsBeyondTheDepthBoundAreRefusedOnWrite_Issue11) {
  std::string deep;
  for (int i = 0; i < 300; ++i) deep += "k\\";
  EXPECT_EQ(reg_.SetString(HKCU, deep, "v", "1").code(), ErrorCode::kRefused);
  EXPECT_FALSE(reg_.CreateKey(HKCU, deep));
  std::string fine;
  for (int i = 0; i < 200; ++i) fine += "k\\";
  ASSERT_TRUE(reg_.SetString(HKCU, fine, "v", "1"));
  EXPECT_EQ(Registry(dir_.path()).GetString(HKCU, fine, "v"), "1");  // and read back from the file
}

TEST_F(RegistryTest, KeyWithVeryManyValuesLoadsAndWritesInLinearTime_Issue11) {
  std::string text = "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Many]\n";
  for (int i = 0; i < 200000; ++i) text += "\"v" + std::to_string(i) + "\"=dword:00000001\n";
  text += "\"V7\"=dword:00000002\n";  // names match without regard to case: this replaces v7
  WriteFile(reg_.HivePath(HKLM), text);
  EXPECT_TRUE(reg_.Problems().empty());
  EXPECT_EQ(reg_.GetDword(HKLM, "Many", "v199999"), 1u);
  EXPECT_EQ(reg_.GetDword(HKLM, "Many", "v7"), 2u);
  EXPECT_EQ(reg_.ValueNames(HKLM, "Many").size(), 200000u);
  ASSERT_TRUE(reg_.DeleteValue(HKLM, "Many", "V3"));
  EXPECT_EQ(reg_.GetDword(HKLM, "Many", "v4"), 1u);  // the index follows the removal
  EXPECT_EQ(reg_.GetDword(HKLM, "Many", "v3"), std::nullopt);
  ASSERT_TRUE(reg_.SetDword(HKLM, "Many", "v4", 9));
  EXPECT_EQ(Registry(dir_.path()).GetDword(HKLM, "Many", "v4"), 9u);
}

// A value whose line ends in '\' at the end of the file was kept and written back as it was;
// the next key written after it then read as part of the value (found by fuzzing).
TEST_F(RegistryTest, ValueContinuedPastTheEndIsAProblem_Issue11) {
  const std::string text = ReadFile(std::string(VEXTABLE_TEST_DATA) + "/platform/hive_value_continued_past_end.reg");
  ASSERT_FALSE(text.empty());
  WriteFile(reg_.HivePath(HKLM), text);
  const auto problems = reg_.Problems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems.front().find("HKLM.reg:3: a value continues past the end"), std::string::npos)
      << problems.front();
  EXPECT_TRUE(reg_.KeyExists(HKLM, "k"));
  EXPECT_FALSE(reg_.SetString(HKLM, "Software\\X", "a", "b"));
  EXPECT_EQ(ReadFile(reg_.HivePath(HKLM)), text);
}

// A value of carriage returns was kept; written back before the line end it was lost, and the
// hive then had a problem that made it read-only (found by fuzzing).
TEST_F(RegistryTest, ValueOfCarriageReturnsIsMissing_Issue11) {
  const std::string text = ReadFile(std::string(VEXTABLE_TEST_DATA) + "/platform/hive_value_of_carriage_returns.reg");
  ASSERT_FALSE(text.empty());
  WriteFile(reg_.HivePath(HKLM), text);
  const auto problems = reg_.Problems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems.front().find("HKLM.reg:3: a value is missing"), std::string::npos) << problems.front();
  EXPECT_FALSE(reg_.SetString(HKLM, "Software\\X", "a", "b"));
  EXPECT_EQ(ReadFile(reg_.HivePath(HKLM)), text);
}

TEST_F(RegistryTest, LinesEndingInTwoCarriageReturnsReadAndSurviveAWrite_Issue11) {
  WriteFile(reg_.HivePath(HKLM),
            "Windows Registry Editor Version 5.00\r\r\n"
            "[HKEY_LOCAL_MACHINE\\A]\r\r\n"
            "\"Str\"=\"value\"\r\r\n"
            "\"Num\"=dword:0000000a\r\r\n"
            "\"Bin\"=hex:01,02\r\r\n");
  EXPECT_TRUE(reg_.Problems().empty());
  EXPECT_EQ(reg_.GetString(HKLM, "A", "Str"), "value");
  EXPECT_EQ(reg_.GetDword(HKLM, "A", "Num"), 10u);
  ASSERT_TRUE(reg_.SetString(HKLM, "A", "New", "1"));
  const Registry again(dir_.path());
  EXPECT_TRUE(again.Problems().empty());
  EXPECT_EQ(again.GetValue(HKLM, "A", "Bin")->text, "hex:01,02");
  EXPECT_EQ(again.GetString(HKLM, "A", "New"), "1");
}

TEST(RegistryFolder, IsCreatedOnTheFirstWrite_Issue5) {
  TempDir dir;
  Registry reg(dir.path() + "not/yet/there/");
  EXPECT_FALSE(reg.KeyExists(HKCU, "Software"));
  ASSERT_TRUE(reg.SetString(HKCU, "Software\\X", "v", "1")) << "the folder is made";
  EXPECT_EQ(Registry(dir.path() + "not/yet/there/").GetString(HKCU, "Software\\X", "v"), "1");
}

TEST(RegistryFolder, ComesFromTheEnvironment) {
  ::setenv("CADHOST_REGISTRY_DIR", "/tmp/some/where", 1);
  EXPECT_EQ(Registry::DefaultFolder(), "/tmp/some/where/");
  ::unsetenv("CADHOST_REGISTRY_DIR");
  EXPECT_NE(Registry::DefaultFolder().find("/.config/cadhost/registry/"), std::string::npos);
}

}  // namespace
}  // namespace vex::platform
