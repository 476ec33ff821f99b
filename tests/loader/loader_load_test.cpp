// LoadVexTable.arx loaded by the host: the main plug-in follows the current profile's switch.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using vex::platform::RegHive;
using vex::platform::Registry;

class LoaderLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("CADHOST_REGISTRY_DIR", registry_.path().c_str(), 1);
    cadhost::ResetHost();
    cadhost::SetCommandLineView(nullptr);
    ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
    fs::create_directories(install_.File("Sys16"));
    fs::copy_file(LOADER_ARX, loader_);
    cadhost::Feedback::Clear();
  }
  void TearDown() override {
    cadhost::ResetHost();
    ::unsetenv("CADHOST_REGISTRY_DIR");
  }
  void PutMainPlugIn() { fs::copy_file(VEXTABLE_ARX, main_); }
  // Makes `profile` current with the switch `value` (nullptr: no value).
  void SetProfile(const std::string& profile, const char* value) {
    const std::string profiles = std::string(acrxProductKey()) + "\\Profiles";
    ASSERT_TRUE(reg_.SetString(RegHive::CurrentUser, profiles, "", profile));
    ASSERT_TRUE(reg_.CreateKey(RegHive::CurrentUser, profiles + "\\" + profile));
    if (value) {
      ASSERT_TRUE(reg_.SetString(RegHive::CurrentUser, profiles + "\\" + profile, "LoadVexTable", value));
    }
  }
  std::vector<std::string> Loaded() const { return acrxDynamicLinker->loadedApplications(); }
  bool IsLoaded(const std::string& path) const {
    const auto apps = Loaded();
    return std::find(apps.begin(), apps.end(), path) != apps.end();
  }
  bool LoadLoader() { return acrxDynamicLinker->loadModule(loader_.c_str(), true, false); }

  vex::test::TempDir registry_;
  Registry reg_{registry_.path()};
  vex::test::TempDir install_;
  std::string loader_ = install_.File("Sys16/LoadVexTable.arx");
  std::string main_ = install_.File("Sys16/VexTable.arx");
};

TEST_F(LoaderLoadTest, SwitchedOnProfileLoadsTheMainPlugInFromTheLoadersFolder) {
  PutMainPlugIn();
  SetProfile("Drafting", "TRUE");
  ASSERT_TRUE(LoadLoader());
  EXPECT_EQ(Loaded(), (std::vector<std::string>{loader_, main_}));
  EXPECT_TRUE(acedRegCmds->lookupCmd("VEXTABLE_DRAW"));
  // The main plug-in set up the installation around its own folder.
  EXPECT_TRUE(fs::exists(install_.File("Language/English.ini")));
  EXPECT_EQ(cadhost::Feedback::Text().find("failed"), std::string::npos) << cadhost::Feedback::Text();
}

struct OffCase {
  const char* name;
  const char* value;  // nullptr: missing
};

class LoaderSwitchedOff : public LoaderLoadTest, public ::testing::WithParamInterface<OffCase> {};

TEST_P(LoaderSwitchedOff, LeavesTheMainPlugInAloneAndSaysNothing) {
  PutMainPlugIn();
  SetProfile("Plotting", GetParam().value);
  cadhost::Feedback::Clear();
  ASSERT_TRUE(LoadLoader());
  EXPECT_EQ(Loaded(), std::vector<std::string>{loader_});
  EXPECT_FALSE(acedRegCmds->lookupCmd("VEXTABLE_DRAW"));
  EXPECT_TRUE(acedRegCmds->lookupCmd("HARBEK"));
  EXPECT_EQ(cadhost::Feedback::Text().find("failed"), std::string::npos) << cadhost::Feedback::Text();
}

INSTANTIATE_TEST_SUITE_P(Cases, LoaderSwitchedOff,
                         ::testing::Values(OffCase{"false_upper", "FALSE"}, OffCase{"true_lower", "true"},
                                           OffCase{"missing", nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoaderLoadTest, RegistersItsOneCommandInItsGroup) {
  SetProfile("Drafting", "FALSE");
  ASSERT_TRUE(LoadLoader());
  std::vector<AcEdCommandInfo> mine;
  for (const AcEdCommandInfo& c : acedRegCmds->commands())
    if (c.group == "HARBEKTABLE") mine.push_back(c);
  ASSERT_EQ(mine.size(), 1u);
  EXPECT_EQ(mine[0].globalName, "HARBEK");
  EXPECT_EQ(mine[0].localName, "HARBEK");
  EXPECT_EQ(mine[0].flags, ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET);
}

TEST_F(LoaderLoadTest, UnloadingTheLoaderUnloadsTheMainPlugInAndItsGroup) {
  PutMainPlugIn();
  SetProfile("Drafting", "TRUE");
  ASSERT_TRUE(LoadLoader());
  ASSERT_TRUE(acrxDynamicLinker->unloadModule(loader_.c_str()));
  EXPECT_TRUE(Loaded().empty());
  EXPECT_FALSE(acedRegCmds->lookupCmd("HARBEK"));
  EXPECT_FALSE(acedRegCmds->lookupCmd("VEXTABLE_DRAW"));
}

TEST_F(LoaderLoadTest, UnloadingWhenTheMainPlugInWasNeverLoadedIsFine) {
  SetProfile("Drafting", "FALSE");
  ASSERT_TRUE(LoadLoader());
  ASSERT_TRUE(acrxDynamicLinker->unloadModule("LoadVexTable.arx"));
  EXPECT_TRUE(Loaded().empty());
  EXPECT_FALSE(acedRegCmds->lookupCmd("HARBEK"));
}

struct BrokenMain {
  const char* name;
  const char* content;  // nullptr: no file at all
};

class LoaderWithBrokenMain : public LoaderLoadTest, public ::testing::WithParamInterface<BrokenMain> {};

TEST_P(LoaderWithBrokenMain, PrintsTheFailureLineAndStaysLoaded) {
  if (GetParam().content) vex::test::WriteFile(main_, GetParam().content);
  SetProfile("Drafting", "TRUE");
  ASSERT_TRUE(LoadLoader());
  const std::string text = cadhost::Feedback::Text();
  EXPECT_NE(text.find("Loading the module " + main_ + " failed; the application unloads."), std::string::npos)
      << text;
  EXPECT_EQ(Loaded(), std::vector<std::string>{loader_});
  EXPECT_TRUE(acedRegCmds->lookupCmd("HARBEK"));
}

INSTANTIATE_TEST_SUITE_P(Cases, LoaderWithBrokenMain,
                         ::testing::Values(BrokenMain{"missing", nullptr},
                                           BrokenMain{"not_a_module", "this is no shared object\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
