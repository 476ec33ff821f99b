#include "platform/text_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vex::platform {
namespace {

TEST(TruncateUtf8, NeverCutsACharacterInHalf) {
  const std::string s = "a中文";  // 1 + 3 + 3 bytes
  EXPECT_EQ(TruncateUtf8(s, 100), s);
  EXPECT_EQ(TruncateUtf8(s, 7), s);
  EXPECT_EQ(TruncateUtf8(s, 6), "a中");
  EXPECT_EQ(TruncateUtf8(s, 5), "a中");
  EXPECT_EQ(TruncateUtf8(s, 4), "a中");
  EXPECT_EQ(TruncateUtf8(s, 3), "a");
  EXPECT_EQ(TruncateUtf8(s, 1), "a");
  EXPECT_EQ(TruncateUtf8(s, 0), "");
}

TEST(FormatFixed, RoundsLikePrintf) {
  EXPECT_EQ(FormatFixed(3.456, 2), "3.46");
  EXPECT_EQ(FormatFixed(12.345, 2), "12.35");
  EXPECT_EQ(FormatFixed(12.345, 6), "12.345000");
  EXPECT_EQ(FormatFixed(2.675, 2), "2.67");  // 2.675 is 2.67499999... in binary
  EXPECT_EQ(FormatFixed(-0.5, 2), "-0.50");
  EXPECT_EQ(FormatFixed(5, 6), "5.000000");
}

TEST(ParseLeadingInt, ReadsLikeStrtol) {
  EXPECT_EQ(ParseLeadingInt("42"), 42);
  EXPECT_EQ(ParseLeadingInt("  -7"), -7);
  EXPECT_EQ(ParseLeadingInt("+3"), 3);
  EXPECT_EQ(ParseLeadingInt("12abc"), 12);
  EXPECT_EQ(ParseLeadingInt("3.9"), 3);
  EXPECT_EQ(ParseLeadingInt("abc"), 0);
  EXPECT_EQ(ParseLeadingInt(""), 0);
  EXPECT_EQ(ParseLeadingInt("-"), 0);
  EXPECT_EQ(ParseLeadingInt("99999999999999999999"), std::numeric_limits<int>::max());
  EXPECT_EQ(ParseLeadingInt("-99999999999999999999"), std::numeric_limits<int>::min());
}

TEST(ParseLeadingDouble, ReadsLikeStrtod) {
  EXPECT_DOUBLE_EQ(ParseLeadingDouble("3.50"), 3.5);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble(" -2.5mm"), -2.5);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble("+1e2"), 100.0);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble("x1"), 0.0);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble(""), 0.0);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble("+-1"), 0.0);
  EXPECT_TRUE(std::isinf(ParseLeadingDouble("1e999")));
  EXPECT_DOUBLE_EQ(ParseLeadingDouble("1e-999"), 0.0);
}

TEST(ReplaceAll, ReplacesEveryOccurrenceLeftToRight) {
  EXPECT_EQ(ReplaceAll("(d)x(d)", "(d)", "%%d"), "%%dx%%d");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("a\\nb", "\\n", "\n"), "a\nb");
}

TEST(EqualsNoCase, FoldsOnlyAscii) {
  EXPECT_TRUE(EqualsNoCase("Setting", "SETTING"));
  EXPECT_FALSE(EqualsNoCase("Setting", "Settings"));
  EXPECT_TRUE(EqualsNoCase("表格", "表格"));
}

}  // namespace
}  // namespace vex::platform
