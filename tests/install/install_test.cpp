// The installation end to end: `cmake --install` into a scratch prefix, a registry with two
// host releases of two profiles each (one of them the stand-in host's own release and
// product, installed with VexTable), `HarbekSetupPro all`, then the host started headless
// with each profile; the setup window unticking a product; "start".

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "install_test_util.h"
#include "platform/registry.h"
#include "setup/host_products.h"
#include "setup/registration.h"
#include "setup/setup_dialog.h"
#include "setup/setup_keys.h"
#include "support/temp_dir.h"

namespace vex::install_test {
namespace {

namespace fs = std::filesystem;
using platform::RegHive;
using platform::Registry;
using test::ProgramRun;
using test::ReadFile;
using test::WriteFile;

constexpr RegHive HKLM = RegHive::LocalMachine;
constexpr RegHive HKCU = RegHive::CurrentUser;

// The stand-in host registers itself as this release and product.
constexpr const char* kHostRelease = "R16.0";
constexpr const char* kHostProduct = "CADHOST-1:409";
// The other release: a host of which only a recorder of its command line is installed.
constexpr const char* kOldRelease = "R15.0";
constexpr const char* kOldProduct = "ACAD-1:804";
constexpr const char* kOddProfile = "Plot $(touch pwned) 'A'";

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ProgramRun install = test::RunShell(Quote(CMAKE_COMMAND) + " --install " + Quote(BUILD_DIR) + " --prefix " +
                                              Quote(prefix_.path()) + " 2>&1");
    ASSERT_EQ(install.status, 0) << install.out;
  }
  std::string InPrefix(const std::string& folder, const std::string& name = "") const {
    return prefix_.File(folder) + (name.empty() ? "" : "/" + name);
  }
  std::string Vt(const std::string& name = "") const { return InPrefix(VEXTABLE_INSTALL_FOLDER, name); }
  std::string Host(const std::string& name = "") const { return InPrefix(CADHOST_INSTALL_FOLDER, name); }
  std::string Bin(const std::string& name) const { return InPrefix(VEXTABLE_BIN_FOLDER, name); }

  test::TempDir prefix_;
};

TEST_F(InstallTest, LaysOutTheInstallFolderTheHostAndTheLinks) {
  for (const char* f : {"VexTable.ini", "HarbekSetupPro", "Sys16/LoadVexTable.arx", "Sys16/VexTable.arx",
                        "Language/English.ini", "Language/Chinese.ini", "Help/VexTable.html", "support/bzhz.SHX",
                        "support/bzxw.shx", "bin/vextable", "bin/vextable-preview"})
    EXPECT_TRUE(fs::is_regular_file(Vt(f))) << f;
  EXPECT_TRUE(fs::is_directory(Vt("Title")));
  for (const char* f : {"cadhost", "libcadhost.so", "Fonts/txt.shx", "Fonts/gbcbig.shx", "Fonts/bzhz.SHX",
                        "Fonts/bzxw.shx", "Support/acadiso.lin"})
    EXPECT_TRUE(fs::is_regular_file(Host(f))) << f;
  for (const char* link : {"cadhost", "vextable", "vextable-preview"}) {
    EXPECT_TRUE(fs::is_symlink(Bin(link))) << link;
    EXPECT_TRUE(fs::read_symlink(Bin(link)).is_relative()) << link;
  }
  EXPECT_EQ(fs::canonical(Bin("cadhost")), fs::canonical(Host("cadhost")));
  EXPECT_EQ(ReadFile(Vt("support/bzxw.shx")), ReadFile(std::string(VEXTABLE_SOURCE_DIR) + "/support/bzxw.shx"));
  for (const char* f : {"usr/share/applications/cadhost.desktop", "usr/share/applications/harbeksetuppro.desktop",
                        "usr/share/mime/packages/vextable.xml"})
    EXPECT_TRUE(fs::is_regular_file(prefix_.File(f))) << f;
  EXPECT_NE(ReadFile(prefix_.File("usr/share/applications/harbeksetuppro.desktop"))
                .find("Exec=/" + std::string(VEXTABLE_INSTALL_FOLDER) + "/HarbekSetupPro\n"),
            std::string::npos);
}

TEST_F(InstallTest, TheInstalledSettingsAreTheDefaults) {
  // The batch tool finds its install folder through its link, and reads the installed file.
  const ProgramRun installed = test::RunShell(Quote(Bin("vextable")) + " settings");
  const ProgramRun defaults = test::RunShell(Quote(VEXTABLE_CLI) + " settings --ini " + Quote(prefix_.File("none.ini")));
  ASSERT_EQ(installed.status, 0) << installed.err;
  EXPECT_EQ(installed.out, defaults.out);
}

class InstalledSetupTest : public InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    // The stand-in host registers its release, its product and a first profile when it starts.
    const ProgramRun first = Run(Bin("cadhost"), "--script /dev/null");
    ASSERT_EQ(first.status, 0) << first.out;
    ASSERT_EQ(reg_.GetString(HKLM, setup::HostProductKey(kHostRelease, kHostProduct), "AcadLocation"),
              fs::canonical(Host()).string());
    ASSERT_TRUE(reg_.CreateKey(HKCU, setup::ProfileKey(kHostRelease, kHostProduct, "Plotting")));
    // An older host whose program records how it was started.
    fs::create_directories(oldHost_.File("Fonts"));
    WriteFile(oldHost_.File("cadhost"),
              "#!/bin/sh\n{ pwd -P; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > \"$(dirname \"$0\")/argv.txt\"\n");
    fs::permissions(oldHost_.File("cadhost"), fs::perms::owner_all);
    const std::string old = setup::HostProductKey(kOldRelease, kOldProduct);
    ASSERT_TRUE(reg_.SetString(HKLM, old, "AcadLocation", oldHost_.path()));
    ASSERT_TRUE(reg_.SetString(HKLM, old, "ProductName", "AutoCAD 2002"));
    ASSERT_TRUE(reg_.SetString(HKLM, old, "Language", "Chinese"));
    for (const char* p : {"Drafting", kOddProfile})
      ASSERT_TRUE(reg_.CreateKey(HKCU, setup::ProfileKey(kOldRelease, kOldProduct, p)));
  }

  ProgramRun Run(const std::string& program, const std::string& args, const std::string& input = "") {
    return RunWithRegistry(registry_.path(), program, args, input);
  }
  ProgramRun Setup(const std::string& args, const std::string& input = "") {
    return Run(Vt("HarbekSetupPro"), args, input);
  }
  // The host run headless with a profile; its command line's text.
  std::string HostWith(const std::string& profile) {
    const std::string script = scratch_.File("loaded.scr");
    WriteFile(script, kLoadedQuery);
    const ProgramRun r = Run(Bin("cadhost"), "--script " + Quote(script) + " /p " + Quote(profile));
    EXPECT_EQ(r.status, 0) << r.out;
    return r.out;
  }
  bool MainLoaded(const std::string& out) const {
    return out.find(Vt("Sys16/VexTable.arx")) != std::string::npos &&
           out.find("Dialog is close, command close!") != std::string::npos;
  }
  bool LoaderLoaded(const std::string& out) const { return out.find(Vt("Sys16/LoadVexTable.arx")) != std::string::npos; }
  std::optional<std::string> Switch(const char* release, const char* product, const std::string& profile) const {
    return reg_.GetString(HKCU, setup::ProfileKey(release, product, profile), "LoadVexTable");
  }

  test::TempDir registry_;
  Registry reg_{registry_.path()};
  test::TempDir oldHost_;
  test::TempDir scratch_;
};

TEST_F(InstalledSetupTest, AllThenTheHostLoadsVexTableExactlyForTheProfilesSwitchedOn) {
  const ProgramRun all = Setup("all");
  ASSERT_EQ(all.status, 0) << all.out;
  EXPECT_EQ(all.out, "");
  for (const char* p : {"<<Unnamed Profile>>", "Plotting"}) EXPECT_EQ(Switch(kHostRelease, kHostProduct, p), "TRUE");
  for (const char* p : {"Drafting", kOddProfile}) EXPECT_EQ(Switch(kOldRelease, kOldProduct, p), "TRUE");
  EXPECT_EQ(reg_.GetString(HKLM, setup::ApplicationKey(kHostRelease, kHostProduct), "LOADER"),
            Vt("Sys16/LoadVexTable.arx"));
  EXPECT_EQ(reg_.GetString(HKLM, setup::ApplicationKey(kOldRelease, kOldProduct), "REGPATH"),
            "\\\\HKEY_LOCAL_MACHINE\\Software\\Harbek\\VexTable\\R15");
  EXPECT_EQ(reg_.GetString(HKLM, "Software\\Harbek\\VexTable", "InstallPath"), Vt() + "/");
  EXPECT_EQ(ReadFile(oldHost_.File("Fonts/bzhz.SHX")), ReadFile(Vt("support/bzhz.SHX")));

  EXPECT_TRUE(MainLoaded(HostWith("<<Unnamed Profile>>")));
  EXPECT_TRUE(MainLoaded(HostWith("Plotting")));
  // Switched off, or never set: the loader loads, VexTable does not.
  ASSERT_TRUE(reg_.SetString(HKCU, setup::ProfileKey(kHostRelease, kHostProduct, "Plotting"), "LoadVexTable", "FALSE"));
  for (const char* off : {"Plotting", "Created Now"}) {
    const std::string out = HostWith(off);
    EXPECT_TRUE(LoaderLoaded(out)) << off << "\n" << out;
    EXPECT_FALSE(MainLoaded(out)) << off << "\n" << out;
    EXPECT_NE(out.find("Unknown command \"VEXTABLE_DRAW\""), std::string::npos) << out;
  }
  EXPECT_TRUE(MainLoaded(HostWith("<<Unnamed Profile>>"))) << "the profile switch is read at each start";
}

TEST_F(InstalledSetupTest, UntickingEveryProfileOfAProductAndOkRemovesItsEntry) {
  ASSERT_EQ(Setup("all").status, 0);
  const std::string installFolder = Vt() + "/";
  setup::SetupDialogActions actions;
  actions.apply = [&](const setup::ProductList& list) { return setup::Apply(reg_, list, installFolder); };
  setup::SetupDialog dialog(setup::ProductList::Build(reg_, setup::FindHostProducts(reg_)), actions);
  dialog.show();
  // R15.0 comes first, the stand-in host's product second.
  ASSERT_EQ(dialog.Tree()->topLevelItemCount(), 2);
  ASSERT_EQ(dialog.Item({1, -1})->text(0), "CADHOST 2004_English");
  dialog.Item({1, 0})->setCheckState(0, Qt::Unchecked);
  dialog.Item({1, 1})->setCheckState(0, Qt::Unchecked);
  QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
  ASSERT_EQ(dialog.result(), QDialog::Accepted);

  EXPECT_FALSE(reg_.KeyExists(HKLM, setup::ApplicationKey(kHostRelease, kHostProduct)));
  EXPECT_EQ(Switch(kHostRelease, kHostProduct, "<<Unnamed Profile>>"), "FALSE");
  EXPECT_EQ(Switch(kHostRelease, kHostProduct, "Plotting"), "FALSE");
  EXPECT_TRUE(reg_.KeyExists(HKLM, setup::ApplicationKey(kOldRelease, kOldProduct)));
  const std::string out = HostWith("Plotting");
  EXPECT_NE(out.find("No applications are loaded."), std::string::npos) << out;
}

TEST_F(InstalledSetupTest, StartRunsTheChosenHostWithTheChosenProfile) {
  ASSERT_EQ(Setup("all").status, 0);
  ASSERT_TRUE(reg_.SetString(HKCU, setup::ProfileKey(kHostRelease, kHostProduct, "Plotting"), "LoadVexTable", "FALSE"));
  // The stand-in host with its first profile, while another one is current: the host reads
  // its commands from the input the setup program hands on to it.
  ASSERT_TRUE(reg_.SetString(HKCU, setup::ProfilesKey(kHostRelease, kHostProduct), "", "Plotting"));
  auto products = setup::FindHostProducts(reg_);
  ASSERT_TRUE(setup::SetStartup(reg_, products.at(1), "<<Unnamed Profile>>"));
  const ProgramRun started = Setup("start", kLoadedQuery);
  EXPECT_EQ(started.status, 0) << started.out;
  EXPECT_TRUE(MainLoaded(started.out)) << started.out;
  EXPECT_EQ(reg_.GetString(HKCU, setup::ProfilesKey(kHostRelease, kHostProduct), ""), "<<Unnamed Profile>>");

  // The other host, with a profile name no shell may see: the recorder gets it whole.
  ASSERT_TRUE(setup::SetStartup(reg_, products.at(0), kOddProfile));
  const ProgramRun odd = Setup("start");
  EXPECT_EQ(odd.status, 0) << odd.out;
  EXPECT_EQ(ReadFile(oldHost_.File("argv.txt")),
            fs::canonical(oldHost_.path()).string() + "\n[/p]\n[" + kOddProfile + "]\n");
  EXPECT_FALSE(fs::exists(oldHost_.File("pwned")));
  EXPECT_FALSE(fs::exists(scratch_.File("pwned")));
}

TEST_F(InstallTest, WithoutHostSetupSaysSo) {
  test::TempDir registry;
  const ProgramRun all = RunWithRegistry(registry.path(), Vt("HarbekSetupPro"), "all");
  EXPECT_EQ(all.status, 1);
  EXPECT_NE(all.out.find("Not found AutoCAD！\nPlease first install AutoCAD and then run current program！"),
            std::string::npos)
      << all.out;
}

}  // namespace
}  // namespace vex::install_test
