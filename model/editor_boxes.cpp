#include "model/editor_boxes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/editor_units.h"
#include "platform/text_util.h"

namespace vex {
namespace {

// The leading number of a box text; NaN ("nan" typed) reads as no number.
double Leading(std::string_view text) {
  const double v = platform::ParseLeadingDouble(text);
  return std::isnan(v) ? 0.0 : v;
}

}  // namespace

const std::vector<std::string>& ZoomItems() {
  static const std::vector<std::string> items = {"10%",  "25%",  "50%",  "75%",  "100%", "125%",
                                                 "150%", "175%", "200%", "400%", "800%"};
  return items;
}

double ZoomFromText(std::string_view text) { return ClampZoom(Leading(text) * 0.01); }

std::string ZoomText(double zoom) {
  return platform::FormatInt(std::llround(ClampZoom(zoom) * 100)) + "%";
}

const std::vector<std::string>& TextHeightItems() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> v;
    for (int half = 4; half <= 20; ++half)
      v.push_back(half % 2 == 0 ? platform::FormatInt(half / 2) : platform::FormatFixed(half / 2.0, 1));
    return v;
  }();
  return items;
}

const std::vector<std::string>& PictureScaleItems() {
  static const std::vector<std::string> items = {"100%", "90%", "80%", "70%", "60%", "50%",
                                                 "40%",  "30%", "25%", "20%", "15%", "10%"};
  return items;
}

std::string TextHeightText(double heightMm) { return platform::FormatFixed(HalfMillimetres(heightMm), 1); }

double TextHeightFromText(std::string_view text) {
  const double v = Leading(text);
  // An infinite height has no pixel size; the largest one stands for it.
  return std::isinf(v) ? std::copysign(std::numeric_limits<double>::max(), v) : v;
}

double ClampPictureScale(double scale) {
  if (std::isnan(scale)) return kMaxPictureScale;
  return std::clamp(scale, kMinPictureScale, kMaxPictureScale);
}

double PictureScaleFromText(std::string_view text) { return ClampPictureScale(Leading(text) * 0.01); }

std::string PictureScaleText(double scale) { return platform::FormatFixed(ClampPictureScale(scale) * 100, 0) + "%"; }

int SpinValue(int value, int step) {
  const long long v = static_cast<long long>(value) + step;
  if (v <= 0) return 1;
  return static_cast<int>(std::min<long long>(v, std::numeric_limits<int>::max()));
}

}  // namespace vex
