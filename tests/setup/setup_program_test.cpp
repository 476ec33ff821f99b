// The setup program's course by its first parameter, with a stand-in for its windows.

#include "setup/setup_program.h"

#include "setup/host_products.h"
#include "setup_test_util.h"

namespace vex::setup::test {
namespace {

class FakeUi final : public SetupUi {
 public:
  void Message(std::string_view text) override { messages.emplace_back(text); }
  bool CanShowWindow() const override { return display; }
  void ShowProducts(ProductList list, const ApplyList& apply) override {
    ++windows;
    shown = list;
    if (onShow) onShow(list, apply);
  }
  bool display = true;
  std::vector<std::string> messages;
  int windows = 0;
  ProductList shown;
  std::function<void(ProductList&, const ApplyList&)> onShow;
};

class NoStarter final : public ProgramStarter {
 public:
  Result Start(const std::vector<std::string>& argv, const std::string&) override {
    started = argv;
    return Result::Ok();
  }
  std::vector<std::string> started;
};

class SetupProgramTest : public SetupFixture {
 protected:
  int Run(SetupMode mode) { return RunSetup(mode, reg_, install_.path(), ui_, starter_); }
  FakeUi ui_;
  NoStarter starter_;
};

TEST(SetupMode, ByTheFirstParameter) {
  EXPECT_EQ(ModeOf("all"), SetupMode::kAll);
  EXPECT_EQ(ModeOf("start"), SetupMode::kStart);
  EXPECT_EQ(ModeOf(""), SetupMode::kWindow);
  EXPECT_EQ(ModeOf("ALL"), SetupMode::kWindow);
  EXPECT_EQ(ModeOf("--help"), SetupMode::kWindow);
}

TEST_F(SetupProgramTest, TheWindowOpensOnARegistryThatMatchesItsList) {
  AddTwoReleases();
  ASSERT_TRUE(reg_.SetString(HKCU, ProfileKey("R16.0", "ACAD-201:409", "Survey"), "LoadVexTable", "FALSE"));
  ASSERT_TRUE(reg_.SetString(HKCU, ProfileKey("R16.0", "ACAD-201:409", "<<Unnamed Profile>>"), "LoadVexTable", "FALSE"));
  // The user cancels: what the list showed is written all the same.
  EXPECT_EQ(Run(SetupMode::kWindow), 0);
  ASSERT_EQ(ui_.windows, 1);
  EXPECT_EQ(ui_.shown.Rows().size(), 2u);
  EXPECT_EQ(Switch("R15.0", "ACAD-1:804", "Drafting"), "TRUE");
  EXPECT_FALSE(reg_.KeyExists(HKLM, ApplicationKey("R16.0", "ACAD-201:409")));
  EXPECT_EQ(reg_.GetDword(HKLM, ApplicationKey("R15.0", "ACAD-1:804"), "LOADCTRLS"), 2u);
  EXPECT_EQ(reg_.GetString(HKLM, StartupKey(), "AppName"), "R15.0\\ACAD-1:804");
}

TEST_F(SetupProgramTest, WithoutHostTheWindowOpensEmptyAfterTheMessage) {
  EXPECT_EQ(Run(SetupMode::kWindow), 0);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{std::string(kNotFoundMessage)});
  EXPECT_EQ(ui_.windows, 1);
  EXPECT_TRUE(ui_.shown.Rows().empty());
}

TEST_F(SetupProgramTest, WithoutDisplayTheWindowIsNotOpenedAndNoProfileIsTouched) {
  AddTwoReleases();
  ui_.display = false;
  EXPECT_EQ(Run(SetupMode::kWindow), 2);
  EXPECT_EQ(ui_.windows, 0);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].find("display"), std::string::npos);
  EXPECT_EQ(Switch("R15.0", "ACAD-1:804", "Drafting"), std::nullopt);
}

class SetupProgramWithBrokenHive : public SetupProgramTest, public ::testing::WithParamInterface<SetupMode> {};

TEST_P(SetupProgramWithBrokenHive, SaysSoWritesNothingAndStartsNothing) {
  AddTwoReleases();
  vex::test::WriteFile(reg_.HivePath(HKLM), "junk\n");
  const std::string hkcu = vex::test::ReadFile(reg_.HivePath(HKCU));
  EXPECT_EQ(Run(GetParam()), 1);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].find("HKLM.reg"), std::string::npos) << ui_.messages[0];
  EXPECT_EQ(vex::test::ReadFile(reg_.HivePath(HKLM)), "junk\n");
  EXPECT_EQ(vex::test::ReadFile(reg_.HivePath(HKCU)), hkcu);
  EXPECT_EQ(ui_.windows, 0);
  EXPECT_TRUE(starter_.started.empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, SetupProgramWithBrokenHive,
                         ::testing::Values(SetupMode::kAll, SetupMode::kStart, SetupMode::kWindow));

}  // namespace
}  // namespace vex::setup::test
