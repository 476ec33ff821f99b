#pragma once
// The table editor's units: its grid works in pixels, the table in millimetres of the printed
// sheet. Zoom 1 is 5 pixels per millimetre. Each conversion rounds the way the editor has
// always rounded it, so that a table taken from the grid and loaded again keeps its sizes.
// Results are held within the range of a pixel size (0..1e9); NaN counts as 0.

namespace vex {

// The editor's zoom limits.
inline constexpr double kMinZoom = 0.05;
inline constexpr double kMaxZoom = 64.0;

// The zoom held within kMinZoom..kMaxZoom; NaN gives 1.
double ClampZoom(double zoom);

// round(mm x zoom x 5): row heights, column widths.
int MmToPixels(double mm, double zoom);
// pixels / (zoom x 5).
double PixelsToMm(double pixels, double zoom);
// trunc(zoom x 5 x mm): the blank table's sizes and the row-height and column-width dialog.
int MmToPixelsTruncated(double mm, double zoom);
// trunc(pixels / (zoom x 5)): the whole millimetres the row-height dialog starts with.
int PixelsToWholeMm(int pixels, double zoom);

// Header row height round(zoom x 5 x H) + 2, H the table text style's height in mm.
int HeaderRowHeight(double zoom, double styleHeightMm);
// Header column width trunc(zoom x 5 x 6).
int HeaderColumnWidth(double zoom);
// round(zoom x 5 x H + 0.5): header cells, image cells and empty cells.
int StyleFontPixels(double zoom, double styleHeightMm);
// A cell's text height as the grid shows it: the height rounded to 0.5 mm, then
// round(zoom x 5 x that + 0.5).
int TextFontPixels(double heightMm, double zoom);
// A text height typed into the format toolbar's box: round(number x zoom x 5 + 0.5).
int TypedFontPixels(double heightMm, double zoom);
// The text height Draw hands on: trunc(2 x pixels / (zoom x 5) + 0.5) x 0.5.
double RoundedTextHeight(int fontPixels, double zoom);
// A height rounded to 0.5 mm, as the box shows it: round(2 x h) / 2.
double HalfMillimetres(double heightMm);

}  // namespace vex
