#pragma once
// Reading a table drawn as lines and single-line texts back into a table model. Only exactly
// horizontal and vertical lines and single-line texts take part; everything else in the
// selection may become the picture of the cell it lies in. The one recogniser of the plug-in
// keeps, from its last run, what made up the table, so that the edited table can later
// replace it in the drawing.

#include <vector>

#include "cadhost/sdk/cadhost.h"
#include "model/table_data.h"

namespace vex {

class ImageStore;

// One accepted line reduced to its row or column: a horizontal line is (y, left x, right x),
// a vertical one (x, top y, bottom y), so `from` is the left or top end.
struct LineSegment {
  int lineIndex = 0;
  double position = 0.0;
  double from = 0.0;
  double to = 0.0;
};

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

class TableRecognizer {
 public:
  // Asks the drafter for a selection (no filter) in the current drawing and recognises it.
  // True when a table was built into `table` (a fresh one); false when the selection was
  // cancelled or empty or the lines form no table ("Select line can't form table!\n").
  bool ReadTable(TableData& table, ImageStore& store);

  // The same for a selection made otherwise (a window, all of model space), in `db`.
  bool Recognize(const AcDbObjectIdArray& selection, AcDbDatabase* db, TableData& table, ImageStore& store);

  // State of the last run, for replacing the table later.
  double plotScale = 1.0;
  // 1 while the accepted lines' extents match the recognised frame within 0.001.
  int frameMatchesSelection = 1;
  // The top-left corner of the recognised frame.
  AcGePoint3d origin;
  AcDbObjectIdArray lineIds;
  AcDbObjectIdArray textIds;
  AcDbObjectIdArray imageIds;
  AcDbObjectIdArray selectedIds;
  AcDbObjectIdArray nonTextIds;
  // The drawing the last run read from (compared with, never dereferenced later).
  const AcDbDatabase* database = nullptr;
};

}  // namespace vex
