#pragma once
// Reading a table drawn as lines and single-line texts back into a table model. Only exactly
// horizontal and vertical lines and single-line texts take part; everything else in the
// selection may become the picture of the cell it lies in. The result also says which
// entities made up the table, so that the edited table can later replace it in the drawing.

#include <vector>

#include "cadhost/sdk/cadhost.h"
#include "model/table_data.h"
#include "platform/result.h"
#include "recognize/cell_contents.h"
#include "recognize/rule_lines.h"
#include "settings/settings.h"

namespace vex {

class ImageStore;
class MessageSink;

// What the recogniser found and what made it up.
struct RecognizedTable {
  TableData table;  // in millimetres of the printed sheet
  // The top-left corner of the recognised frame.
  AcGePoint3d origin;
  // The accepted lines' extents match the recognised frame within the tolerance. When they do
  // not (overshooting rules, other lines selected), the table cannot simply be replaced.
  bool frameMatchesSelection = true;
  double plotScale = 1.0;
  AcDbObjectIdArray lineIds;     // the accepted horizontal and vertical lines
  AcDbObjectIdArray textIds;     // the texts inside the frame
  AcDbObjectIdArray imageIds;    // entities taken into cell pictures, in the order taken
  AcDbObjectIdArray selectedIds; // the selection that could be opened, less the image entities
  // The drawing read from (compared with later, never dereferenced).
  const AcDbDatabase* database = nullptr;
};

// The selection sorted by what it can be: the first step of recognition.
struct ClassifiedSelection {
  std::vector<LineSegment> horizontal;
  std::vector<LineSegment> vertical;
  std::vector<TextItem> texts;
  AcDbObjectIdArray lineIds;     // accepted lines, in selection order
  AcDbObjectIdArray textIds;     // parallel to texts
  AcDbObjectIdArray selectedIds; // every entity that could be opened
  AcDbObjectIdArray nonTextIds;  // every opened entity that is not a text (lines included)
};

// Opens each entity (skipping, with "\nacdbOpenAcDbEntity wrong", those that cannot be) and
// sorts it: a line with dx < tol and dy > tol is vertical, dx > tol and dy < tol horizontal,
// any other line only a non-text; other curves are non-texts; a single-line text is a text;
// the rest are non-texts.
ClassifiedSelection ClassifySelection(const AcDbObjectIdArray& selection, MessageSink& sink);

// Reads the table that the selected entities of `db` form. Refused (kNoTable, after printing
// "Select line can't form table!\n") when the lines form no closed frame or the merges form no
// rectangles; an empty selection is refused without a message. Pictures are captured into
// `store`. Progress is shown on the host's status bar.
ResultOr<RecognizedTable> RecognizeTable(const AcDbObjectIdArray& selection, AcDbDatabase& db,
                                         const Settings& settings, ImageStore& store, MessageSink& sink);

// Asks the drafter for a selection (no filter) in the working drawing and recognises it;
// kCancelled when the selection was cancelled or empty.
ResultOr<RecognizedTable> ReadTable(const Settings& settings, ImageStore& store, MessageSink& sink);

}  // namespace vex
