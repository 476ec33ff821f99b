#pragma once
// The JSON form of a table: "nRows", "nCols", "RowHeights", "ColWidths", "MergeRows" and
// "MergeCols" ([nPlace, nStart, nEnd] each), "Cells" (rows of cell objects), and for headers
// "TitleName", "TitleVersion", "TitleType", "TitleROrC". Arrays hold what the table holds.

#include <nlohmann/json.hpp>
#include <functional>
#include <string>
#include <string_view>

#include "model/table_header.h"
#include "platform/result.h"

namespace vex::cli {

// The table as JSON; the four header keys are added when withHeaderKeys is set.
nlohmann::ordered_json TableToJson(const TableHeader& table, bool withHeaderKeys);

// The text of TableToJson(table, withHeaderKeys) dumped with an indent of 2 (invalid UTF-8
// replaced), written piece by piece to `write` without building the whole document: a large
// table's document costs many times the table.
void WriteTableJson(const TableHeader& table, bool withHeaderKeys, const std::function<void(std::string_view)>& write);

// Reads a table from JSON. Missing members take the fresh values; wrong types, numbers out of
// range, bad sizes and counts beyond the table limits are refused with the reason, the member
// named in the message and in the result's position. hasHeaderKeys tells whether any of the
// four header keys was present.
Result TableFromJson(const nlohmann::json& j, TableHeader& out, bool& hasHeaderKeys);

}  // namespace vex::cli
