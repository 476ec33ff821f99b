#include "model/editor_units.h"

#include <algorithm>
#include <cmath>

namespace vex {
namespace {

// A pixel count from a computed value: NaN and negatives give 0, huge values are capped so
// that sums over a whole axis stay far inside 64 bits.
int ToPixels(double v) {
  if (!(v > 0)) return 0;
  return static_cast<int>(std::min(v, 1e9));
}

}  // namespace

double ClampZoom(double zoom) {
  if (std::isnan(zoom)) return 1.0;
  return std::clamp(zoom, kMinZoom, kMaxZoom);
}

int MmToPixels(double mm, double zoom) { return ToPixels(std::round(mm * zoom * 5)); }

double PixelsToMm(double pixels, double zoom) { return pixels / (zoom * 5); }

int MmToPixelsTruncated(double mm, double zoom) { return ToPixels(std::trunc(zoom * 5 * mm)); }

int PixelsToWholeMm(int pixels, double zoom) {
  const double mm = std::trunc(pixels / (zoom * 5));
  if (!(mm > -1e9)) return 0;
  return static_cast<int>(std::min(mm, 1e9));
}

int HeaderRowHeight(double zoom, double styleHeightMm) { return MmToPixels(styleHeightMm, zoom) + 2; }

int HeaderColumnWidth(double zoom) { return ToPixels(std::trunc(zoom * 5 * 6)); }

int StyleFontPixels(double zoom, double styleHeightMm) { return ToPixels(std::round(zoom * 5 * styleHeightMm + 0.5)); }

int TextFontPixels(double heightMm, double zoom) {
  return ToPixels(std::round(zoom * 5 * HalfMillimetres(heightMm) + 0.5));
}

int TypedFontPixels(double heightMm, double zoom) { return ToPixels(std::round(heightMm * zoom * 5 + 0.5)); }

double RoundedTextHeight(int fontPixels, double zoom) {
  return std::trunc(2.0 * fontPixels / (zoom * 5) + 0.5) * 0.5;
}

double HalfMillimetres(double heightMm) { return std::round(2 * heightMm) / 2; }

}  // namespace vex
