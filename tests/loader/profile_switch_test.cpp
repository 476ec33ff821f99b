// The loader's profile switch and the main plug-in's path.

#include "loader/profile_switch.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vex::loader {
namespace {

using platform::RegHive;
using platform::Registry;

constexpr const char* kProduct = "Software\\Autodesk\\AutoCAD\\R16.0\\CADHOST-1:409";
constexpr const char* kProfiles = "Software\\Autodesk\\AutoCAD\\R16.0\\CADHOST-1:409\\Profiles";

struct SwitchCase {
  const char* name;
  const char* current;  // nullptr: no current profile stored
  const char* value;    // nullptr: no "LoadVexTable" value
  bool dword = false;   // the value stored as a DWORD 1
  bool enabled = false;
};

class ProfileSwitch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(ProfileSwitch, OnlyTheExactTextTrueSwitchesOn) {
  test::TempDir dir;
  Registry reg(dir.path());
  const SwitchCase& c = GetParam();
  // A second profile that is switched on must not count for the current one.
  ASSERT_TRUE(reg.SetString(RegHive::CurrentUser, std::string(kProfiles) + "\\Other", "LoadVexTable", "TRUE"));
  if (c.current) {
    ASSERT_TRUE(reg.SetString(RegHive::CurrentUser, kProfiles, "", c.current));
  }
  const std::string key = std::string(kProfiles) + "\\" + (c.current ? c.current : "Drafting");
  if (c.dword) {
    ASSERT_TRUE(reg.SetDword(RegHive::CurrentUser, key, "LoadVexTable", 1));
  }
  if (c.value) {
    ASSERT_TRUE(reg.SetString(RegHive::CurrentUser, key, "LoadVexTable", c.value));
  }
  EXPECT_EQ(ProfileEnabled(reg, kProduct), c.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileSwitch,
    ::testing::Values(SwitchCase{"true_upper", "Drafting", "TRUE", false, true},
                      SwitchCase{"false_upper", "Drafting", "FALSE"},
                      SwitchCase{"true_lower", "Drafting", "true"},
                      SwitchCase{"true_with_blank", "Drafting", "TRUE "},
                      SwitchCase{"empty", "Drafting", ""},
                      SwitchCase{"value_missing", "Drafting", nullptr},
                      SwitchCase{"dword_one", "Drafting", nullptr, true},
                      SwitchCase{"no_current_profile", nullptr, "TRUE"},
                      SwitchCase{"empty_current_profile", "", "TRUE"},
                      SwitchCase{"odd_name", "Plot 1:50 \"A\" $(x)", "TRUE", false, true},
                      SwitchCase{"name_with_backslash", "Other\\Deeper", "TRUE"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileSwitch, MissingRegistryIsOff) {
  test::TempDir dir;
  EXPECT_FALSE(ProfileEnabled(Registry(dir.File("none")), kProduct));
}

TEST(ProfileSwitch, ProductKeyAndNamesIgnoreCaseAsTheRegistryDoes) {
  test::TempDir dir;
  Registry reg(dir.path());
  ASSERT_TRUE(reg.SetString(RegHive::CurrentUser, kProfiles, "", "drafting"));
  ASSERT_TRUE(reg.SetString(RegHive::CurrentUser, std::string(kProfiles) + "\\Drafting", "loadvextable", "TRUE"));
  EXPECT_TRUE(ProfileEnabled(reg, "software\\autodesk\\autocad\\r16.0\\cadhost-1:409"));
}

struct PathCase {
  const char* loader;
  const char* main;
};

class MainModule : public ::testing::TestWithParam<PathCase> {};

TEST_P(MainModule, LiesInTheLoadersFolder) {
  EXPECT_EQ(MainModulePath(GetParam().loader), GetParam().main);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainModule,
    ::testing::Values(PathCase{"/opt/vextable/Sys16/LoadVexTable.arx", "/opt/vextable/Sys16/VexTable.arx"},
                      PathCase{"/a b/Sys16/LoadVexTable.arx", "/a b/Sys16/VexTable.arx"},
                      PathCase{"/LoadVexTable.arx", "/VexTable.arx"},
                      PathCase{"LoadVexTable.arx", "VexTable.arx"},
                      PathCase{"", "VexTable.arx"}));

}  // namespace
}  // namespace vex::loader
