#pragma once
// What the table editor's toolbar boxes and its row-height dialog accept and show: the zoom
// box ("100%"), the text-height / picture-scale box ("3.5" or "80%") and the dialog's spin.

#include <string>
#include <string_view>
#include <vector>

namespace vex {

// The zoom box's items, "10%" to "800%".
const std::vector<std::string>& ZoomItems();
// The zoom a box text asks for: the number at its start (what follows, "%" included, is
// ignored; a text that is no number reads as 0) x 0.01, held within 0.05 .. 64.
double ZoomFromText(std::string_view text);
// How the box shows a zoom: "%d%%" of zoom x 100, rounded (a typed "29%" must not come back
// as "28%" through the binary fraction).
std::string ZoomText(double zoom);

// The box in text-height mode: "2", "2.5", ... "10".
const std::vector<std::string>& TextHeightItems();
// The box in picture-scale mode: "100%", "90%", ... "10%".
const std::vector<std::string>& PictureScaleItems();
// The height the box shows for a cell: rounded to 0.5 mm, "%.1f".
std::string TextHeightText(double heightMm);
// The number a typed height stands for (no bounds; a text that is no number reads as 0).
double TextHeightFromText(std::string_view text);

// A picture scale is held within 0.05 .. 1 (NaN gives 1).
inline constexpr double kMinPictureScale = 0.05;
inline constexpr double kMaxPictureScale = 1.0;
double ClampPictureScale(double scale);
// The scale a box text asks for: its leading number x 0.01, held within the limits.
double PictureScaleFromText(std::string_view text);
// How the box shows a scale: "%.0f%%" of the held scale x 100.
std::string PictureScaleText(double scale);

// One click of the row-height dialog's spin: `value` + `step`, where a result of 0 or less
// becomes 1. A value typed directly is not held (0 and negatives pass as typed).
int SpinValue(int value, int step);

}  // namespace vex
