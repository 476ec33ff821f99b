#include "cli/coordinates.h"

#include <gtest/gtest.h>

namespace vex::cli {
namespace {

struct Case {
  const char* name;
  const char* text;
  std::size_t count;
  std::vector<double> want;  // empty: refused
};

class Coordinates : public ::testing::TestWithParam<Case> {};

TEST_P(Coordinates, ParseOrRefuse) {
  const Case& c = GetParam();
  const auto got = ParseCoordinates(c.text, c.count);
  if (c.want.empty()) {
    EXPECT_FALSE(got) << c.text;
  } else {
    ASSERT_TRUE(got) << c.text;
    EXPECT_EQ(*got, c.want);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Coordinates,
    ::testing::Values(Case{"point", "10,-2.5", 2, {10, -2.5}}, Case{"blanks", " 1 , 2 ", 2, {1, 2}},
                      Case{"signs", "+1,-0.5", 2, {1, -0.5}}, Case{"exponent", "1e3,2E-1", 2, {1000, 0.2}},
                      Case{"window", "0,0,100,-50", 4, {0, 0, 100, -50}}, Case{"too_few", "1", 2, {}},
                      Case{"too_many", "1,2,3", 2, {}}, Case{"empty_part", "1,", 2, {}},
                      Case{"word", "1,two", 2, {}}, Case{"two_points", "1.2.3,4", 2, {}},
                      Case{"bare_exponent", "1e,2", 2, {}}, Case{"infinite", "1e400,0", 2, {}},
                      Case{"nan", "nan,0", 2, {}}, Case{"hex", "0x10,0", 2, {}}, Case{"nothing", "", 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vex::cli
