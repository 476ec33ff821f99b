#pragma once
// Writing a database as an ASCII drawing file.
//
// The file is DXF R2007 (AC1021) or, for a drawing read from a later version, that version:
// from R2007 on drawing files are UTF-8, so every text, Chinese included, is written as it is
// and reads back unchanged; older versions would need a code page and escapes for what it
// lacks. Units are those of the drawing ($INSUNITS, millimetres for new drawings). Everything
// a file read held that the host does not model is written back in place.

#include <string>

#include "cadhost/db/database_impl.h"

namespace cadhost {

// The drawing as DXF text.
std::string DxfText(DatabaseImpl& db);
// Writes the drawing to `path` through a temporary file in the same folder, so a failed save
// keeps the old file.
DrawingFileReport WriteDxfFile(const std::string& path, DatabaseImpl& db);

}  // namespace cadhost
