#include <gtest/gtest.h>

#include <numbers>

#include "cadhost/sdk/gegeom.h"
#include "cadhost/sdk/dbmain.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

constexpr double kPi = std::numbers::pi;

struct MatrixCase {
  const char* name;
  AcGeMatrix3d m;
  AcGePoint3d in;
  AcGePoint3d out;
};

class MatrixMapsPoints : public ::testing::TestWithParam<MatrixCase> {};

TEST_P(MatrixMapsPoints, PointLandsWhereExpected) {
  AcGePoint3d p = GetParam().in;
  p.transformBy(GetParam().m);
  EXPECT_POINT_NEAR(p, GetParam().out.x, GetParam().out.y, GetParam().out.z, kTol);
}

INSTANTIATE_TEST_SUITE_P(
    Transforms, MatrixMapsPoints,
    ::testing::Values(
        MatrixCase{"identity", AcGeMatrix3d(), {1, 2, 3}, {1, 2, 3}},
        MatrixCase{"translation", AcGeMatrix3d::translation({10, -5, 2}), {1, 2, 3}, {11, -3, 5}},
        MatrixCase{"scaling_about_origin", AcGeMatrix3d::scaling(2), {1, 2, 3}, {2, 4, 6}},
        MatrixCase{"scaling_about_point", AcGeMatrix3d::scaling(3, {1, 1, 0}), {2, 1, 0}, {4, 1, 0}},
        MatrixCase{"rotation_quarter", AcGeMatrix3d::rotation(kPi / 2), {1, 0, 0}, {0, 1, 0}},
        MatrixCase{"rotation_about_point", AcGeMatrix3d::rotation(kPi, AcGeVector3d::kZAxis, {5, 5, 0}),
                   {6, 5, 0}, {4, 5, 0}},
        MatrixCase{"product_applies_right_first",
                   AcGeMatrix3d::translation({10, 0, 0}) * AcGeMatrix3d::rotation(kPi / 2),
                   {1, 0, 0}, {10, 1, 0}},
        MatrixCase{"nonuniform", AcGeMatrix3d::scaling3d(2, 3, 1), {1, 1, 1}, {2, 3, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Matrix, InverseUndoesTheTransform) {
  const AcGeMatrix3d m = AcGeMatrix3d::translation({3, 4, 5}) * AcGeMatrix3d::rotation(0.7) *
                         AcGeMatrix3d::scaling3d(2, 0.5, 3);
  bool ok = false;
  const AcGeMatrix3d inv = m.inverse(&ok);
  ASSERT_TRUE(ok);
  EXPECT_TRUE((m * inv).isEqualTo(AcGeMatrix3d::kIdentity, AcGeTol()) ||
              (m * inv).isEqualTo(AcGeMatrix3d::kIdentity));
  AcGeMatrix3d zero = AcGeMatrix3d::scaling3d(1, 0, 1);
  zero.inverse(&ok);
  EXPECT_FALSE(ok);
}

TEST(Matrix, UniformScaleAndMirrorAreConformal) {
  EXPECT_TRUE(AcGeMatrix3d::rotation(1.1).isUniScaledOrtho());
  EXPECT_TRUE(AcGeMatrix3d::scaling(4).isUniScaledOrtho());
  EXPECT_TRUE(AcGeMatrix3d::scaling3d(-1, 1, 1).isUniScaledOrtho());
  EXPECT_LT(AcGeMatrix3d::scaling3d(-1, 1, 1).det(), 0.0);
  EXPECT_FALSE(AcGeMatrix3d::scaling3d(2, 1, 1).isUniScaledOrtho());
  EXPECT_DOUBLE_EQ(AcGeMatrix3d::scaling(4).scale(), 4.0);
}

TEST(Matrix, VectorsIgnoreTranslation) {
  AcGeVector3d v(1, 0, 0);
  v.transformBy(AcGeMatrix3d::translation({5, 5, 5}));
  EXPECT_EQ(v, AcGeVector3d(1, 0, 0));
}

TEST(ObjectCoordinates, ArbitraryAxisRule) {
  // +Z is the world; -Z mirrors x (the usual mirrored arc of 2D drawings).
  EXPECT_TRUE(acgeOcsToWcs(AcGeVector3d::kZAxis).isEqualTo(AcGeMatrix3d::kIdentity));
  AcGePoint3d p(1, 2, 0);
  p.transformBy(acgeOcsToWcs({0, 0, -1}));
  EXPECT_POINT_NEAR(p, -1, 2, 0, kTol);
  // Any normal gives an orthonormal, right-handed system whose z is the normal.
  const AcGeMatrix3d m = acgeOcsToWcs({1, 1, 1});
  EXPECT_TRUE(m.isUniScaledOrtho());
  EXPECT_NEAR(m.det(), 1.0, 1e-12);
  EXPECT_NEAR(m.entry[0][2], 1 / std::sqrt(3.0), 1e-12);
}

TEST(Extents, EmptyUntilAPointIsAdded) {
  AcDbExtents e;
  EXPECT_TRUE(e.isEmpty());
  e.addPoint({1, 2, 3});
  EXPECT_FALSE(e.isEmpty());
  EXPECT_EQ(e.minPoint(), AcGePoint3d(1, 2, 3));
  e.addExt(AcDbExtents({-1, 5, 0}, {0, 6, 0}));
  EXPECT_EQ(e.minPoint(), AcGePoint3d(-1, 2, 0));
  EXPECT_EQ(e.maxPoint(), AcGePoint3d(1, 6, 3));
  EXPECT_EQ(e.set({1, 1, 1}, {0, 0, 0}), Acad::eInvalidExtents);
}

TEST(Extents, TransformIsTheBoxOfTheCorners) {
  AcDbExtents e({0, 0, 0}, {2, 1, 0});
  e.transformBy(AcGeMatrix3d::rotation(kPi / 2));
  EXPECT_POINT_NEAR(e.minPoint(), -1, 0, 0, kTol);
  EXPECT_POINT_NEAR(e.maxPoint(), 0, 2, 0, kTol);
}

TEST(Handles, PrintInUpperHex) {
  EXPECT_EQ(AcDbHandle(0x1A2b).toString(), "1A2B");
  EXPECT_EQ(AcDbHandle().toString(), "0");
}

TEST(Status, NamesForMessages) {
  EXPECT_STREQ(acadErrorStatusText(Acad::eOk), "eOk");
  EXPECT_STREQ(acadErrorStatusText(Acad::eWasErased), "eWasErased");
  EXPECT_EQ(static_cast<int>(Acad::eOk), 0);
  EXPECT_EQ(RTNORM, 5100);
  EXPECT_EQ(RTNONE, 5000);
  EXPECT_EQ(RTCAN, -5002);
}

}  // namespace
}  // namespace cadhost::test
