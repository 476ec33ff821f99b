// Zoom and pan maths of the drawing view.

#include "cadhost/ui/view_transform.h"

#include <gtest/gtest.h>

namespace cadhost::ui {
namespace {

ViewTransform View(int w = 800, int h = 600) {
  ViewTransform v;
  v.SetViewport(w, h);
  v.Set({0, 0}, 2.0);
  return v;
}

TEST(ViewTransform, ScreenAndDrawingAreInverseWithYUp) {
  ViewTransform v = View();
  v.Set({100, 50}, 4.0);
  EXPECT_EQ(v.ToScreen({100, 50}), (Pt{400, 300}));
  EXPECT_EQ(v.ToScreen({101, 51}), (Pt{404, 296})) << "drawing y up, screen y down";
  const Pt back = v.ToWorld(v.ToScreen({-3.5, 7.25}));
  EXPECT_NEAR(back.x, -3.5, 1e-12);
  EXPECT_NEAR(back.y, 7.25, 1e-12);
  const Affine m = v.WorldToScreen();
  EXPECT_EQ(m.Map({101, 51}), v.ToScreen({101, 51}));
}

struct ZoomCase {
  const char* name;
  double sx, sy, factor;
};

class ZoomAbout : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomAbout, KeepsThePointUnderTheCursor) {
  const ZoomCase& c = GetParam();
  ViewTransform v = View();
  const Pt before = v.ToWorld({c.sx, c.sy});
  v.ZoomAbout({c.sx, c.sy}, c.factor);
  const Pt after = v.ToWorld({c.sx, c.sy});
  EXPECT_NEAR(after.x, before.x, 1e-9);
  EXPECT_NEAR(after.y, before.y, 1e-9);
  EXPECT_NEAR(v.Scale(), 2.0 * c.factor, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZoomAbout,
                         ::testing::Values(ZoomCase{"In_at_corner", 0, 0, 1.25},
                                           ZoomCase{"Out_off_centre", 700, 100, 0.8},
                                           ZoomCase{"Far_in", 10, 590, 1000}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(ViewTransform, ScaleStaysWithinItsLimits) {
  ViewTransform v = View();
  v.ZoomAbout({0, 0}, 1e30);
  EXPECT_EQ(v.Scale(), ViewTransform::kMaxScale);
  v.ZoomAbout({0, 0}, 1e-40);
  EXPECT_EQ(v.Scale(), ViewTransform::kMinScale);
  const double s = v.Scale();
  v.ZoomAbout({0, 0}, 0.0);
  v.ZoomAbout({0, 0}, std::nan(""));
  EXPECT_EQ(v.Scale(), s) << "a factor that is no factor changes nothing";
}

TEST(ViewTransform, PanMovesTheDrawingWithTheCursor) {
  ViewTransform v = View();
  const Pt p = v.ToScreen({10, 10});
  v.PanBy(30, -20);
  EXPECT_EQ(v.ToScreen({10, 10}), (Pt{p.x + 30, p.y - 20}));
}

TEST(ViewTransform, ZoomToFitsTheBoxWithItsMarginAndKeepsItsAspect) {
  ViewTransform v = View(800, 600);
  v.ZoomTo(Box::Of({0, 0}, {400, 100}), 0.05);
  EXPECT_NEAR(v.Scale(), 800 * 0.9 / 400, 1e-12) << "the wide side decides";
  EXPECT_EQ(v.Center(), (Pt{200, 50}));
  const Box shown = v.Visible();
  EXPECT_TRUE(shown.Contains(Box::Of({0, 0}, {400, 100})));
  v.ZoomTo(Box::Of({0, 0}, {10, 1000}), 0.0);
  EXPECT_NEAR(v.Scale(), 0.6, 1e-12);
  const double s = v.Scale();
  v.ZoomTo(Box::Of({5, 5}, {5, 5}));
  EXPECT_EQ(v.Scale(), s) << "a point keeps the scale";
  EXPECT_EQ(v.Center(), (Pt{5, 5}));
  v.ZoomTo(Box());
  EXPECT_EQ(v.Center(), (Pt{5, 5})) << "an empty box changes nothing";
}

TEST(ViewTransform, WheelNotchesMultiply) {
  EXPECT_NEAR(ViewTransform::WheelFactor(120), 1.25, 1e-12);
  EXPECT_NEAR(ViewTransform::WheelFactor(-240), 1 / (1.25 * 1.25), 1e-12);
  EXPECT_NEAR(ViewTransform::WheelFactor(120) * ViewTransform::WheelFactor(-120), 1.0, 1e-12);
}

}  // namespace
}  // namespace cadhost::ui
