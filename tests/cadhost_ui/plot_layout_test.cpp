// Where a plot puts the drawing on paper.

#include "cadhost/ui/plot_layout.h"

#include <gtest/gtest.h>

namespace cadhost::ui {
namespace {

struct ScaleCase {
  const char* text;
  std::optional<double> value;
};

class PlotScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(PlotScale, Parses) { EXPECT_EQ(ParsePlotScale(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Cases, PlotScale,
    ::testing::Values(ScaleCase{"1:100", 100.0}, ScaleCase{"1:0.5", 0.5}, ScaleCase{"FIT", 0.0},
                      ScaleCase{"fit", 0.0}, ScaleCase{"1:0", std::nullopt},
                      ScaleCase{"1:-2", std::nullopt}, ScaleCase{"2:100", std::nullopt},
                      ScaleCase{"1:", std::nullopt}, ScaleCase{"1:10x", std::nullopt},
                      ScaleCase{"100", std::nullopt}, ScaleCase{"1:inf", std::nullopt}),
    [](const auto& i) {
      std::string n;
      for (char c : std::string(i.param.text)) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return n + "_" + std::to_string(i.index);
    });

TEST(PlotLayout, OneToNMakesThePageTheAreaAtScaleWithMargins) {
  PlotOptions o;
  o.output = "a.pdf";
  o.unitsPerMm = 2;
  std::string error;
  const auto l = LayoutPlot(Box::Of({100, 200}, {300, 300}), o, error);
  ASSERT_TRUE(l) << error;
  EXPECT_DOUBLE_EQ(l->pageWidthMm, 100 + 2 * kPlotMarginMm);
  EXPECT_DOUBLE_EQ(l->pageHeightMm, 50 + 2 * kPlotMarginMm);
  // The top left of the area is at the margins; paper y runs down.
  const Pt topLeft = l->drawingToPaperMm.Map({100, 300});
  EXPECT_NEAR(topLeft.x, kPlotMarginMm, 1e-12);
  EXPECT_NEAR(topLeft.y, kPlotMarginMm, 1e-12);
  const Pt bottomRight = l->drawingToPaperMm.Map({300, 200});
  EXPECT_NEAR(bottomRight.x, 110, 1e-12);
  EXPECT_NEAR(bottomRight.y, 60, 1e-12);
}

TEST(PlotLayout, FitPutsTheAreaOnA4TurnedToSuitCentred) {
  PlotOptions o;
  o.output = "a.png";
  std::string error;
  const auto wide = LayoutPlot(Box::Of({0, 0}, {1000, 100}), o, error);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->pageWidthMm, kFitPaperLong);
  EXPECT_NEAR(wide->unitsPerMm, 1000 / (kFitPaperLong - 2 * kPlotMarginMm), 1e-12);
  const Pt centre = wide->drawingToPaperMm.Map({500, 50});
  EXPECT_NEAR(centre.x, kFitPaperLong / 2, 1e-9);
  EXPECT_NEAR(centre.y, kFitPaperShort / 2, 1e-9);
  const auto tall = LayoutPlot(Box::Of({0, 0}, {10, 100}), o, error);
  ASSERT_TRUE(tall);
  EXPECT_EQ(tall->pageHeightMm, kFitPaperLong);
  EXPECT_TRUE(LayoutPlot(Box::Of({5, 5}, {5, 5}), o, error)) << "a point still plots";
}

TEST(PlotLayout, RefusesNothingAndPagesTooLarge) {
  PlotOptions o;
  o.output = "a.png";
  std::string error;
  EXPECT_FALSE(LayoutPlot(Box(), o, error));
  EXPECT_NE(error.find("nothing to plot"), std::string::npos);
  o.unitsPerMm = 0.001;
  EXPECT_FALSE(LayoutPlot(Box::Of({0, 0}, {100, 100}), o, error));
  EXPECT_NE(error.find("5 m"), std::string::npos);
  o.unitsPerMm = 0.1;
  o.dpi = 600;
  EXPECT_FALSE(LayoutPlot(Box::Of({0, 0}, {300, 100}), o, error)) << "3 m at 600 dpi";
  o.output = "a.pdf";
  EXPECT_TRUE(LayoutPlot(Box::Of({0, 0}, {300, 100}), o, error)) << "a PDF has no pixels";
}

TEST(PlotFormat, ByExtension) {
  EXPECT_EQ(PlotFormatOf("a/b.PDF"), PlotFormat::Pdf);
  EXPECT_EQ(PlotFormatOf("c.png"), PlotFormat::Png);
  EXPECT_EQ(PlotFormatOf("c.svg"), std::nullopt);
  EXPECT_EQ(PlotFormatOf("noext"), std::nullopt);
}

}  // namespace
}  // namespace cadhost::ui
