#pragma once
// Drawing a table into a drawing: the rules as maximal straight runs on the border and inner
// layers, the cell texts as aligned single-line texts on the text layer, and the pictures of
// image cells as block references fitted into their cells. The table's top-left corner lies
// at the origin of the current space; sizes are multiplied by the plot scale.

#include "cadhost/sdk/cadhost.h"
#include "model/table_data.h"
#include "settings/settings.h"

namespace vex {

class ImageStore;
class MessageSink;

// What one drawing works with: the style and layers made sure of, and the plot scale.
struct TableDrawer {
  AcDbObjectId textStyle;
  AcDbObjectId textLayer;
  AcDbObjectId innerLayer;
  AcDbObjectId borderLayer;
  double plotScale = 1.0;
};

// Makes sure of the text style and the three layers in `db` and takes the plot scale.
TableDrawer PrepareDrawing(const Settings& settings, AcDbDatabase& db, MessageSink& sink);

// Draws `table` (normalised in place first; nothing else of it changes) into `db` with the
// layers, text style and plot scale of `settings`, taking pictures from `store` (none when
// null: image cells stay empty).
// Returns the ids of the horizontal runs, then the vertical runs, then the texts and picture
// references, in creation order; a text line that is empty or a run not longer than 0.001
// contributes a null id. Shows progress on the status bar and prints what it does on the
// command line (`sink`). An empty table returns an empty list and touches nothing.
AcDbObjectIdArray DrawTable(TableData& table, const Settings& settings, const ImageStore* store,
                            AcDbDatabase& db, MessageSink& sink);

}  // namespace vex
