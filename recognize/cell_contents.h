#pragma once
// The cells of a recognised table and what lies in them: the visible cell blocks of the sized
// and merged model, which block a point lies in, the texts of a block joined into the cell's
// lines, and the alignment that the gaps to the block's sides imply. Plain geometry in drawing
// units (y up).

#include <optional>
#include <string>
#include <vector>

#include "cadhost/sdk/gegeom.h"
#include "model/alignment.h"
#include "model/table_data.h"

namespace vex {

// One accepted single-line text.
struct TextItem {
  AcGePoint3d centre;  // position plus half the size of its extents
  AcGePoint3d extentsMin;
  AcGePoint3d extentsMax;
  int horizontalMode = 0;
  int verticalMode = 0;
  std::string text;
  double height = 0.0;
};

// A visible cell: its top-left grid cell and its rectangle in the drawing.
struct CellBlock {
  int row = 0;
  int col = 0;
  Rect2d rect;
};

// The visible cells of a table, row-major by top-left cell, and which of them covers each
// grid cell, to find the block a point lies in without a search over all blocks.
class CellBlocks {
 public:
  // The blocks of `sized` (sizes in drawing units, merges set) with its top-left corner at
  // `origin`; nullopt when a block's bottom-right corner has no rule coming in from above and
  // from the left (the merges do not form rectangles).
  static std::optional<CellBlocks> Of(const TableData& sized, const AcGePoint3d& origin);

  const std::vector<CellBlock>& blocks() const { return blocks_; }
  // The block whose grid cell holds the point (closed-open spans), or -1 outside the table.
  int OwnerAt(double x, double y) const;

 private:
  std::vector<CellBlock> blocks_;
  std::vector<double> xs_;  // column boundaries, ascending
  std::vector<double> ys_;  // row boundaries, descending
  std::vector<int> owner_;  // per grid cell, row-major
  int cols_ = 0;
};

// 0 when the near gap is the smallest, 1 when near or middle is at most the far gap, else 2.
int AlignmentOf(double nearGap, double midGap, double farGap);

// The extents of what a cell holds: its centre and bounds.
struct ContentBox {
  double centreX = 0.0, centreY = 0.0;
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};

// HorzMode and VertMode of content in a block, by the gaps to its sides.
Alignment AlignmentIn(const ContentBox& content, const Rect2d& rect);

// The cell that the texts of one block make (`texts` in their drawing order): sorted top line
// first, texts on one visual line (centres closer than half the smaller height) joined by " "
// (left to right, or in drawing order where they share one centre y), lines by "\r\n"; height
// from the top text; alignment from the joined extents. No texts: an empty centred cell of
// height 3.
TableCell TextCellOf(std::vector<const TextItem*> texts, const Rect2d& rect);

}  // namespace vex
