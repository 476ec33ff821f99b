// The host's start: registering itself in the registry, the profile, demand loading.

#include "cadhost_host/host_test_util.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

namespace cadhost::test {
namespace {

using vex::platform::RegHive;
using vex::platform::Registry;

constexpr RegHive HKLM = RegHive::LocalMachine;
constexpr RegHive HKCU = RegHive::CurrentUser;

class StartupTest : public HostTest {
 protected:
  std::string Product() const { return acrxProductKey(); }
  std::string Apps() const { return Product() + "\\Applications"; }
  StartReport Start(const std::string& profile = "") {
    StartOptions o;
    o.registryFolder = dir.path();
    o.profile = profile;
    return StartHost(o);
  }
  // A demand-load entry as the setup program writes it.
  void AddApp(const std::string& name, std::uint32_t loadctrls, const std::string& loader) {
    ASSERT_TRUE(reg.SetDword(HKLM, Apps() + "\\" + name, "LOADCTRLS", loadctrls));
    if (!loader.empty()) {
      ASSERT_TRUE(reg.SetString(HKLM, Apps() + "\\" + name, "LOADER", loader));
    }
  }

  vex::test::TempDir dir;
  Registry reg{dir.path()};
};

TEST_F(StartupTest, RegistersTheReleaseProductAndDefaultProfile) {
  const StartReport r = Start();
  EXPECT_TRUE(r.problems.empty());
  EXPECT_EQ(Product(), "Software\\Autodesk\\AutoCAD\\R16.0\\CADHOST-1:409");
  EXPECT_EQ(reg.SubKeys(HKLM, "Software\\Autodesk\\AutoCAD"), std::vector<std::string>{"R16.0"});
  EXPECT_EQ(reg.GetString(HKLM, Product(), "AcadLocation"), ProgramFolder());
  EXPECT_EQ(reg.GetString(HKLM, Product(), "ProductName"), "CADHOST 2004");
  EXPECT_EQ(reg.GetString(HKLM, Product(), "Language"), "English");
  EXPECT_EQ(reg.GetString(HKCU, Product() + "\\Profiles", ""), "<<Unnamed Profile>>");
  EXPECT_TRUE(reg.KeyExists(HKCU, Product() + "\\Profiles\\<<Unnamed Profile>>"));
  EXPECT_EQ(r.profile, "<<Unnamed Profile>>");
}

TEST_F(StartupTest, KeepsWhatIsThereAlready) {
  ASSERT_TRUE(reg.SetString(HKLM, Product(), "AcadLocation", "/opt/elsewhere"));
  ASSERT_TRUE(reg.SetString(HKCU, Product() + "\\Profiles", "", "Drafting"));
  ASSERT_TRUE(reg.SetString(HKCU, Product() + "\\Profiles\\Drafting", "LoadVexTable", "TRUE"));
  const StartReport r = Start();
  EXPECT_EQ(reg.GetString(HKLM, Product(), "AcadLocation"), "/opt/elsewhere");
  EXPECT_EQ(r.profile, "Drafting");
  EXPECT_EQ(reg.GetString(HKCU, Product() + "\\Profiles\\Drafting", "LoadVexTable"), "TRUE");
  EXPECT_FALSE(reg.KeyExists(HKCU, Product() + "\\Profiles\\<<Unnamed Profile>>"));
}

TEST_F(StartupTest, ProfileOptionSelectsAndCreatesTheProfile) {
  Start();
  const StartReport r = Start("Plotting");
  EXPECT_EQ(r.profile, "Plotting");
  EXPECT_EQ(reg.GetString(HKCU, Product() + "\\Profiles", ""), "Plotting");
  EXPECT_TRUE(reg.KeyExists(HKCU, Product() + "\\Profiles\\Plotting"));
  EXPECT_EQ(Start().profile, "Plotting") << "stays current at the next start";
  const StartReport bad = Start("a\\b");
  EXPECT_EQ(bad.profile, "Plotting");
  ASSERT_EQ(bad.problems.size(), 1u);
  EXPECT_FALSE(reg.KeyExists(HKCU, Product() + "\\Profiles\\a"));
}

TEST_F(StartupTest, LoadsTheApplicationsWithLoadOnStartBit) {
  AddApp("OnStart", 2, AppPath("TestApp.arx"));
  AddApp("OnDemandOnly", 4, AppPath("TestLoader.arx"));
  AddApp("Both", 6, AppPath("TestAppLocked.arx"));
  const StartReport r = Start();
  // In the order of the key names.
  EXPECT_EQ(r.loaded, (std::vector<std::string>{AppPath("TestAppLocked.arx"),
                                                 AppPath("TestApp.arx")}));
  EXPECT_TRUE(r.problems.empty());
  EXPECT_TRUE(acedRegCmds->lookupCmd("THELLO"));
  EXPECT_FALSE(acedRegCmds->lookupCmd("TLOADERHELLO"));
}

TEST_F(StartupTest, ApplicationsThatCannotLoadAreReportedAndTheRestLoad) {
  AddApp("A_NoLoader", 2, "");
  AddApp("B_Missing", 2, dir.File("gone.arx"));
  AddApp("C_Refuses", 2, AppPath("TestAppRefuses.arx"));
  AddApp("D_Good", 2, AppPath("TestApp.arx"));
  ASSERT_TRUE(reg.SetString(HKLM, Apps() + "\\E_StringCtrls", "LOADCTRLS", "2"));
  const StartReport r = Start();
  EXPECT_EQ(r.loaded, std::vector<std::string>{AppPath("TestApp.arx")});
  ASSERT_EQ(r.problems.size(), 3u);
  EXPECT_NE(r.problems[0].find("A_NoLoader"), std::string::npos);
  EXPECT_NE(r.problems[1].find("B_Missing"), std::string::npos);
  EXPECT_NE(r.problems[2].find("C_Refuses"), std::string::npos);
  EXPECT_NE(Feedback::Text().find("Unable to load " + dir.File("gone.arx")), std::string::npos);
}

struct BrokenHive {
  const char* name;
  const char* file;
  const char* content;
};

class StartWithBrokenHive : public StartupTest,
                            public ::testing::WithParamInterface<BrokenHive> {};

TEST_P(StartWithBrokenHive, IsReportedLeftUntouchedAndTheHostStillStarts) {
  const std::string path = dir.File(GetParam().file);
  vex::test::WriteFile(path, GetParam().content);
  const StartReport r = Start("Other");
  EXPECT_FALSE(r.problems.empty());
  EXPECT_NE(Feedback::Text().find("Registry: "), std::string::npos) << Feedback::Text();
  EXPECT_EQ(vex::test::ReadFile(path), GetParam().content) << "never written over";
  EXPECT_FALSE(r.profile.empty());
  // The command line still works.
  EXPECT_NE(RunScript("LINE 0,0 1,0\n\n").find("Specify next point"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartWithBrokenHive,
    ::testing::Values(
        BrokenHive{"hklm_junk", "HKLM.reg", "this is no registry file\n\x01\x02"},
        BrokenHive{"hkcu_bad_dword", "HKCU.reg",
                   "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software]\n"
                   "\"x\"=dword:nothex\n"},
        BrokenHive{"hklm_unclosed_key", "HKLM.reg",
                   "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\n"},
        BrokenHive{"hkcu_binary", "HKCU.reg", "\xff\xfe\x01\x02[\x03"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cadhost::test
