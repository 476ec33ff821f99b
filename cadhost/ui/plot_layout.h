#pragma once
// Where a plot puts the drawing on paper: the area plotted (the drawing's extents or a window),
// its scale ("1:N" drawing units per millimetre of paper, or "fit"), the page and the margins.

#include <optional>
#include <string>
#include <string_view>

#include "cadhost/ui/geometry.h"

namespace cadhost::ui {

// The paper a fitted plot goes on: A4, turned to suit the area.
constexpr double kFitPaperLong = 297.0;
constexpr double kFitPaperShort = 210.0;
constexpr double kPlotMarginMm = 10.0;

struct PlotOptions {
  std::string output;             // ".pdf" or ".png" decides the format
  std::optional<Box> window;      // the area; the drawing's extents when not given
  double unitsPerMm = 0.0;        // N of "1:N"; 0 fits the area on the paper
  bool monochrome = false;
  double dpi = 150.0;             // pixels per inch of a PNG
};

// "1:N" (N a positive number) gives N, "fit" (any case) gives 0; nothing for anything else.
std::optional<double> ParsePlotScale(std::string_view text);

enum class PlotFormat { Pdf, Png };
// The format the output's extension names; nothing for others.
std::optional<PlotFormat> PlotFormatOf(const std::string& path);

struct PlotLayout {
  double pageWidthMm = 0.0;
  double pageHeightMm = 0.0;
  double unitsPerMm = 1.0;     // the scale used
  Affine drawingToPaperMm;     // paper millimetres from the page's top left, y down
};

// The layout of `area` plotted as `options` say; nothing (with the reason in `error`) for an
// empty area or a page too large to make (over 5 m, or over 30000 pixels for a PNG).
std::optional<PlotLayout> LayoutPlot(const Box& area, const PlotOptions& options,
                                     std::string& error);

}  // namespace cadhost::ui
