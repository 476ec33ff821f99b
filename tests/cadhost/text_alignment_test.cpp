// The text advance model and justified text: position and extents.

#include <gtest/gtest.h>

#include <numbers>

#include "test_util.h"

namespace cadhost::test {
namespace {

struct RatioCase {
  const char* text;
  double ratio;
};

class AdvanceModel : public ::testing::TestWithParam<RatioCase> {};

TEST_P(AdvanceModel, SumOfCharacterRatios) {
  EXPECT_DOUBLE_EQ(TextAdvanceRatio(GetParam().text), GetParam().ratio) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AdvanceModel,
    ::testing::Values(RatioCase{"", 0}, RatioCase{"A", 0.5}, RatioCase{"AB 1", 2.0},
                      RatioCase{"中文", 2.0}, RatioCase{"表1", 1.5},
                      RatioCase{"ｱ", 0.5},           // halfwidth katakana is narrow
                      RatioCase{"Ａ", 1.0},           // fullwidth Latin is wide
                      RatioCase{"한", 1.0},
                      RatioCase{"e\u0301", 0.5},      // combining accent adds nothing
                      RatioCase{"%%c10", 1.5},        // diameter sign + 2 digits
                      RatioCase{"%%d%%p%%%", 1.5},    // degree, plus-minus, percent
                      RatioCase{"%%uA%%u", 0.5},      // underline switches add nothing
                      RatioCase{"%%065", 0.5},        // character 65
                      RatioCase{"\\U+4E2D", 1.0},     // escaped wide character
                      RatioCase{"\xff\xfe", 1.0}));   // stray bytes count as narrow

TEST(AdvanceModel, HeightAndWidthFactorScale) {
  EXPECT_DOUBLE_EQ(TextAdvance("中文", 3.5, 0.7), 3.5 * 0.7 * 2.0);
  EXPECT_EQ(DisplayCharacters("%%c\\U+4E2D"), std::u32string(U"\u2205\u4E2D"));
}

struct AlignCase {
  const char* name;
  AcDb::TextHorzMode h;
  AcDb::TextVertMode v;
  double dx, dy;  // position = alignment point - (dx, dy) for "AB" at height 2
};

class Justification : public ::testing::TestWithParam<AlignCase> {};

TEST_P(Justification, PositionAndExtentsFollowTheAlignmentPoint) {
  const AlignCase& c = GetParam();
  AcDbText t;
  // In the order the drawing code sets them: the position first, the alignment point last.
  t.setTextString("AB");
  t.setHeight(2);
  t.setWidthFactor(1);
  t.setPosition({10, 20, 0});
  t.setHorizontalMode(c.h);
  t.setVerticalMode(c.v);
  t.setAlignmentPoint({10, 20, 0});
  EXPECT_POINT_NEAR(t.position(), 10 - c.dx, 20 - c.dy, 0, 1e-12);
  AcDbExtents ext;
  ASSERT_EQ(t.getGeomExtents(ext), Acad::eOk);
  EXPECT_POINT_NEAR(ext.minPoint(), 10 - c.dx, 20 - c.dy, 0, 1e-12);
  EXPECT_POINT_NEAR(ext.maxPoint(), 12 - c.dx, 22 - c.dy, 0, 1e-12);
  // Changing the text moves the position, not the alignment point.
  t.setTextString("ABCD");
  EXPECT_POINT_NEAR(t.alignmentPoint(), 10, 20, 0, 0);
  EXPECT_NEAR(t.position().x, 10 - 2 * c.dx, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    LeftCentreRightByTopMiddleBottom, Justification,
    ::testing::Values(AlignCase{"left_top", AcDb::kTextLeft, AcDb::kTextTop, 0, 2},
                      AlignCase{"left_middle", AcDb::kTextLeft, AcDb::kTextVertMid, 0, 1},
                      AlignCase{"left_bottom", AcDb::kTextLeft, AcDb::kTextBottom, 0, 0},
                      AlignCase{"centre_top", AcDb::kTextCenter, AcDb::kTextTop, 1, 2},
                      AlignCase{"centre_middle", AcDb::kTextCenter, AcDb::kTextVertMid, 1, 1},
                      AlignCase{"centre_bottom", AcDb::kTextCenter, AcDb::kTextBottom, 1, 0},
                      AlignCase{"right_top", AcDb::kTextRight, AcDb::kTextTop, 2, 2},
                      AlignCase{"right_middle", AcDb::kTextRight, AcDb::kTextVertMid, 2, 1},
                      AlignCase{"right_bottom", AcDb::kTextRight, AcDb::kTextBottom, 2, 0},
                      AlignCase{"centre_base", AcDb::kTextCenter, AcDb::kTextBase, 1, 0},
                      AlignCase{"middle", AcDb::kTextMid, AcDb::kTextBase, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Justification, LeftBaselineKeepsThePosition) {
  AcDbText t({3, 4, 0}, "AB", AcDbObjectId(), 2);
  t.setAlignmentPoint({100, 100, 0});
  EXPECT_TRUE(t.isDefaultAlignment());
  EXPECT_POINT_NEAR(t.position(), 3, 4, 0, 0);
}

TEST(Justification, RightTopCellTextAsTablesPlaceIt) {
  // A cell text with height 3, right/top, alignment point 1 mm inside the corner (29, -1).
  AcDbText t;
  t.setTextString("ABC");
  t.setHeight(3);
  t.setWidthFactor(0.7);
  t.setPosition({29, -1, 0});
  t.setHorizontalMode(AcDb::kTextRight);
  t.setVerticalMode(AcDb::kTextTop);
  t.setAlignmentPoint({29, -1, 0});
  AcDbExtents ext;
  t.getGeomExtents(ext);
  EXPECT_NEAR(ext.maxPoint().x, 29, 1e-12);
  EXPECT_NEAR(ext.maxPoint().y, -1, 1e-12);
  EXPECT_NEAR(ext.minPoint().x, 29 - 3 * 0.7 * 1.5, 1e-12);
  EXPECT_NEAR(ext.minPoint().y, -4, 1e-12);
}

TEST(Justification, RotatedTextTurnsItsBox) {
  AcDbText t;
  t.setTextString("AB");
  t.setHeight(2);
  t.setRotation(std::numbers::pi / 2);
  t.setHorizontalMode(AcDb::kTextCenter);
  t.setVerticalMode(AcDb::kTextVertMid);
  t.setAlignmentPoint({0, 0, 0});
  EXPECT_POINT_NEAR(t.position(), 1, -1, 0, 1e-12);
  AcDbExtents ext;
  t.getGeomExtents(ext);
  EXPECT_POINT_NEAR(ext.minPoint(), -1, -1, 0, 1e-12);
  EXPECT_POINT_NEAR(ext.maxPoint(), 1, 1, 0, 1e-12);
}

TEST(Justification, AlignedAndFitFollowTheTwoPoints) {
  AcDbText aligned;
  aligned.setTextString("AB");
  aligned.setHeight(1);
  aligned.setHorizontalMode(AcDb::kTextAlign);
  aligned.setPosition({0, 0, 0});
  aligned.setAlignmentPoint({0, 4, 0});
  EXPECT_DOUBLE_EQ(aligned.height(), 4);
  EXPECT_NEAR(aligned.rotation(), std::numbers::pi / 2, 1e-12);

  AcDbText fit;
  fit.setTextString("AB");
  fit.setHeight(2);
  fit.setHorizontalMode(AcDb::kTextFit);
  fit.setPosition({0, 0, 0});
  fit.setAlignmentPoint({4, 0, 0});
  EXPECT_DOUBLE_EQ(fit.widthFactor(), 2);
  EXPECT_DOUBLE_EQ(fit.height(), 2);
}

TEST(Justification, TransformMovesBothPoints) {
  AcDbText t;
  t.setTextString("AB");
  t.setHeight(2);
  t.setHorizontalMode(AcDb::kTextCenter);
  t.setAlignmentPoint({0, 0, 0});
  ASSERT_EQ(t.transformBy(AcGeMatrix3d::translation({5, 5, 0}) * AcGeMatrix3d::scaling(2)), Acad::eOk);
  EXPECT_POINT_NEAR(t.alignmentPoint(), 5, 5, 0, 1e-12);
  EXPECT_POINT_NEAR(t.position(), 3, 5, 0, 1e-12);
  EXPECT_DOUBLE_EQ(t.height(), 4);
  ASSERT_EQ(t.transformBy(AcGeMatrix3d::scaling3d(-1, 1, 1)), Acad::eOk);
  EXPECT_TRUE(t.isMirroredInX());
  AcDbExtents ext;
  t.getGeomExtents(ext);
  EXPECT_POINT_NEAR(ext.minPoint(), -7, 5, 0, 1e-12);
  EXPECT_POINT_NEAR(ext.maxPoint(), -3, 9, 0, 1e-12);
}

TEST(Justification, AppendGivesHeightAndStyleDefaults) {
  AcDbDatabase db;
  auto* t = new AcDbText({0, 0, 0}, "x");
  const AcDbObjectId id = AppendToModel(db, t);
  AcDbObjectPointer<AcDbText> text(id, AcDb::kForRead);
  EXPECT_EQ(text->textStyle(), db.textstyle());
  EXPECT_DOUBLE_EQ(text->height(), db.textsize());
}

}  // namespace
}  // namespace cadhost::test
