// The product list of the setup window: ticks and the start-up row.

#include "setup/product_list.h"

#include "setup/host_products.h"
#include "setup_test_util.h"

namespace vex::setup::test {
namespace {

class ProductListTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    AddTwoReleases();
  }
  ProductList Build() const { return ProductList::Build(reg_, FindHostProducts(reg_)); }
  void SetSwitch(const std::string& release, const std::string& product, const std::string& profile,
                 const char* value) {
    ASSERT_TRUE(reg_.SetString(HKCU, ProfileKey(release, product, profile), "LoadVexTable", value));
  }
  void SetChoice(const char* appName, const char* parameter) {
    ASSERT_TRUE(reg_.SetString(HKLM, StartupKey(), "AppName", appName));
    if (parameter) {
      ASSERT_TRUE(reg_.SetString(HKLM, StartupKey(), "Parameter", parameter));
    }
  }
};

TEST_F(ProductListTest, OnlyFalseUnticksAProfileAndAProductFollowsItsProfiles) {
  SetSwitch("R15.0", "ACAD-1:804", "Drafting", "FALSE");
  SetSwitch("R15.0", "ACAD-1:804", "Plot 1:50 \"A\"", "FALSE");
  SetSwitch("R16.0", "ACAD-201:409", "<<Unnamed Profile>>", "false");  // not "FALSE": on
  const ProductList list = Build();
  ASSERT_EQ(list.Rows().size(), 2u);
  EXPECT_FALSE(list.Checked({0, 0}));
  EXPECT_FALSE(list.Checked({0, 1}));
  EXPECT_FALSE(list.Checked({0, -1}));
  EXPECT_TRUE(list.Checked({1, 0}));
  EXPECT_TRUE(list.Checked({1, 1})) << "a missing switch counts as on";
  EXPECT_TRUE(list.Checked({1, -1}));
}

TEST_F(ProductListTest, ProductWithoutProfilesStartsUnticked) {
  AddProduct({"R16.0", "ACAD-202:804", "AutoCAD LT", "Chinese", {}});
  const ProductList list = Build();
  ASSERT_EQ(list.Rows().size(), 3u);
  EXPECT_FALSE(list.Checked({2, -1}));
}

struct StartupCase {
  const char* name;
  const char* appName;    // nullptr: none stored
  const char* parameter;  // nullptr: none stored
  RowRef row;
};

class ProductListStartup : public ProductListTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(ProductListStartup, IsTheRowTheChoiceNames) {
  if (GetParam().appName) SetChoice(GetParam().appName, GetParam().parameter);
  const ProductList list = Build();
  EXPECT_EQ(list.Startup(), GetParam().row);
  int shown = 0;
  for (int i = 0; i < 2; ++i)
    for (int j = -1; j < 2; ++j) shown += list.IsStartup({i, j});
  EXPECT_EQ(shown, list.Valid(GetParam().row) ? 1 : 0) << "one start-up row at most";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProductListStartup,
    ::testing::Values(StartupCase{"nothing_stored_first_product", nullptr, nullptr, {0, -1}},
                      StartupCase{"product_row", "R16.0\\ACAD-201:409", "", {1, -1}},
                      StartupCase{"parameter_missing", "R16.0\\ACAD-201:409", nullptr, {1, -1}},
                      StartupCase{"profile_row", "R16.0\\ACAD-201:409", "Survey", {1, 1}},
                      StartupCase{"case_ignored", "r15.0\\acad-1:804", "plot 1:50 \"a\"", {0, 1}},
                      StartupCase{"unknown_product", "R14.0\\ACAD-1", "", {}},
                      StartupCase{"unknown_profile", "R16.0\\ACAD-201:409", "Gone", {}},
                      StartupCase{"not_a_release", "L", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProductListTest, TickingAProductTicksAllItsProfiles) {
  ProductList list = Build();
  list.SetChecked({0, -1}, false);
  EXPECT_FALSE(list.Checked({0, 0}));
  EXPECT_FALSE(list.Checked({0, 1}));
  EXPECT_TRUE(list.Checked({1, 0})) << "other products keep theirs";
  list.SetChecked({0, -1}, true);
  EXPECT_TRUE(list.Checked({0, 0}));
  EXPECT_TRUE(list.Checked({0, 1}));
}

TEST_F(ProductListTest, AProductStaysTickedWhileOneOfItsProfilesIs) {
  ProductList list = Build();
  list.SetChecked({1, 0}, false);
  EXPECT_TRUE(list.Checked({1, -1}));
  list.SetChecked({1, 1}, false);
  EXPECT_FALSE(list.Checked({1, -1}));
  EXPECT_FALSE(list.AnyProfileChecked(1));
  list.SetChecked({1, 1}, true);
  EXPECT_TRUE(list.Checked({1, -1}));
}

TEST_F(ProductListTest, DefaultTicksEverythingAndChoosesTheFirstProduct) {
  SetSwitch("R16.0", "ACAD-201:409", "Survey", "FALSE");
  SetChoice("R16.0\\ACAD-201:409", "Survey");
  AddProduct({"R16.0", "ACAD-202:804", "AutoCAD LT", "Chinese", {}});
  ProductList list = Build();
  list.SetChecked({0, -1}, false);
  list.Default();
  for (int i = 0; i < 2; ++i)
    for (int j = -1; j < 2; ++j) EXPECT_TRUE(list.Checked({i, j})) << i << "," << j;
  EXPECT_TRUE(list.Checked({2, -1})) << "a product without profiles too";
  EXPECT_EQ(list.Startup(), (RowRef{0, -1}));
}

}  // namespace
}  // namespace vex::setup::test
