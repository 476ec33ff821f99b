#pragma once
// A registry with installed host products, as the setup program's tests need it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "setup/setup_keys.h"
#include "support/temp_dir.h"

namespace vex::setup::test {

inline constexpr platform::RegHive HKLM = platform::RegHive::LocalMachine;
inline constexpr platform::RegHive HKCU = platform::RegHive::CurrentUser;

// A host product to put into the registry; its folder (with Fonts/) is made in the scratch
// folder unless `location` is "-" (no "AcadLocation" value at all).
struct HostEntry {
  std::string release;
  std::string product;
  std::string name;
  std::string language;
  std::vector<std::string> profiles;
  std::string location = "";
};

// A scratch registry, an install folder with the two fonts in support/, and host folders.
class SetupFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(install_.File("support"));
    vex::test::WriteFile(install_.File("support/bzhz.SHX"), "AutoCAD-86 bigfont 1.0\n; ours\n");
    vex::test::WriteFile(install_.File("support/bzxw.shx"), "AutoCAD-86 shapes 1.0\n; ours\n");
  }

  // Registers a product as its host's installer would; returns its folder ("" for none).
  std::string AddProduct(const HostEntry& p) {
    const std::string key = HostProductKey(p.release, p.product);
    std::string folder;
    if (p.location != "-") {
      folder = p.location.empty() ? hosts_.File(p.release + "-" + p.product) : p.location;
      std::filesystem::create_directories(folder + "/Fonts");
      EXPECT_TRUE(reg_.SetString(HKLM, key, "AcadLocation", folder));
    }
    EXPECT_TRUE(reg_.SetString(HKLM, key, "ProductName", p.name));
    EXPECT_TRUE(reg_.SetString(HKLM, key, "Language", p.language));
    for (const std::string& profile : p.profiles)
      EXPECT_TRUE(reg_.CreateKey(HKCU, ProfileKey(p.release, p.product, profile)));
    return folder;
  }

  // Two releases with one product and two profiles each.
  void AddTwoReleases() {
    r15_ = AddProduct({"R15.0", "ACAD-1:804", "AutoCAD 2002", "Chinese", {"Drafting", "Plot 1:50 \"A\""}});
    r16_ = AddProduct({"R16.0", "ACAD-201:409", "AutoCAD 2004", "English", {"<<Unnamed Profile>>", "Survey"}});
  }

  std::optional<std::string> Switch(const std::string& release, const std::string& product,
                                    const std::string& profile) const {
    return reg_.GetString(HKCU, ProfileKey(release, product, profile), "LoadVexTable");
  }

  vex::test::TempDir registryDir_;
  platform::Registry reg_{registryDir_.path()};
  vex::test::TempDir install_;
  vex::test::TempDir hosts_;
  std::string r15_, r16_;
};

}  // namespace vex::setup::test
