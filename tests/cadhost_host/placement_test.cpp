// Placement: hiding entities, transforming sets, dragging with a callback, and the user
// coordinate system the points come in.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "cadhost_host/host_test_util.h"

namespace cadhost::test {
namespace {

using PlacementTest = HostTest;

AcGePoint3d StartOf(AcDbObjectId id) {
  AcDbObjectPointer<AcDbLine> l(id, AcDb::kForRead);
  return l ? l->startPoint() : AcGePoint3d(-1e9, -1e9, -1e9);
}

AcGePoint3d PositionOf(AcDbObjectId id) {
  AcDbObjectPointer<AcDbText> t(id, AcDb::kForRead);
  return t ? t->position() : AcGePoint3d(-1e9, -1e9, -1e9);
}

void SetUcs(const AcGePoint3d& origin, double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  AcGeMatrix3d m;
  m.setCoordSystem(origin, {std::cos(a), std::sin(a), 0}, {-std::sin(a), std::cos(a), 0},
                   AcGeVector3d::kZAxis);
  ASSERT_EQ(acedSetCurrentUCS(m), Acad::eOk);
}

TEST_F(PlacementTest, RedrawModeTwoHidesUntilTransformed) {
  const AcDbObjectId a = AddLine(0, 0, 1, 0), b = AddLine(0, 1, 1, 1);
  ads_name ea, eb, set;
  acdbGetAdsName(ea, a);
  acdbGetAdsName(eb, b);
  EXPECT_EQ(acedRedraw(ea, 2), RTNORM);
  EXPECT_EQ(acedRedraw(eb, 2), RTNORM);
  EXPECT_TRUE(IsHiddenOnScreen(a));
  ASSERT_EQ(acedSSAdd(ea, nullptr, set), RTNORM);
  ads_matrix m = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ASSERT_EQ(acedXformSS(set, m), RTNORM);
  EXPECT_FALSE(IsHiddenOnScreen(a)) << "transformed: shown again";
  EXPECT_TRUE(IsHiddenOnScreen(b));
  EXPECT_EQ(acedRedraw(nullptr, 1), RTNORM);
  EXPECT_FALSE(IsHiddenOnScreen(b)) << "a redraw of the view shows everything";
  EXPECT_EQ(acedRedraw(ea, 7), RTERROR);
  ads_name bogus = {99, 1};
  EXPECT_EQ(acedRedraw(bogus, 2), RTERROR);
  acedSSFree(set);
}

TEST_F(PlacementTest, XformIsAllOrNothing) {
  const AcDbObjectId a = AddLine(0, 0, 1, 0);
  const AcDbObjectId c = AddCircle(0, 0, 1);
  ads_name set, ea, ec;
  acdbGetAdsName(ea, a);
  acdbGetAdsName(ec, c);
  acedSSAdd(ea, nullptr, set);
  acedSSAdd(ec, set, set);
  ads_matrix stretch = {{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  EXPECT_EQ(acedXformSS(set, stretch), RTERROR) << "a circle cannot stretch one way";
  EXPECT_EQ(StartOf(a), AcGePoint3d(0, 0, 0));
  {
    // An entity held open by someone else: nothing moves.
    AcDbEntityPointer held(c, AcDb::kForWrite);
    ads_matrix move = {{1, 0, 0, 3}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    EXPECT_EQ(acedXformSS(set, move), RTERROR);
  }
  EXPECT_EQ(StartOf(a), AcGePoint3d(0, 0, 0));
  ads_matrix turn = {{0, -1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ASSERT_EQ(acedXformSS(set, turn), RTNORM);
  AcDbObjectPointer<AcDbLine> l(a, AcDb::kForRead);
  EXPECT_NEAR(l->endPoint().y, 1.0, 1e-12);
  ads_name notASet;
  acdbGetAdsName(notASet, a);
  EXPECT_EQ(acedXformSS(notASet, turn), RTERROR);
  acedSSFree(set);
}

TEST_F(PlacementTest, UcsConversionsRoundTrip) {
  SetUcs({100, 50, 0}, 30);
  const ads_point p = {10, 0, 0};
  ads_point w, back;
  acdbUcs2Wcs(p, w, false);
  EXPECT_NEAR(w[X], 100 + 10 * std::cos(std::numbers::pi / 6), 1e-9);
  EXPECT_NEAR(w[Y], 50 + 10 * std::sin(std::numbers::pi / 6), 1e-9);
  acdbWcs2Ucs(w, back, false);
  EXPECT_NEAR(back[X], 10, 1e-9);
  EXPECT_NEAR(back[Y], 0, 1e-9);
  ads_point v;
  acdbUcs2Wcs(p, v, true);
  EXPECT_NEAR(v[X], 10 * std::cos(std::numbers::pi / 6), 1e-9) << "vectors are not moved";
  ads_point same = {10, 0, 0};
  acdbUcs2Wcs(same, same, false);
  EXPECT_NEAR(same[X], w[X], 1e-12) << "in place";
}

TEST_F(PlacementTest, SetUcsRefusesAxesThatAreNotOrthonormal) {
  AcGeMatrix3d scaled = AcGeMatrix3d::scaling(2.0);
  EXPECT_EQ(acedSetCurrentUCS(scaled), Acad::eInvalidInput);
  AcGeMatrix3d mirrored;
  mirrored.setCoordSystem({}, AcGeVector3d::kXAxis, -AcGeVector3d::kYAxis, AcGeVector3d::kZAxis);
  EXPECT_EQ(acedSetCurrentUCS(mirrored), Acad::eInvalidInput) << "left-handed";
  AcGeMatrix3d current;
  ASSERT_EQ(acedGetCurrentUCS(current), Acad::eOk);
  EXPECT_TRUE(current.isEqualTo(AcGeMatrix3d::kIdentity));
}

struct DragCase {
  const char* name;
  double originX, originY, degrees;
};

class DragPlace : public HostTest, public ::testing::WithParamInterface<DragCase> {};

// The application's drag: select by window, base point, drag to a second point; the set
// moves by the world displacement between the two points typed in the UCS.
TEST_P(DragPlace, MovesByTheWorldDisplacementOfTheTypedPoints) {
  ASSERT_TRUE(acrxDynamicLinker->loadModule(AppPath("TestApp.arx").c_str(), false));
  const DragCase& c = GetParam();
  const AcDbObjectId l = AddLine(0, 0, 10, 0);
  const AcDbObjectId t = AddText(1, 1, "T1");
  const AcDbObjectId other = AddLine(500, 500, 510, 500);
  SetUcs({c.originX, c.originY, 0}, c.degrees);
  // A window in the UCS around the world box -1..11 x -1..5.
  double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
  for (double x : {-1.0, 11.0})
    for (double y : {-1.0, 5.0}) {
      ads_point p = {x, y, 0};
      acdbWcs2Ucs(p, p, false);
      for (int k = 0; k < 2; ++k) {
        lo[k] = std::min(lo[k], p[k]);
        hi[k] = std::max(hi[k], p[k]);
      }
    }
  char script[256];
  std::snprintf(script, sizeof script, "TDRAG W %.12g,%.12g %.12g,%.12g\n\n0,0\n100,50\n",
                lo[0], lo[1], hi[0], hi[1]);
  const std::string out = RunScript(script);
  EXPECT_NE(out.find("drag rc=5100"), std::string::npos) << out;
  const double a = c.degrees * std::numbers::pi / 180.0;
  const AcGeVector3d d(100 * std::cos(a) - 50 * std::sin(a), 100 * std::sin(a) + 50 * std::cos(a),
                       0);
  EXPECT_POINT_NEAR_3(StartOf(l), d.x, d.y);
  EXPECT_POINT_NEAR_3(PositionOf(t), 1 + d.x, 1 + d.y);
  EXPECT_EQ(StartOf(other), AcGePoint3d(500, 500, 0));
  EXPECT_FALSE(IsHiddenOnScreen(l));
  EXPECT_EQ(OpenSelectionSetCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, DragPlace,
                         ::testing::Values(DragCase{"world", 0, 0, 0},
                                           DragCase{"moved", 30, -20, 0},
                                           DragCase{"rotated", 0, 0, 90},
                                           DragCase{"moved_and_rotated", 30, -20, 33}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlacementTest, DragEndedByEnterOrEscMovesNothing) {
  ASSERT_TRUE(acrxDynamicLinker->loadModule(AppPath("TestApp.arx").c_str(), false));
  const AcDbObjectId l = AddLine(0, 0, 10, 0);
  EXPECT_NE(RunScript("TDRAG 5,0\n\n0,0\n\n").find("drag rc=5000"), std::string::npos);
  EXPECT_TRUE(IsHiddenOnScreen(l)) << "hidden until the view regenerates";
  EXPECT_NE(RunScript("TDRAG 5,0\n\n0,0\n\x1b").find("drag rc=-5002"), std::string::npos);
  EXPECT_EQ(StartOf(l), AcGePoint3d(0, 0, 0));
  RunScript("REGEN\n");
  EXPECT_FALSE(IsHiddenOnScreen(l));
  EXPECT_EQ(OpenSelectionSetCount(), 0);
}

int g_calls = 0;
int FailingCallback(ads_point, ads_matrix) {
  ++g_calls;
  return RTERROR;
}

TEST_F(PlacementTest, DragGenCallsTheCallbackWithThePointTyped) {
  AddLine(0, 0, 1, 0);
  ads_name set;
  ASSERT_EQ(acedSSGet("X", nullptr, nullptr, nullptr, set), RTNORM);
  g_calls = 0;
  TypeInput("4,4\n");
  ads_point p;
  EXPECT_EQ(acedDragGen(set, "\nTo: ", 0, FailingCallback, p), RTERROR);
  EXPECT_EQ(g_calls, 1);
  ads_name none = {0, 0};
  EXPECT_EQ(acedDragGen(none, "\nTo: ", 0, FailingCallback, p), RTERROR);
  EXPECT_EQ(acedDragGen(set, "\nTo: ", 0, nullptr, p), RTERROR);
  acedSSFree(set);
}

}  // namespace
}  // namespace cadhost::test
