#include "settings/replacement.h"

#include <gtest/gtest.h>

#include "settings/language_pack.h"
#include "support/install_dir.h"

namespace vex {
namespace {

using test::InstallDir;
using test::WriteFile;

class ReplacementTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(install_.Language().StartLanguage("")); }
  ReplacementList Loaded(const std::string& turnText) {
    WriteFile(install_.where().settingsFile, "[Setting]\nLanguage=English\n[TURN_TEXT]\n" + turnText);
    ReplacementList list;
    list.LoadReplacements(install_.SettingsFile(), install_.Language());
    return list;
  }
  InstallDir install_;
};

TEST_F(ReplacementTest, MissingCountGivesTheDefaultItems) {
  const auto list = Loaded("ENABLE=1\n");
  EXPECT_EQ(list.items, (std::vector<std::string>{"(d),%%d,Degrees", "(p),%%p,Plus/Minus",
                                                  "(c),%%c,Diameter"}));
  EXPECT_EQ(list.ForwardReplace("30(d) (p)0.1 (c)20"), "30%%d %%p0.1 %%c20");
  EXPECT_EQ(list.ReverseReplace("30%%d %%p0.1 %%c20"), "30(d) (p)0.1 (c)20");
}

TEST_F(ReplacementTest, DefaultDescriptionsFollowTheLanguage) {
  ASSERT_TRUE(install_.Language().SetLanguage("Chinese"));
  ReplacementList list;
  list.LoadReplacements(install_.SettingsFile(), install_.Language());
  EXPECT_EQ(list.items.front(), "(d),%%d,度数");
}

TEST_F(ReplacementTest, CountZeroGivesAnEmptyList) {
  const auto list = Loaded("ENABLE=1\nCount=0\n");
  EXPECT_TRUE(list.items.empty());
  EXPECT_EQ(list.ForwardReplace("(d)"), "(d)");
}

TEST_F(ReplacementTest, SwitchOffChangesNothing) {
  const auto list = Loaded("ENABLE=0\nCount=1\nItem0=a,b,c\n");
  EXPECT_FALSE(list.enabled);
  EXPECT_TRUE(list.items.empty());
  EXPECT_EQ(list.ForwardReplace("a(d)"), "a(d)");
  EXPECT_EQ(list.ReverseReplace("b%%d"), "b%%d");

  ReplacementList off;
  off.enabled = false;
  off.items = {"a,b,c"};
  EXPECT_EQ(off.ForwardReplace("aaa"), "aaa");
}

TEST_F(ReplacementTest, EmptyReplacementDeletesForwardAndMatchesNothingBack) {
  const auto list = Loaded("ENABLE=1\nCount=1\nItem0=xx,,remove\n");
  EXPECT_EQ(list.ForwardReplace("axxbxx"), "ab");
  EXPECT_EQ(list.ReverseReplace("ab"), "ab");
}

TEST_F(ReplacementTest, BadItemsAreIgnoredInBothDirections) {
  const auto list = Loaded(
      "ENABLE=1\nCount=4\nItem0=a,b,with, comma\nItem1=only,two\nItem2=\nItem3=(s),%%s,\n");
  EXPECT_EQ(list.items.size(), 4u);
  ASSERT_EQ(list.UsableItems().size(), 1u);
  EXPECT_EQ(list.ForwardReplace("a only (s)"), "a only %%s");
  EXPECT_EQ(list.ReverseReplace("b two %%s"), "b two (s)");
}

TEST_F(ReplacementTest, LaterItemsSeeEarlierResults) {
  const auto list = Loaded("ENABLE=1\nCount=2\nItem0=a,b,\nItem1=b,c,\n");
  EXPECT_EQ(list.ForwardReplace("ab"), "cc");
  // Reverse keeps the list order too: "c" -> "b" by the second item, after the first ran.
  EXPECT_EQ(list.ReverseReplace("c"), "b");
}

TEST_F(ReplacementTest, ReplacementIsCaseSensitive) {
  const auto list = Loaded("ENABLE=1\n");
  EXPECT_EQ(list.ForwardReplace("(D)"), "(D)");
}

TEST_F(ReplacementTest, HugeCountIsBoundedAndMissingItemsAreEmpty) {
  const auto list = Loaded("ENABLE=1\nCount=2000000000\nItem1=q,r,\n");
  EXPECT_EQ(list.items.size(), 65536u);
  EXPECT_EQ(list.ForwardReplace("q"), "r");
}

TEST_F(ReplacementTest, EnableDefaultsToTheCurrentSwitch) {
  WriteFile(install_.where().settingsFile, "[TURN_TEXT]\nCount=0\n");
  ReplacementList list;
  list.enabled = false;
  list.LoadReplacements(install_.SettingsFile(), install_.Language());
  EXPECT_FALSE(list.enabled);
  list.enabled = true;
  list.LoadReplacements(install_.SettingsFile(), install_.Language());
  EXPECT_TRUE(list.enabled);
}

TEST(ReplacementItem, SplitsIntoExactlyThreeFields) {
  EXPECT_EQ(ReplacementList::ParseItem("(d),%%d,Degrees"),
            (ReplacementItem{"(d)", "%%d", "Degrees"}));
  EXPECT_EQ(ReplacementList::ParseItem(",,"), (ReplacementItem{"", "", ""}));
  EXPECT_EQ(ReplacementList::ParseItem("a,b"), std::nullopt);
  EXPECT_EQ(ReplacementList::ParseItem("a,b,c,d"), std::nullopt);
  EXPECT_EQ(ReplacementList::ParseItem(""), std::nullopt);
}

}  // namespace
}  // namespace vex
