#pragma once
// The companion drawing of a table or header file: the whole picture store saved beside the
// file as a drawing ("plan.vtf" has "plan.dxf"), read back into the store when the file is
// opened, so that image cells find their blocks again.

#include <string>

#include "model/table_data.h"
#include "model/table_file_status.h"

namespace vex {

class ImageStore;

// The file's path with its last extension replaced by ".dxf" ("a.b.vtf" gives "a.b.dxf").
std::string CompanionDrawingPath(const std::string& tablePath);

// Saves the store beside the table file when the table has an image cell (nType 1 with a
// block name) and a store exists; otherwise nothing is written and an older companion stays.
// A failed save is reported.
TableFileStatus SaveCompanionDrawing(const TableData& table, const std::string& tablePath,
                                     const ImageStore& store);

// When the table has image cells and its companion drawing exists, replaces the store by the
// drawing and rebuilds each image cell's preview from its block (a missing block leaves that
// preview empty). A drawing that cannot be read leaves a new empty store and is reported; the
// cells keep their block names either way.
TableFileStatus LoadCompanionDrawing(TableData& table, const std::string& tablePath,
                                     ImageStore& store);

// A table file and its companion drawing, saved and loaded together. A failure of the
// drawing alone leaves the status ok with the reason in `warning`.
TableFileStatus SaveTableWithPictures(const TableData& table, std::string_view prefix,
                                      const std::string& path, const ImageStore& store);
TableFileStatus LoadTableWithPictures(TableData& table, std::string_view prefix,
                                      const std::string& path, ImageStore& store);

}  // namespace vex
