// The Debian package: built with cpack, its file list read with dpkg, its programs run from
// the unpacked tree (it is never installed on the machine that runs the tests).

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "install_test_util.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

namespace vex::install_test {
namespace {

namespace fs = std::filesystem;
using test::ProgramRun;

// One package for the suite: building it installs the whole tree again.
class PackageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = new test::TempDir;
    const ProgramRun r = test::RunShell("cd " + Quote(BUILD_DIR) + " && " + Quote(CPACK_COMMAND) +
                                        " -G DEB -B " + Quote(work_->File("out")) + " --config CPackConfig.cmake 2>&1");
    buildLog_ = new std::string(r.out);
    for (const auto& e : fs::directory_iterator(work_->File("out")))
      if (e.path().extension() == ".deb") package_ = new std::string(e.path().string());
  }
  static void TearDownTestSuite() {
    delete work_;
    delete buildLog_;
    delete package_;
    work_ = nullptr;
    buildLog_ = package_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(package_, nullptr) << *buildLog_; }

  static std::vector<std::string> FileList() {
    const ProgramRun r = test::RunShell("dpkg -c " + Quote(*package_));
    EXPECT_EQ(r.status, 0) << r.err;
    // "drwxr-xr-x root/root 0 2024-01-01 10:00 ./opt/" -> "/opt/"
    std::vector<std::string> paths;
    std::stringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
      const auto dot = line.find(" ./");
      if (dot == std::string::npos) continue;
      std::string path = line.substr(dot + 2);
      if (const auto arrow = path.find(" -> "); arrow != std::string::npos) path.erase(arrow);
      paths.push_back(path);
    }
    return paths;
  }
  static std::string Field(const std::string& name) {
    return test::RunShell("dpkg-deb -f " + Quote(*package_) + " " + name).out;
  }

  static test::TempDir* work_;
  static std::string* buildLog_;
  static std::string* package_;
};

test::TempDir* PackageTest::work_ = nullptr;
std::string* PackageTest::buildLog_ = nullptr;
std::string* PackageTest::package_ = nullptr;

TEST_F(PackageTest, ListsTheProgramsTheInstallFolderAndTheDesktopFiles) {
  const std::vector<std::string> files = FileList();
  const std::string vt = "/" + std::string(VEXTABLE_INSTALL_FOLDER);
  for (const std::string& want :
       {std::string("/usr/bin/cadhost"), std::string("/usr/bin/vextable"), std::string("/usr/bin/vextable-preview"),
        "/" + std::string(CADHOST_INSTALL_FOLDER) + "/cadhost", "/" + std::string(CADHOST_INSTALL_FOLDER) + "/libcadhost.so",
        vt + "/VexTable.ini", vt + "/HarbekSetupPro", vt + "/Sys16/LoadVexTable.arx", vt + "/Sys16/VexTable.arx",
        vt + "/Language/English.ini", vt + "/Language/Chinese.ini", vt + "/Title/", vt + "/Help/VexTable.html",
        vt + "/support/bzhz.SHX", vt + "/support/bzxw.shx", std::string("/usr/share/applications/cadhost.desktop"),
        std::string("/usr/share/applications/harbeksetuppro.desktop"),
        std::string("/usr/share/mime/packages/vextable.xml")})
    EXPECT_NE(std::find(files.begin(), files.end(), want), files.end()) << want;
  // Nothing of the build or the tests travels along.
  for (const std::string& f : files) {
    EXPECT_EQ(f.find("test"), std::string::npos) << f;
    EXPECT_EQ(f.find("/include/"), std::string::npos) << f;
  }
}

TEST_F(PackageTest, NamesItselfAndTheLibrariesItNeeds) {
  EXPECT_EQ(Field("Package"), "vextable\n");
  EXPECT_EQ(Field("Architecture"), test::RunShell("dpkg --print-architecture").out);
  const std::string depends = Field("Depends");
  for (const char* lib : {"libqt6widgets6", "libc6", "libzip4"}) EXPECT_NE(depends.find(lib), std::string::npos) << depends;
  EXPECT_EQ(depends.find("cadhost"), std::string::npos) << "the host's library is in the package";
}

TEST_F(PackageTest, ItsProgramsRunFromTheUnpackedTree) {
  test::TempDir root;
  ASSERT_EQ(test::RunShell("dpkg -x " + Quote(*package_) + " " + Quote(root.path())).status, 0);
  test::TempDir registry;
  const std::string script = registry.File("loaded.scr");
  test::WriteFile(script, kLoadedQuery);
  // First start of the host registers it; the setup program then finds it; the next start
  // loads VexTable for the profile.
  ASSERT_EQ(RunWithRegistry(registry.path(), root.File("usr/bin/cadhost"), "--script /dev/null").status, 0);
  const ProgramRun all = RunWithRegistry(registry.path(), root.File(std::string(VEXTABLE_INSTALL_FOLDER) + "/HarbekSetupPro"), "all");
  ASSERT_EQ(all.status, 0) << all.out;
  const ProgramRun host = RunWithRegistry(registry.path(), root.File("usr/bin/cadhost"), "--script " + Quote(script));
  EXPECT_EQ(host.status, 0);
  EXPECT_NE(host.out.find(root.File(std::string(VEXTABLE_INSTALL_FOLDER) + "/Sys16/VexTable.arx")), std::string::npos)
      << host.out;
  EXPECT_NE(host.out.find("Dialog is close, command close!"), std::string::npos) << host.out;

  const ProgramRun settings = test::RunShell(Quote(root.File("usr/bin/vextable")) + " settings");
  EXPECT_EQ(settings.status, 0) << settings.err;
  EXPECT_NE(settings.out.find("\"Language\": \"English\""), std::string::npos) << settings.out;
  const std::string png = root.File("example.png");
  const ProgramRun preview = test::RunShell(
      "QT_QPA_PLATFORM=offscreen " + Quote(root.File("usr/bin/vextable-preview")) + " " +
      Quote(std::string(VEXTABLE_SOURCE_DIR) + "/examples/example_table.vtf") + " -o " + Quote(png));
  EXPECT_EQ(preview.status, 0) << preview.out << preview.err;
  EXPECT_TRUE(fs::exists(png));
}

}  // namespace
}  // namespace vex::install_test
