#include "model/picture_fit.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "model/picture_canvas.h"

namespace vex {
namespace {

struct FitCase {
  const char* name;
  Rect2d bounds;
  int width, height;
  double scale;
  int horz, vert;
  PictureWindow window;
};

// Test names and failure messages show the case by its name.
void PrintTo(const FitCase& c, std::ostream* os) { *os << c.name; }

class FitTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitTest, Window) {
  const FitCase& c = GetParam();
  const auto w = FitPictureWindow(c.bounds, c.width, c.height, c.scale, c.horz, c.vert);
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(*w, c.window);
}

// A 10 x 5 picture (x 0..10, y 5 down to 0).
constexpr Rect2d kWide{0, 5, 10, 0};

INSTANTIATE_TEST_SUITE_P(
    Cases, FitTest,
    testing::Values(
        // A cell as wide as the picture's aspect: the window is the bounds.
        FitCase{"SameAspect", kWide, 100, 50, 1, 0, 0, {0, 500, 1000, 500}},
        // A tall cell: the window grows in height, the top stays for top alignment.
        FitCase{"TallCellTop", kWide, 100, 100, 1, 0, 0, {0, 500, 1000, 1000}},
        FitCase{"TallCellCentre", kWide, 100, 100, 1, 1, 1, {0, 750, 1000, 1000}},
        FitCase{"TallCellBottom", kWide, 100, 100, 1, 2, 2, {0, 1000, 1000, 1000}},
        // A wide cell: the window grows in width; right alignment puts the picture right.
        FitCase{"WideCellRight", kWide, 400, 50, 1, 2, 0, {-3000, 500, 4000, 500}},
        // Scale 2 halves the window around the centre: twice as large, clipped by the cell.
        FitCase{"ScaleTwoCentred", kWide, 100, 50, 2, 1, 1, {250, 375, 500, 250}},
        // Scale 0 counts as 1.
        FitCase{"ScaleZero", kWide, 100, 100, 0, 1, 1, {0, 750, 1000, 1000}},
        FitCase{"ScaleTiny", kWide, 100, 100, 0.00001, 1, 1, {0, 750, 1000, 1000}},
        // A horizontal line has no height: fitted by its width alone.
        FitCase{"FlatLine", Rect2d{0, 0, 10, 0}, 100, 20, 1, 0, 1, {0, 100, 1000, 200}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FitPictureWindow, NothingForEmptyCellsOrPictures) {
  EXPECT_FALSE(FitPictureWindow(kWide, 0, 10, 1, 1, 1));
  EXPECT_FALSE(FitPictureWindow(kWide, 10, 0, 1, 1, 1));
  EXPECT_FALSE(FitPictureWindow(Rect2d{3, 3, 3, 3}, 10, 10, 1, 1, 1));
  EXPECT_FALSE(FitPictureWindow(Rect2d{0, 1e300, 1e300, 0}, 10, 10, 1, 1, 1));
}

TEST(CellPictureMapping, MapsTheWindowOntoTheInsetCell) {
  // A 10 x 10 picture in a cell of 102 x 102 pixels at (10, 20): inset 100 x 100 from (11, 21).
  const auto m = CellPictureMapping(Rect2d{0, 10, 10, 0}, {10, 20, 112, 122}, 1, 5);
  ASSERT_TRUE(m.has_value());
  EXPECT_DOUBLE_EQ(m->scale, 0.1);
  EXPECT_DOUBLE_EQ(m->DeviceX(0), 11);
  EXPECT_DOUBLE_EQ(m->DeviceX(1000), 111);
  EXPECT_DOUBLE_EQ(m->DeviceY(1000), 21);  // the top of the picture at the top, y up
  EXPECT_DOUBLE_EQ(m->DeviceY(0), 121);
  EXPECT_FALSE(CellPictureMapping(kWide, {0, 0, 2, 2}, 1, 5));  // nothing left inside
}

TEST(MapWindowIsotropic, OneScaleForBothAxes) {
  const PictureMapping m = MapWindowIsotropic({0, 100, 100, 100}, {0, 0, 300, 100});
  EXPECT_DOUBLE_EQ(m.scale, 1.0);
  EXPECT_DOUBLE_EQ(m.DeviceX(100), 100);
  EXPECT_DOUBLE_EQ(m.DeviceY(0), 100);
}

// Records what the primitives draw.
class Recorder : public PictureCanvas {
 public:
  void Line(LogicalPoint a, LogicalPoint b) override { Add("L", {a.x, a.y, b.x, b.y}); }
  void Polyline(std::span<const LogicalPoint> pts) override {
    std::vector<int> v;
    for (auto p : pts) v.insert(v.end(), {p.x, p.y});
    Add("P", v);
  }
  void Ellipse(int l, int t, int r, int b) override { Add("E", {l, t, r, b}); }
  void Arc(LogicalPoint c, int r, double, double) override { Add("A", {c.x, c.y, r}); }
  void Text(LogicalPoint o, int h, std::string_view) override { Add("T", {o.x, o.y, h}); }
  std::vector<std::pair<std::string, std::vector<int>>> calls;

 private:
  void Add(const char* k, std::vector<int> v) { calls.emplace_back(k, std::move(v)); }
};

TEST(JImageDraw, HundredthsTruncated) {
  CellImageList list;
  list.Append(std::make_unique<JLine>(Point2d{0.019, -1.5}, Point2d{2.999, 1e12}));
  list.Append(std::make_unique<JCircle>(Point2d{1, 1}, 0.5));
  list.Append(std::make_unique<JPolyLine>(std::vector<Point2d>{{0, 0}, {1, 1}, {2, 0.005}}));
  list.Append(std::make_unique<JPolyLine>(std::vector<Point2d>{{0, 0}}));  // too short: nothing
  list.Append(std::make_unique<JText>());
  Recorder r;
  EXPECT_EQ(list.DrawAll(&r), 1);
  using Calls = decltype(r.calls);
  EXPECT_EQ(r.calls, (Calls{{"L", {1, -150, 299, 2000000000}},
                            {"E", {50, 150, 150, 50}},
                            {"P", {0, 0, 100, 100, 200, 0}}}));
  EXPECT_EQ(list.DrawAll(nullptr), 0);
  EXPECT_EQ(JLine({}, {}).Draw(nullptr), 0);
}

}  // namespace
}  // namespace vex
