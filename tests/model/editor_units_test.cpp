// The editor's units and the boxes' texts: pixels and millimetres at a zoom, the header sizes,
// text heights rounded to 0.5 mm, and what the zoom box, the height / scale box and the
// row-height dialog's spin accept.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/editor_boxes.h"
#include "model/editor_units.h"

namespace vex {
namespace {

TEST(EditorUnits, PixelsAndMillimetres) {
  EXPECT_EQ(MmToPixels(10, 1.5), 75);     // a 10 mm row at 150 %
  EXPECT_EQ(MmToPixels(10, 1.0), 50);
  EXPECT_EQ(MmToPixels(10.6, 1.0), 53);
  EXPECT_EQ(MmToPixels(15, 0.1), 8);      // 7.5 rounds up
  EXPECT_DOUBLE_EQ(PixelsToMm(75, 1.5), 10);
  EXPECT_EQ(MmToPixelsTruncated(7, 0.5), 17);  // trunc(17.5)
  EXPECT_EQ(PixelsToWholeMm(53, 1.0), 10);     // the dialog opens a 10.6 mm row with 10
  // Sizes a grid cannot hold are cut, never wrapped.
  EXPECT_EQ(MmToPixels(-3, 1), 0);
  EXPECT_EQ(MmToPixels(std::numeric_limits<double>::quiet_NaN(), 1), 0);
  EXPECT_EQ(MmToPixels(1e300, 64), 1000000000);
}

TEST(EditorUnits, ZoomIsHeld) {
  EXPECT_EQ(ClampZoom(0), kMinZoom);
  EXPECT_EQ(ClampZoom(-2), kMinZoom);
  EXPECT_EQ(ClampZoom(1e9), kMaxZoom);
  EXPECT_EQ(ClampZoom(std::numeric_limits<double>::infinity()), kMaxZoom);
  EXPECT_EQ(ClampZoom(std::numeric_limits<double>::quiet_NaN()), 1.0);
  EXPECT_EQ(ClampZoom(1.25), 1.25);
}

TEST(EditorUnits, HeaderSizes) {
  // Style height 3.5 mm at zoom 1: 17.5 rounds to 18, plus 2.
  EXPECT_EQ(HeaderRowHeight(1, 3.5), 20);
  EXPECT_EQ(HeaderColumnWidth(1), 30);
  EXPECT_EQ(HeaderColumnWidth(0.05), 1);   // trunc(1.5)
  EXPECT_EQ(StyleFontPixels(1, 3.5), 18);  // round(17.5 + 0.5)
  EXPECT_EQ(StyleFontPixels(2, 3), 31);
}

TEST(EditorUnits, TextHeightsGoThroughHalfMillimetres) {
  EXPECT_EQ(TextFontPixels(3.0, 1), 16);   // round(15 + 0.5)
  EXPECT_EQ(TextFontPixels(3.3, 1), 18);   // 3.3 shows as 3.5
  EXPECT_EQ(TextFontPixels(3.2, 1), 16);   // and 3.2 as 3
  EXPECT_EQ(TypedFontPixels(3.3, 1), 17);  // a typed height is not rounded to 0.5 mm
  // Draw: trunc(2 x px / (zoom x 5) + 0.5) x 0.5.
  EXPECT_DOUBLE_EQ(RoundedTextHeight(16, 1), 3.0);
  EXPECT_DOUBLE_EQ(RoundedTextHeight(18, 1), 3.5);
  EXPECT_DOUBLE_EQ(RoundedTextHeight(17, 1), 3.5);  // 6.8 + 0.5 truncates to 7
  EXPECT_DOUBLE_EQ(RoundedTextHeight(23, 1.5), 3.0);
  EXPECT_DOUBLE_EQ(HalfMillimetres(3.24), 3.0);
  EXPECT_DOUBLE_EQ(HalfMillimetres(3.25), 3.5);
}

struct ZoomCase {
  const char* name;
  const char* typed;
  double zoom;
  const char* shown;
};

class ZoomBoxTest : public testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomBoxTest, ReadsAndShows) {
  const ZoomCase& c = GetParam();
  EXPECT_DOUBLE_EQ(ZoomFromText(c.typed), c.zoom);
  EXPECT_EQ(ZoomText(ZoomFromText(c.typed)), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZoomBoxTest,
                         testing::Values(ZoomCase{"Item", "150%", 1.5, "150%"},
                                         ZoomCase{"PercentAndMore", "3000%abc", 30, "3000%"},
                                         ZoomCase{"NoPercent", "2", 0.05, "5%"},
                                         ZoomCase{"Text", "big", 0.05, "5%"},
                                         ZoomCase{"Empty", "", 0.05, "5%"},
                                         ZoomCase{"Zero", "0%", 0.05, "5%"},
                                         ZoomCase{"Negative", "-300%", 0.05, "5%"},
                                         ZoomCase{"Huge", "99999999%", 64, "6400%"},
                                         ZoomCase{"Infinite", "1e999", 64, "6400%"},
                                         ZoomCase{"NotANumber", "nan", 0.05, "5%"},
                                         ZoomCase{"Blanks", "  75 %", 0.75, "75%"},
                                         ZoomCase{"Fraction", "29%", 0.29, "29%"},
                                         ZoomCase{"Decimal", "12.5%", 0.125, "13%"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ValueBox, PictureScalesAreHeld) {
  EXPECT_DOUBLE_EQ(PictureScaleFromText("0"), 0.05);   // "0" stores 0.05
  EXPECT_DOUBLE_EQ(PictureScaleFromText("250"), 1.0);  // "250" stores 1.0
  EXPECT_DOUBLE_EQ(PictureScaleFromText("80%"), 0.8);
  EXPECT_DOUBLE_EQ(PictureScaleFromText("x"), 0.05);
  EXPECT_EQ(PictureScaleText(0.8), "80%");
  EXPECT_EQ(PictureScaleText(0), "5%");
  EXPECT_EQ(PictureScaleText(3), "100%");
  EXPECT_EQ(PictureScaleText(std::numeric_limits<double>::quiet_NaN()), "100%");
}

TEST(ValueBox, TextHeights) {
  EXPECT_EQ(TextHeightText(3.3), "3.5");
  EXPECT_EQ(TextHeightText(3), "3.0");
  EXPECT_DOUBLE_EQ(TextHeightFromText("4.5mm"), 4.5);
  EXPECT_DOUBLE_EQ(TextHeightFromText("-2"), -2);  // no bounds
  EXPECT_DOUBLE_EQ(TextHeightFromText(""), 0);
  EXPECT_TRUE(std::isfinite(TextHeightFromText("1e999")));
  EXPECT_GT(TypedFontPixels(TextHeightFromText("1e999"), 64), 0);
}

TEST(ValueBox, Items) {
  const auto& heights = TextHeightItems();
  ASSERT_EQ(heights.size(), 17u);
  EXPECT_EQ(heights.front(), "2");
  EXPECT_EQ(heights[1], "2.5");
  EXPECT_EQ(heights.back(), "10");
  EXPECT_EQ(PictureScaleItems().front(), "100%");
  EXPECT_EQ(PictureScaleItems().back(), "10%");
  EXPECT_EQ(ZoomItems().size(), 11u);
  EXPECT_EQ(ZoomItems()[4], "100%");
}

TEST(RowHeightDialog, SpinNeverGoesBelowOne) {
  EXPECT_EQ(SpinValue(1, -1), 1);   // the down arrow on 1 keeps 1
  EXPECT_EQ(SpinValue(10, 1), 11);
  EXPECT_EQ(SpinValue(-5, 1), 1);   // a typed negative value steps to 1
  EXPECT_EQ(SpinValue(2147483647, 1), 2147483647);
}

}  // namespace
}  // namespace vex
