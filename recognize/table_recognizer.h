#pragma once
// Reading a table drawn as lines and texts back into a table model. Only exactly horizontal and
// vertical lines (and straight pieces of other entities) and texts take part; everything else
// in the selection may become the picture of the cell it lies in. The result also says which
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
  // The entities that hold the table's rules (a block reference that holds the table is one).
  AcDbObjectIdArray lineIds;
  AcDbObjectIdArray textIds;     // the entities of the texts inside the frame
  AcDbObjectIdArray imageIds;    // entities taken into cell pictures, in the order taken
  AcDbObjectIdArray selectedIds; // the selection that could be opened, less the image entities
  // The drawing read from (compared with later, never dereferenced).
  const AcDbDatabase* database = nullptr;
};

// A window the selection was made with: lines and polylines that cross its edge take part
// with their straight pieces inside it, where those join the table's rules (a rule drawn
// longer than the table, a sheet frame that borders it).
struct SelectionWindow {
  AcDbExtents box;
  AcDbObjectIdArray crossing;
};

// Reads the table that the selected entities of `db` form. Lines, polylines' straight
// segments and the lines of block references and other programs' tables are the rules; single-
// line texts, the lines of multiline texts and attributes fill the cells; other entities well
// inside a cell become its picture. The table is the largest joined set of rules that run
// between rules; the other lines are left out, and so is whatever lies outside the table: the
// sink says what was left out, and when a picture could not be captured.
// Refused (kNoTable, after printing "Select line can't form table!\n") when the rules form no
// closed frame or the merges form no rectangles; kTooLarge (said on the sink) beyond the table
// limits, found before any junction or cell is built; an empty selection is refused without a
// message. Pictures are captured into `store`. Progress is shown on the host's status bar.
ResultOr<RecognizedTable> RecognizeTable(const AcDbObjectIdArray& selection, AcDbDatabase& db,
                                         const Settings& settings, ImageStore& store, MessageSink& sink,
                                         const SelectionWindow* window = nullptr);

// Asks the drafter for a selection (no filter) in the current space of the working drawing and
// recognises it; kCancelled when the selection was cancelled or empty.
ResultOr<RecognizedTable> ReadTable(const Settings& settings, ImageStore& store, MessageSink& sink);

}  // namespace vex
