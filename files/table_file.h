#pragma once
// Table files: one table under a named prefix, in the XML layout (written through XmlStore:
// root "xmlRoot", one element per prefix) or the key-value layout (an INI section named by the
// prefix) that older installations and machines without an XML parser use.

#include <string>
#include <string_view>

#include "model/table_data.h"
#include "model/table_file_status.h"

namespace vex {

// Prefixes of the three kinds of table file.
inline constexpr std::string_view kTableFilePrefix = "VexTableSaveFile";
inline constexpr std::string_view kHeaderFilePrefix = "TableTitle";
inline constexpr std::string_view kAutoSavePrefix = "AutoSave";

// Limits on what a file may declare; larger counts are refused rather than allocated.
inline constexpr int kMaxTableRowsOrCols = 65535;
inline constexpr long long kMaxTableCells = 1000000;
inline constexpr int kMaxMergeSpans = 1000000;

// "" when a table of this size is acceptable, else the reason it is refused.
std::string CheckTableCounts(int rows, int cols);

// Whether the key-value layout can hold the table. Its cell keys run row and column digits
// together, so from ten rows or columns on two cells can share a key ("GridText111" is row 1
// column 11 and row 11 column 1), and an INI value cannot hold a line break; such tables are
// written in the XML layout instead.
bool FitsKeyValueLayout(const TableData& table);

// Writes the key-value layout. The section is not emptied first (keys of a larger former
// table stay but are not read). A table that does not fit the layout is written in the XML
// layout instead (status.keyValue is false then). An existing XML file is replaced whole.
TableFileStatus SaveTableKeyValue(const TableData& table, std::string_view prefix,
                                  const std::string& path);

// Reads the key-value layout. A missing file or section reads as defaults.
TableFileStatus LoadTableKeyValue(TableData& table, std::string_view prefix,
                                  const std::string& path);

// The prefix a file name implies: "_AutoSave.vtt" gives "AutoSave", ".vtt" "TableTitle",
// ".vtf" "VexTableSaveFile"; "" for other names.
std::string_view PrefixForFile(const std::string& path);

}  // namespace vex
