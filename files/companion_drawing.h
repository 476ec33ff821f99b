#pragma once
// The companion drawing of a table or header file: the whole picture store saved beside the
// file as a drawing ("plan.vtf" has "plan.vtf.dxf"), read back into the store when the file is
// opened, so that image cells find their blocks again.

#include <string>
#include <string_view>

#include "files/table_file.h"
#include "model/table_data.h"
#include "platform/result.h"

namespace vex {

class ImageStore;
class MessageSink;

// The file's whole name with ".dxf" appended ("plan.vtf" gives "plan.vtf.dxf"), a name that can
// never be the drafter's own drawing "plan.dxf".
std::string CompanionDrawingPath(const std::string& tablePath);
// The name earlier versions gave it: the last extension replaced by ".dxf". Read only.
std::string LegacyCompanionDrawingPath(const std::string& tablePath);

// Saves the store beside the table file when the table has an image cell (nType 1 with a
// block name) and a store exists; otherwise nothing is written and an older companion stays.
Result SaveCompanionDrawing(const TableData& table, const std::string& tablePath, const ImageStore& store);

// When the table has image cells and its companion drawing exists (or, for a file saved by an
// earlier version, a drawing under the old name that holds the table's blocks), replaces the
// store by the drawing and rebuilds each image cell's preview from its block (a missing block leaves that
// preview empty). A drawing that cannot be read leaves a new empty store and is reported; the
// cells keep their block names either way.
Result LoadCompanionDrawing(TableData& table, const std::string& tablePath, ImageStore& store,
                            MessageSink& sink);

// A table file and its companion drawing, saved together: the drawing first, and when it
// cannot be saved nothing else is, so that no table file names pictures it does not have.
// Loaded together: a drawing that cannot be read leaves the result ok, the table's image cells
// without previews, and the reason among the report's warnings.
Result SaveTableWithPictures(const TableData& table, std::string_view prefix, const std::string& path,
                             const ImageStore& store, TableFileReport* report = nullptr);
Result LoadTableWithPictures(TableData& table, std::string_view prefix, const std::string& path,
                             ImageStore& store, MessageSink& sink, TableFileReport& report,
                             OldLayout old = OldLayout::kConvert);

}  // namespace vex
