#pragma once
// The JSON form of a table: "nRows", "nCols", "RowHeights", "ColWidths", "MergeRows" and
// "MergeCols" ([nPlace, nStart, nEnd] each), "Cells" (rows of cell objects), and for headers
// "TitleName", "TitleVersion", "TitleType", "TitleROrC". Arrays hold what the table holds.

#include <nlohmann/json.hpp>
#include <string>

#include "files/table_header.h"

namespace vex::cli {

// The table as JSON; the four header keys are added when withHeaderKeys is set.
nlohmann::ordered_json TableToJson(const TableHeader& table, bool withHeaderKeys);

// Reads a table from JSON. Missing members take the fresh values; wrong types, bad sizes and
// counts beyond the file limits give false with the reason (naming the member) in `error`.
// hasHeaderKeys tells whether any of the four header keys was present.
bool TableFromJson(const nlohmann::json& j, TableHeader& out, bool& hasHeaderKeys,
                   std::string& error);

}  // namespace vex::cli
