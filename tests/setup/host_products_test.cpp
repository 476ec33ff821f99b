// Finding the installed host products and their profiles.

#include "setup/host_products.h"

#include "setup_test_util.h"

namespace vex::setup::test {
namespace {

class HostProductsTest : public SetupFixture {};

TEST_F(HostProductsTest, NoHostNoProducts) { EXPECT_TRUE(FindHostProducts(reg_).empty()); }

TEST_F(HostProductsTest, EveryProductOfEveryReleaseWithItsProfilesInKeyOrder) {
  AddTwoReleases();
  AddProduct({"R16.0", "ACAD-202:804", "AutoCAD LT", "Chinese", {}, "-"});
  // A value of the release key is no product.
  ASSERT_TRUE(reg_.SetString(HKLM, "Software\\Autodesk\\AutoCAD\\R16.0", "CurVer", "ACAD-201:409"));
  const auto products = FindHostProducts(reg_);
  ASSERT_EQ(products.size(), 3u);
  EXPECT_EQ(products[0].release, "R15.0");
  EXPECT_EQ(products[0].product, "ACAD-1:804");
  EXPECT_EQ(products[0].location, r15_);
  EXPECT_EQ(products[0].Text(), "AutoCAD 2002_Chinese");
  EXPECT_EQ(products[0].AppName(), "R15.0\\ACAD-1:804");
  EXPECT_EQ(products[0].profiles, (std::vector<std::string>{"Drafting", "Plot 1:50 \"A\""}));
  EXPECT_EQ(products[1].product, "ACAD-201:409");
  EXPECT_EQ(products[1].profiles, (std::vector<std::string>{"<<Unnamed Profile>>", "Survey"}));
  EXPECT_EQ(products[2].product, "ACAD-202:804");
  EXPECT_EQ(products[2].location, "");
  EXPECT_TRUE(products[2].profiles.empty());
}

TEST_F(HostProductsTest, MissingValuesReadAsEmpty) {
  ASSERT_TRUE(reg_.CreateKey(HKLM, "Software\\Autodesk\\AutoCAD\\R15.0\\Bare"));
  const auto products = FindHostProducts(reg_);
  ASSERT_EQ(products.size(), 1u);
  EXPECT_EQ(products[0].Text(), "_");
  EXPECT_EQ(products[0].FontFolder(), "");
}

struct FolderCase {
  const char* location;
  const char* fonts;
};

class FontFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FontFolder, IsTheFontsFolderOfTheLocation) {
  HostProduct p;
  p.location = GetParam().location;
  EXPECT_EQ(p.FontFolder(), GetParam().fonts);
}

INSTANTIATE_TEST_SUITE_P(Cases, FontFolder,
                         ::testing::Values(FolderCase{"/usr/lib/cadhost", "/usr/lib/cadhost/Fonts"},
                                           FolderCase{"/usr/lib/cadhost/", "/usr/lib/cadhost/Fonts"},
                                           FolderCase{"/", "/Fonts"},
                                           FolderCase{"", ""}));

struct ShortNameCase {
  const char* release;
  const char* shortName;
};

class ReleaseShort : public ::testing::TestWithParam<ShortNameCase> {};

TEST_P(ReleaseShort, IsTheKeyUpToItsFirstDot) {
  EXPECT_EQ(ReleaseShortName(GetParam().release), GetParam().shortName);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReleaseShort,
                         ::testing::Values(ShortNameCase{"R16.0", "R16"}, ShortNameCase{"R15.0", "R15"},
                                           ShortNameCase{"R16.1.2", "R16"}, ShortNameCase{"R17", "R17"},
                                           ShortNameCase{"", ""}));

}  // namespace
}  // namespace vex::setup::test
