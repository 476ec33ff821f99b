// The setup program's registry writes and font copies.

#include "setup/registration.h"

#include "setup_test_util.h"

namespace vex::setup::test {
namespace {

namespace fs = std::filesystem;
using vex::test::ReadFile;
using vex::test::WriteFile;

constexpr const char* k15 = "Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-1:804\\Applications\\VexTable";
constexpr const char* k16 = "Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:409\\Applications\\VexTable";

class RegistrationTest : public SetupFixture {
 protected:
  std::string Hklm(const std::string& key, const char* name) const {
    return reg_.GetString(HKLM, key, name).value_or("<missing>");
  }
  ProductList Build() const { return ProductList::Build(reg_, FindHostProducts(reg_)); }
};

TEST_F(RegistrationTest, ProductKeyNamesTheInstallFolderAndTheOldReleasesLoaders) {
  ASSERT_TRUE(WriteProductKey(reg_, install_.path()));
  const std::string key = "Software\\Harbek\\VexTable";
  EXPECT_EQ(Hklm(key, "Version"), "1.0.0");
  EXPECT_EQ(Hklm(key, "ProductName"), "vextable.example.org VexTable");
  EXPECT_EQ(Hklm(key, "InstallPath"), install_.path());
  for (const int release : {14, 15}) {
    const std::string sub = key + "\\R" + std::to_string(release);
    EXPECT_EQ(Hklm(sub + "\\Commands", "VexTable"), "VexTable");
    EXPECT_EQ(Hklm(sub + "\\Groups", "VexTable"), "VexTable");
    EXPECT_EQ(Hklm(sub + "\\Name", "VexTable"), "VexTable");
    EXPECT_EQ(Hklm(sub + "\\Loader", "MODULE"), install_.path() + "Sys" + std::to_string(release) + "/LoadVexTable.arx");
  }
}

// Two releases with one product and two profiles each.
TEST_F(RegistrationTest, RegisterAllRegistersEveryProductAndProfile) {
  AddTwoReleases();
  const Registration r = RegisterAll(reg_, install_.path());
  ASSERT_TRUE(r.written) << r.written.message();
  EXPECT_TRUE(r.Found());
  for (const char* p : {"Drafting", "Plot 1:50 \"A\""}) EXPECT_EQ(Switch("R15.0", "ACAD-1:804", p), "TRUE");
  for (const char* p : {"<<Unnamed Profile>>", "Survey"}) EXPECT_EQ(Switch("R16.0", "ACAD-201:409", p), "TRUE");
  // The first release's product is chosen for start-up with its current profile.
  EXPECT_EQ(Hklm(StartupKey(), "AppName"), "R15.0\\ACAD-1:804");
  EXPECT_EQ(Hklm(StartupKey(), "Parameter"), "");
  // R15 goes through REGPATH, R16 through the Sys16 loader.
  EXPECT_EQ(reg_.GetDword(HKLM, k15, "LOADCTRLS"), 2u);
  EXPECT_EQ(Hklm(k15, "REGPATH"), "\\\\HKEY_LOCAL_MACHINE\\Software\\Harbek\\VexTable\\R15");
  EXPECT_EQ(Hklm(k15, "LOADER"), "<missing>");
  EXPECT_EQ(reg_.GetDword(HKLM, k16, "LOADCTRLS"), 2u);
  EXPECT_EQ(Hklm(k16, "LOADER"), install_.path() + "Sys16/LoadVexTable.arx");
  EXPECT_EQ(Hklm(k16, "REGPATH"), "<missing>");
  EXPECT_EQ(Hklm(std::string(k16) + "\\Commands", "VexTable"), "VexTable");
  EXPECT_EQ(Hklm(std::string(k16) + "\\Groups", "VexTable"), "VexTable");
  // The fonts went into both hosts' font folders.
  for (const std::string& host : {r15_, r16_}) {
    EXPECT_EQ(ReadFile(host + "/Fonts/bzhz.SHX"), ReadFile(install_.File("support/bzhz.SHX")));
    EXPECT_EQ(ReadFile(host + "/Fonts/bzxw.shx"), ReadFile(install_.File("support/bzxw.shx")));
  }
}

TEST_F(RegistrationTest, DetectWritesNothing) {
  AddTwoReleases();
  const std::string before = ReadFile(reg_.HivePath(HKLM)) + ReadFile(reg_.HivePath(HKCU));
  const Registration r = Detect(reg_);
  EXPECT_EQ(r.products.size(), 2u);
  EXPECT_EQ(ReadFile(reg_.HivePath(HKLM)) + ReadFile(reg_.HivePath(HKCU)), before);
  EXPECT_FALSE(fs::exists(r16_ + "/Fonts/bzhz.SHX"));
}

TEST_F(RegistrationTest, UntickingEveryProfileOfAProductRemovesItsEntryAndSwitchesThemOff) {
  AddTwoReleases();
  ASSERT_TRUE(RegisterAll(reg_, install_.path()).written);
  ASSERT_TRUE(reg_.SetString(HKLM, std::string(k16) + "\\Commands", "Other", "kept?"));
  ProductList list = Build();
  list.SetChecked({1, 0}, false);
  list.SetChecked({1, 1}, false);
  ASSERT_TRUE(Apply(reg_, list, install_.path()));
  EXPECT_FALSE(reg_.KeyExists(HKLM, k16)) << "with all its subkeys";
  EXPECT_TRUE(reg_.KeyExists(HKLM, "Software\\Autodesk\\AutoCAD\\R16.0\\ACAD-201:409"));
  EXPECT_EQ(Switch("R16.0", "ACAD-201:409", "<<Unnamed Profile>>"), "FALSE");
  EXPECT_EQ(Switch("R16.0", "ACAD-201:409", "Survey"), "FALSE");
  EXPECT_TRUE(reg_.KeyExists(HKLM, k15));
  EXPECT_EQ(Switch("R15.0", "ACAD-1:804", "Drafting"), "TRUE");
}

TEST_F(RegistrationTest, OneTickedProfileKeepsTheProductRegistered) {
  AddTwoReleases();
  ProductList list = Build();
  list.SetChecked({0, 0}, false);
  ASSERT_TRUE(Apply(reg_, list, install_.path()));
  EXPECT_EQ(Switch("R15.0", "ACAD-1:804", "Drafting"), "FALSE");
  EXPECT_EQ(Switch("R15.0", "ACAD-1:804", "Plot 1:50 \"A\""), "TRUE");
  EXPECT_EQ(reg_.GetDword(HKLM, k15, "LOADCTRLS"), 2u);
  EXPECT_EQ(ReadFile(r15_ + "/Fonts/bzxw.shx"), ReadFile(install_.File("support/bzxw.shx")));
}

struct ApplyStartupCase {
  const char* name;
  RowRef row;
  const char* appName;
  const char* parameter;
};

class ApplyStartup : public RegistrationTest, public ::testing::WithParamInterface<ApplyStartupCase> {};

TEST_P(ApplyStartup, StoresTheChosenRow) {
  AddTwoReleases();
  ProductList list = Build();
  list.SetStartup(GetParam().row);
  ASSERT_TRUE(Apply(reg_, list, install_.path()));
  EXPECT_EQ(Hklm(StartupKey(), "AppName"), GetParam().appName);
  EXPECT_EQ(Hklm(StartupKey(), "Parameter"), GetParam().parameter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyStartup,
    ::testing::Values(ApplyStartupCase{"product_row", {1, -1}, "R16.0\\ACAD-201:409", ""},
                      ApplyStartupCase{"profile_row", {1, 1}, "R16.0\\ACAD-201:409", "Survey"},
                      ApplyStartupCase{"odd_profile_name", {0, 1}, "R15.0\\ACAD-1:804", "Plot 1:50 \"A\""},
                      ApplyStartupCase{"none_chosen", {}, "<missing>", "<missing>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistrationTest, FontCopiesThatCannotBeMadeAreSkipped) {
  HostProduct noLocation;
  EXPECT_EQ(CopyFonts(install_.path(), noLocation), 0) << "never into the root's /Fonts";
  HostProduct noFontsFolder;
  noFontsFolder.location = hosts_.File("bare");
  fs::create_directories(noFontsFolder.location);
  EXPECT_EQ(CopyFonts(install_.path(), noFontsFolder), 0);
  EXPECT_FALSE(fs::exists(noFontsFolder.location + "/Fonts"));
  HostProduct good;
  good.location = hosts_.File("good");
  fs::create_directories(good.location + "/Fonts");
  WriteFile(good.location + "/Fonts/bzxw.shx", "old\n");
  fs::remove(install_.File("support/bzhz.SHX"));
  EXPECT_EQ(CopyFonts(install_.path(), good), 1) << "the font that is there is copied";
  EXPECT_EQ(ReadFile(good.location + "/Fonts/bzxw.shx"), ReadFile(install_.File("support/bzxw.shx")));
}

struct BrokenHive {
  const char* name;
  const char* file;
  const char* content;
};

class RegistrationWithBrokenHive : public RegistrationTest, public ::testing::WithParamInterface<BrokenHive> {};

TEST_P(RegistrationWithBrokenHive, WritesNothingAtAllAndSaysWhy) {
  AddTwoReleases();
  WriteFile(registryDir_.File(GetParam().file), GetParam().content);
  const std::string hklm = ReadFile(reg_.HivePath(HKLM)), hkcu = ReadFile(reg_.HivePath(HKCU));
  const Result product = WriteProductKey(reg_, install_.path());
  EXPECT_FALSE(product.ok());
  EXPECT_NE(product.message().find("nothing was changed"), std::string::npos) << product.message();
  EXPECT_FALSE(RegisterAll(reg_, install_.path()).written.ok());
  EXPECT_FALSE(Apply(reg_, ProductList::Build(reg_, FindHostProducts(reg_)), install_.path()).ok());
  EXPECT_EQ(ReadFile(reg_.HivePath(HKLM)), hklm);
  EXPECT_EQ(ReadFile(reg_.HivePath(HKCU)), hkcu);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistrationWithBrokenHive,
    ::testing::Values(BrokenHive{"hkcu_junk", "HKCU.reg", "no registry at all\n"},
                      BrokenHive{"hklm_bad_dword", "HKLM.reg",
                                 "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software]\n\"x\"=dword:zz\n"},
                      BrokenHive{"hklm_unclosed_key", "HKLM.reg",
                                 "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistrationTest, AHiveThatCannotBeReadIsReportedAndLeftAlone) {
  AddTwoReleases();
  // A folder in the hive file's place cannot be read, not even by root.
  fs::remove(reg_.HivePath(HKCU));
  fs::create_directories(reg_.HivePath(HKCU));
  const Registration r = RegisterAll(reg_, install_.path());
  EXPECT_FALSE(r.written.ok());
  EXPECT_NE(r.written.message().find("HKCU.reg"), std::string::npos) << r.written.message();
  EXPECT_TRUE(fs::is_directory(reg_.HivePath(HKCU)));
  EXPECT_FALSE(reg_.KeyExists(HKLM, k15));
}

}  // namespace
}  // namespace vex::setup::test
