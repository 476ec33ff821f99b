#include "cadhost/ui/plot_layout.h"

#include <charconv>

namespace cadhost::ui {
namespace {

constexpr double kMaxPageMm = 5000.0;
constexpr double kMaxPixels = 30000.0;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

std::optional<double> ParsePlotScale(std::string_view text) {
  const std::string t = Lower(text);
  if (t == "fit") return 0.0;
  if (t.size() < 3 || t.compare(0, 2, "1:") != 0) return std::nullopt;
  double n = 0.0;
  const auto [end, ec] = std::from_chars(t.data() + 2, t.data() + t.size(), n);
  if (ec != std::errc() || end != t.data() + t.size() || !(n > 0.0) || !std::isfinite(n))
    return std::nullopt;
  return n;
}

std::optional<PlotFormat> PlotFormatOf(const std::string& path) {
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos) return std::nullopt;
  const std::string ext = Lower(std::string_view(path).substr(dot + 1));
  if (ext == "pdf") return PlotFormat::Pdf;
  if (ext == "png") return PlotFormat::Png;
  return std::nullopt;
}

std::optional<PlotLayout> LayoutPlot(const Box& area, const PlotOptions& options,
                                     std::string& error) {
  if (area.Empty()) {
    error = "there is nothing to plot";
    return std::nullopt;
  }
  const double w = area.Width(), h = area.Height();
  PlotLayout out;
  if (options.unitsPerMm > 0.0) {
    out.unitsPerMm = options.unitsPerMm;
    out.pageWidthMm = w / out.unitsPerMm + 2 * kPlotMarginMm;
    out.pageHeightMm = h / out.unitsPerMm + 2 * kPlotMarginMm;
  } else {
    const bool landscape = w >= h;
    out.pageWidthMm = landscape ? kFitPaperLong : kFitPaperShort;
    out.pageHeightMm = landscape ? kFitPaperShort : kFitPaperLong;
    const double uw = out.pageWidthMm - 2 * kPlotMarginMm, uh = out.pageHeightMm - 2 * kPlotMarginMm;
    // A point or a line still gets a scale: the longer side decides.
    out.unitsPerMm = std::max({w / uw, h / uh, 1e-9});
  }
  if (out.pageWidthMm > kMaxPageMm || out.pageHeightMm > kMaxPageMm) {
    error = "the page would be larger than 5 m: choose a smaller scale";
    return std::nullopt;
  }
  if (options.output.empty() || PlotFormatOf(options.output) == PlotFormat::Png) {
    const double px = std::max(out.pageWidthMm, out.pageHeightMm) * options.dpi / 25.4;
    if (px > kMaxPixels) {
      error = "the image would be wider than 30000 pixels: choose a smaller scale or dpi";
      return std::nullopt;
    }
  }
  // The area in the middle of the page; paper y runs down.
  const double s = 1.0 / out.unitsPerMm;
  const double offX = (out.pageWidthMm - w * s) / 2, offY = (out.pageHeightMm - h * s) / 2;
  out.drawingToPaperMm = {s, 0, 0, -s, offX - area.minX * s, offY + area.maxY * s};
  return out;
}

}  // namespace cadhost::ui
