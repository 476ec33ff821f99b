#pragma once
// Draws any part of a grid onto any QPainter: the window of the grid control, or a whole
// table rendered to an image. Fixed rows and columns are drawn as raised buttons, ordinary
// cells with grid lines, merged blocks whole (also when their owner is scrolled out of view),
// text aligned as a block of lines, pictures fitted into their cells. Only the cells that
// show in the view are visited.

#include <QColor>
#include <QFont>
#include <QLine>
#include <QRect>

#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/grid_model.h"
#include "model/grid_view.h"

class QPainter;
class QPalette;

namespace vex {

struct GridColours {
  QColor background;        // outside the cells
  QColor window;            // ordinary cells
  QColor text;
  QColor gridLine{0xC0, 0xC0, 0xC0};
  QColor buttonFace;
  QColor buttonLight;
  QColor buttonShadow;      // also the pen of cell pictures
  QColor buttonDarkShadow;
  QColor highlight;
  QColor highlightText;

  // Fixed colours, for images that must look the same on every machine.
  static GridColours Classic();
  // The colours of the desktop's palette.
  static GridColours FromPalette(const QPalette& palette);
};

// The default cells of `grid` as a grid drawn in `font` has them: margin the width of a
// space, text one line of the font, new columns the width of " XXXXXXXXXXXX ", new rows 1.5
// lines.
void ApplyFontDefaults(GridModel& grid, const QFont& font);

class GridPainter {
 public:
  // Text shorter than this many pixels is drawn as a stroke: it cannot be read, and shaping
  // tens of thousands of tiny texts would make a zoomed-out repaint slow.
  static constexpr int kMinTextHeight = 5;

  GridPainter(const GridModel& grid, const QFont& baseFont, const GridColours& colours);

  void SetColours(const GridColours& colours) { colours_ = colours; }
  const GridColours& Colours() const { return colours_; }
  void SetBaseFont(const QFont& font);
  // Whether selected cells are highlighted and the focus cell framed (off for thumbnails).
  void SetShowSelection(bool on) { showSelection_ = on; }
  // Which grid lines show: 0 none, 1 horizontal only, 2 vertical only, 3 both.
  void SetGridLines(int mode) { gridLines_ = mode; }
  int GridLines() const { return gridLines_; }
  // The cell that a drag would drop onto; framed while set.
  void SetDropTarget(CellPos cell) { dropTarget_ = cell; }

  // Paints the part `dirty` (window pixels) of the window `view` onto `p`.
  void Paint(QPainter& p, const GridViewport& view, const QRect& dirty) const;

  // The font whose lines are `height` pixels tall (a Windows cell height): the base font's
  // face at the pixel size that gives that line height.
  const QFont& FontFor(int height) const;
  // The height of one line of FontFor(height).
  int LineHeight(int height) const;

 private:
  struct FontEntry {
    QFont font;
    int lineHeight = 0;
  };
  const FontEntry& Font(int height) const;

  void PaintBody(QPainter& p, const GridViewport& view, const VisibleCells& v, const QRect& area) const;
  void PaintFixed(QPainter& p, const GridViewport& view, int row0, int row1, int col0, int col1, const QRect& area) const;
  void DrawCell(QPainter& p, int row, int col, const QRect& rect, bool fixed) const;
  void DrawText(QPainter& p, int row, int col, const QRect& rect, const QColor& colour) const;
  void DrawPicture(QPainter& p, int row, int col, const QRect& rect) const;

  const GridModel& grid_;
  QFont baseFont_;
  double pixelSizePerLine_ = 0.85;
  GridColours colours_;
  bool showSelection_ = true;
  int gridLines_ = 3;
  CellPos dropTarget_;
  mutable std::unordered_map<int, FontEntry> fonts_;
  // Strokes that stand for tiny texts, drawn in one call per colour at the end of a region:
  // tens of thousands of single lines with a pen change each would dominate a repaint.
  mutable std::vector<QLine> strokes_;
  mutable std::vector<QLine> selectedStrokes_;
  mutable std::vector<std::string_view> lines_;
  void FlushStrokes(QPainter& p) const;
};

}  // namespace vex
