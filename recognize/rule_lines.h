#pragma once
// The line geometry of reading a drawn table back: horizontal and vertical segments grouped
// into row and column lines, the junctions where they cross with the directions in which a
// segment leaves each, the outer frame, and the merged cells that missing segments imply.
// Plain geometry in drawing units (y up); nothing here touches a drawing.

#include <optional>
#include <vector>

#include "model/table_data.h"

namespace vex {

// Two coordinates closer than this are the same.
inline constexpr double kRecognitionTolerance = 0.001;

// One accepted line reduced to its row or column: a horizontal line is (y, left x, right x),
// a vertical one (x, top y, bottom y), so `from` is the left or top end.
struct LineSegment {
  int lineIndex = 0;
  double position = 0.0;
  double from = 0.0;
  double to = 0.0;
  int piece = -1;  // the straight piece of the selection it came from; -1 when none
};

// The segments of one row line (one y) or column line (one x), in sorted order.
using RuleLine = std::vector<LineSegment>;

// Sorts the segments by position (descending for rows, top first; ascending for columns, left
// first; equal positions keep their order) and groups those whose positions chain within the
// tolerance, each compared with its predecessor. A single segment forms no line at all.
std::vector<RuleLine> GroupRuleLines(std::vector<LineSegment> segments, bool descending);

// |position of line k - position of line k-1| for k = 1..n-1, each line's position being that
// of its first segment: the row heights or column widths.
std::vector<double> LineGaps(const std::vector<RuleLine>& lines);

// A crossing of a row line and a column line, with flags for the segments that leave it.
struct Junction {
  double x = 0.0;
  double y = 0.0;
  int row = 0;  // row line index, top first
  int col = 0;  // column line index, left first
  int up = 0, down = 0, left = 0, right = 0;
  int Count() const { return up + down + left + right; }
};

// The junctions of one row line, left to right.
using JunctionRow = std::vector<Junction>;

// One junction per column line on every row line, each flag set when a segment of that row or
// column line reaches past the crossing by the tolerance or more. A line's segments need not
// share one position (positions chain within the tolerance): each counts at the crossing of
// its own position with the other line's segments' positions. The junction's point is that of
// the first segment of each line. Sets each row segment's lineIndex to its row line.
std::vector<JunctionRow> BuildJunctions(std::vector<RuleLine>& rowLines, const std::vector<RuleLine>& colLines);

// The four corners of the outer frame.
struct Frame {
  Junction topLeft, topRight, bottomLeft, bottomRight;
};

// The frame, when there are at least two row lines of at least two junctions each, the left
// and right ends line up, and each corner has its two segments; nullopt otherwise.
std::optional<Frame> FindFrame(const std::vector<JunctionRow>& rows);

// Interior clean-up: on each interior row line, from the second-to-last up to the second, the
// rightmost interior junction that is a dead end (one segment) or a corner (one vertical and
// one horizontal) is removed; at most one per row line.
void RemoveStrayJunctions(std::vector<JunctionRow>& rows);

// The merges implied by the junctions of a table of nRows x nCols cells: a MergeRows span for
// each run of cells in a row band whose column lines do not separate them, a MergeCols span
// for each run in a column band. nullopt when a run never ends inside the junction lists (a
// frame segment missing between the corners).
struct Merges {
  std::vector<MergeSpan> rows;
  std::vector<MergeSpan> cols;
};
std::optional<Merges> FindMerges(const std::vector<JunctionRow>& rows, int nRows, int nCols);

}  // namespace vex
