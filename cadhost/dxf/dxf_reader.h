#pragma once
// Reading ASCII drawing files (DXF R12 to R2018) into a database.

#include <string>
#include <string_view>

#include "cadhost/db/database_impl.h"

namespace cadhost {

// Largest drawing file the host opens; larger files are refused before reading.
constexpr std::size_t kMaxDxfBytes = std::size_t(512) << 20;

// Reads the file into `db`, an empty store. On failure the report names the line; `db` is
// then to be thrown away.
DrawingFileReport ReadDxfFile(const std::string& path, DatabaseImpl& db);
// The same for text already in memory; `name` appears in messages.
DrawingFileReport ReadDxfText(std::string_view text, const std::string& name, DatabaseImpl& db);

}  // namespace cadhost
