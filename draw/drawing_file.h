#pragma once
// Drawing a table into a drawing file without a CAD host: the stand-alone editor's Draw.

#include <string>

#include "cadhost/sdk/cadhost.h"
#include "model/table_data.h"
#include "platform/result.h"
#include "settings/settings.h"

namespace vex {

class ImageStore;
class MessageSink;

// Draws `table` with its top-left corner at `at` into the drawing file `path`: added to the
// drawing it holds when the file exists, else into a new drawing. The file is written only
// once the drawing is complete; a file that cannot be read is refused and left alone. Fails
// for an empty table (nothing to draw).
Result DrawTableIntoFile(TableData table, const Settings& settings, const ImageStore* store, const std::string& path,
                         MessageSink& sink, const AcGePoint3d& at = AcGePoint3d(0, 0, 0));

}  // namespace vex
