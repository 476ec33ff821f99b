#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace vex::platform {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class ProfileTest : public ::testing::Test {
 protected:
  std::string Ini(const std::string& text) {
    const std::string path = dir_.File("t" + std::to_string(n_++) + ".ini");
    WriteFile(path, text);
    return path;
  }
  TempDir dir_;
  int n_ = 0;
};

TEST_F(ProfileTest, SectionsAndKeysMatchWithoutCase) {
  const auto path = Ini("[Base Setting]\nPlotScale=2.5\n");
  EXPECT_EQ(ReadProfileString(path, "BASE SETTING", "plotscale"), "2.5");
  EXPECT_EQ(ReadProfileString(path, "base setting", "PLOTSCALE"), "2.5");
  EXPECT_EQ(ReadProfileString(path, "BASE", "PlotScale"), std::nullopt);
}

struct ValueCase {
  const char* name;
  const char* line;
  const char* expected;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class ProfileValueTest : public ProfileTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ProfileValueTest, ValueIsTrimmedAndUnquoted) {
  const auto path = Ini(std::string("[S]\n") + GetParam().line + "\n");
  EXPECT_EQ(ReadProfileString(path, "S", "k"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileValueTest,
    ::testing::Values(ValueCase{"plain", "k=abc", "abc"},
                      ValueCase{"blanks_and_tabs", " k \t=\t  a b  \t", "a b"},
                      ValueCase{"double_quotes", "k=\"  x  \"", "  x  "},
                      ValueCase{"single_quotes", "k='y'", "y"},
                      ValueCase{"one_pair_only", "k=\"\"z\"\"", "\"z\""},
                      ValueCase{"unmatched_quote_kept", "k=\"abc", "\"abc"},
                      ValueCase{"mixed_quotes_kept", "k=\"abc'", "\"abc'"},
                      ValueCase{"lone_quote_kept", "k=\"", "\""},
                      ValueCase{"empty", "k=", ""},
                      ValueCase{"equals_in_value", "k=a=b", "a=b"},
                      ValueCase{"utf8", "k=对话框已经关闭", "对话框已经关闭"},
                      ValueCase{"trailing_tabs", "k=Cu&t\tCtrl+X\t\t", "Cu&t\tCtrl+X"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileTest, ReadsCrlfAndBomFiles) {
  const auto path = Ini("\xEF\xBB\xBF[A]\r\nx=1\r\ny = two \r\n[B]\r\nz=3\r\n");
  EXPECT_EQ(ReadProfileString(path, "A", "x"), "1");
  EXPECT_EQ(ReadProfileString(path, "A", "y"), "two");
  EXPECT_EQ(ReadProfileString(path, "B", "z"), "3");
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesNothing) {
  EXPECT_EQ(ReadProfileString(dir_.File("none.ini"), "A", "x"), std::nullopt);
  const auto path = Ini("; only a comment\n[A]\nx=1\n");
  EXPECT_EQ(ReadProfileString(path, "B", "x"), std::nullopt);
  EXPECT_EQ(ReadProfileString(path, "A", "y"), std::nullopt);
}

TEST_F(ProfileTest, FirstOfDuplicatesWinsAndCommentsAreNoKeys) {
  const auto path = Ini("[A]\n;x=commented\nx=first\nx=second\n[a]\nx=third\n");
  EXPECT_EQ(ReadProfileString(path, "A", "x"), "first");
  EXPECT_EQ(ReadProfileString(path, "A", ";x"), std::nullopt);
}

TEST_F(ProfileTest, KeysBeforeAnySectionAreUnreachable) {
  const auto path = Ini("x=1\n[A]\ny=2\n");
  EXPECT_EQ(ReadProfileString(path, "", "x"), std::nullopt);
  EXPECT_EQ(ReadProfileString(path, "A", "y"), "2");
}

TEST_F(ProfileTest, LongValuesAreReadWhole) {
  const std::string big(100000, 'x');
  const auto path = Ini("[A]\nk=" + big + "\n");
  EXPECT_EQ(ReadProfileString(path, "A", "k"), big);
}

TEST_F(ProfileTest, WriteReplacesKeyInPlaceAndKeepsOtherLines) {
  const auto path = Ini("; settings\n[A]\nx=1 ; note\n\n; about B\n[B]\ny=2\n");
  ASSERT_TRUE(WriteProfileString(path, "a", "X", "10"));
  EXPECT_EQ(ReadFile(path), "; settings\n[A]\nX=10\n\n; about B\n[B]\ny=2\n");
}

TEST_F(ProfileTest, MissingKeyGoesAfterTheLastEntryOfItsSection) {
  const auto path = Ini("[A]\nx=1\n\n; about B\n[B]\ny=2\n");
  ASSERT_TRUE(WriteProfileString(path, "A", "new", "v"));
  ASSERT_TRUE(WriteProfileString(path, "B", "w", "3"));
  EXPECT_EQ(ReadFile(path), "[A]\nx=1\nnew=v\n\n; about B\n[B]\ny=2\nw=3\n");
}

TEST_F(ProfileTest, MissingSectionGoesAtTheEnd) {
  const auto path = Ini("[A]\nx=1");
  ASSERT_TRUE(WriteProfileString(path, "TURN_TEXT", "ENABLE", "1"));
  EXPECT_EQ(ReadFile(path), "[A]\nx=1\n\n[TURN_TEXT]\nENABLE=1\n");
}

TEST_F(ProfileTest, KeyWrittenTwiceStaysOneLine) {
  const std::string path = dir_.File("new.ini");
  ASSERT_TRUE(WriteProfileString(path, "A", "k", "1"));
  ASSERT_TRUE(WriteProfileString(path, "A", "K", "2"));
  EXPECT_EQ(ReadFile(path), "[A]\nK=2\n");
  EXPECT_EQ(ReadProfileString(path, "a", "k"), "2");
}

TEST_F(ProfileTest, CrlfFileStaysCrlf) {
  const auto path = Ini("[A]\r\nx=1\r\n");
  ASSERT_TRUE(WriteProfileString(path, "A", "y", "2"));
  EXPECT_EQ(ReadFile(path), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST_F(ProfileTest, ValueWithLineBreakIsRefusedAndFileKept) {
  const auto path = Ini("[A]\nx=1\n");
  for (const char* bad : {"a\nb", "a\rb", "\n"}) {
    const auto r = WriteProfileString(path, "A", "x", bad);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message().find("line break"), std::string::npos);
  }
  EXPECT_FALSE(WriteProfileString(path, "A\nB", "x", "1"));
  EXPECT_FALSE(WriteProfileString(path, "A", "a=b", "1"));
  EXPECT_FALSE(WriteProfileString(path, "A", "", "1"));
  EXPECT_FALSE(WriteProfileString(path, "A]", "x", "1"));
  EXPECT_EQ(ReadFile(path), "[A]\nx=1\n");
}

TEST_F(ProfileTest, BatchWritesAllOrNothing) {
  const auto path = Ini("[A]\nx=1\n");
  EXPECT_FALSE(WriteProfileStrings(path, {{"A", "x", "2"}, {"A", "y", "bad\nvalue"}}));
  EXPECT_EQ(ReadFile(path), "[A]\nx=1\n");
  EXPECT_TRUE(WriteProfileStrings(path, {{"A", "x", "2"}, {"B", "y", "3"}, {"A", "z", "4"}}));
  EXPECT_EQ(ReadFile(path), "[A]\nx=2\nz=4\n\n[B]\ny=3\n");
}

TEST_F(ProfileTest, ChangesMadeBehindTheCacheAreSeen) {
  const auto path = Ini("[A]\nx=1\n");
  EXPECT_EQ(ReadProfileString(path, "A", "x"), "1");
  // Another program replaces the file (a new inode, as editors and our writer do).
  const std::string other = dir_.File("other.ini");
  WriteFile(other, "[A]\nx=22\n");
  std::filesystem::rename(other, path);
  EXPECT_EQ(ReadProfileString(path, "A", "x"), "22");
  // And rewrites it in place with another size.
  WriteFile(path, "[A]\nx=333\n");
  EXPECT_EQ(ReadProfileString(path, "A", "x"), "333");
  std::filesystem::remove(path);
  EXPECT_EQ(ReadProfileString(path, "A", "x"), std::nullopt);
}

TEST_F(ProfileTest, WriteLeavesNoTemporaryFiles) {
  const auto path = Ini("[A]\nx=1\n");
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(WriteProfileString(path, "A", "x", std::to_string(i)));
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir_.path())) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(ProfileTest, WriteIntoMissingFolderFailsWithReason) {
  const auto r = WriteProfileString(dir_.File("no/such/folder/x.ini"), "A", "x", "1");
  EXPECT_FALSE(r);
  EXPECT_NE(r.message().find("no/such/folder"), std::string::npos);
}

TEST_F(ProfileTest, ListsSectionsInFileOrder) {
  const auto path = Ini("x=0\n[Setting]\nLanguage=English\n[String]\nA=1\n");
  EXPECT_EQ(ReadProfileSections(path), (std::vector<std::string>{"Setting", "String"}));
  EXPECT_TRUE(ReadProfileSections(dir_.File("none.ini")).empty());
}

}  // namespace
}  // namespace vex::platform
