// The sheet chooser's rules, and sheets chosen on the command line.

#include <gtest/gtest.h>

#include "excel/sheet_chooser.h"
#include "support/install_dir.h"

namespace vex::excel {
namespace {

TEST(SheetChoice, OpeningSelectsTheFirstSheet) {
  SheetChoice c({"A", "B", "C"});
  EXPECT_EQ(c.Selected(), -1);
  c.Open();
  EXPECT_EQ(c.Selected(), 0);
  c.Select(2);
  EXPECT_EQ(c.OkIndex(), 2);
}

TEST(SheetChoice, OkWithNothingSelectedStoresZero) {
  SheetChoice c({"A", "B"});
  c.Open();
  c.Select(-1);
  EXPECT_EQ(c.OkIndex(), 0);
  c.Select(7);
  EXPECT_EQ(c.Selected(), -1);
  SheetChoice empty({});
  empty.Open();
  EXPECT_EQ(empty.Selected(), -1);
  EXPECT_EQ(empty.OkIndex(), 0);
}

struct Argument {
  const char* given;
  int index;  // -1: none meant
};

TEST(SheetIndexFromArgument, NumbersNamesAndMisses) {
  const std::vector<std::string> names = {"Data", "2", "Summary"};
  const Argument cases[] = {{"Data", 0}, {"summary", 2}, {"2", 1}, {"3", 2}, {"1", 0}, {"4", -1}, {"0", -1}, {"Nope", -1}, {"", -1}};
  for (const Argument& a : cases) {
    ResultOr<int> r = SheetIndexFromArgument(names, a.given);
    if (a.index < 0) {
      ASSERT_FALSE(r.ok()) << a.given;
      EXPECT_NE(r.result().message().find("\"Summary\""), std::string::npos);
    } else {
      ASSERT_TRUE(r.ok()) << a.given;
      EXPECT_EQ(r.value(), a.index) << a.given;
    }
  }
}

TEST(FixedSheetChooser, TakesTheFirstSheetOrTheNamedOne) {
  RecordingSink messages;
  EXPECT_EQ(FixedSheetChooser(std::nullopt, messages).ChooseSheet({"A", "B"}), 0);
  EXPECT_EQ(FixedSheetChooser("B", messages).ChooseSheet({"A", "B"}), 1);
  EXPECT_EQ(FixedSheetChooser("C", messages).ChooseSheet({"A", "B"}), std::nullopt);
  EXPECT_EQ(messages.Alerts(), 1);
}

TEST(SheetChooserTexts, ComeFromTheLanguagePack) {
  test::InstallDir install;
  const LanguagePack language = install.Language();
  ASSERT_TRUE(language.StartLanguage("").ok());
  const SheetChooserTexts texts = ReadSheetChooserTexts(language);
  EXPECT_EQ(texts.title, "Select EXCEL Sheet");
  EXPECT_EQ(texts.ok, "OK");
  EXPECT_EQ(texts.cancel, "Cancel");
}

}  // namespace
}  // namespace vex::excel
