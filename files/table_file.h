#pragma once
// Table files: one table under a named prefix, in the XML layout (written through XmlStore:
// root "xmlRoot", one element per prefix) or the key-value layout (an INI section named by the
// prefix) that older installations and machines without an XML parser use. Header files are
// table files with four more keys under the same prefix.

#include <string>
#include <string_view>
#include <vector>

#include "model/table_data.h"
#include "model/table_header.h"
#include "platform/result.h"

namespace vex {

// Prefixes of the three kinds of table file.
inline constexpr std::string_view kTableFilePrefix = "VexTableSaveFile";
inline constexpr std::string_view kHeaderFilePrefix = "TableTitle";
inline constexpr std::string_view kAutoSavePrefix = "AutoSave";

// What a save or load did besides its result.
struct TableFileReport {
  bool converted = false;  // an old key-value file was rewritten in the XML layout
  bool keyValue = false;   // the table was read from or written in the key-value layout
  std::vector<std::string> warnings;  // things beside the table that went wrong (its pictures)
};

// What reading an old key-value table file does to it.
enum class OldLayout {
  kConvert,  // rewrite it in the XML layout, keeping the original once as "<file>.kv.bak"
  kLeave,    // only read it (a report, a conversion to another file: nothing is written)
};

// Writes the table under `prefix` ("VexTableSaveFile", "TableTitle", "AutoSave") in the XML
// layout, or the key-value layout when no XML parser can be had. The old file is replaced only
// once the new one is complete. A text holding a NUL is refused (no layout can store it).
Result SaveTableFile(const TableData& table, std::string_view prefix, const std::string& path,
                     TableFileReport* report = nullptr);

// Reads the table under `prefix`. On failure the table is left as it was. A missing file reads
// as defaults. A file that is neither XML nor a key-value table under the prefix (its section
// holding the table's size) is refused and left alone. An old key-value table is read and, with
// kConvert, rewritten in the XML layout; when that cannot be done the table still opens and the
// report says why. Counts the file cannot hold (more cells or spans than its bytes could store,
// beyond the table limits) are refused before anything is allocated.
Result LoadTableFile(TableData& table, std::string_view prefix, const std::string& path,
                     TableFileReport* report = nullptr, OldLayout old = OldLayout::kConvert);

// Why the key-value layout cannot hold the table (and the header keys, when given), or "" when
// it can. Its cell keys run row and column digits together, so from ten rows or columns on two
// cells can share a key ("GridText111" is row 1 column 11 and row 11 column 1); an INI value
// cannot hold a line break and loses surrounding blanks and enclosing quotes. Such tables are
// written in the XML layout instead.
std::string KeyValueLayoutProblem(const TableData& table, const TableHeader* header = nullptr);
bool FitsKeyValueLayout(const TableData& table);

// Writes the key-value layout, with the header keys after the table's when `header` is given.
// The section is not emptied first (keys of a larger former
// table stay but are not read). A table that does not fit the layout is written in the XML
// layout instead (report->keyValue is false then, with the reason among the warnings). A file
// in another layout at the path is replaced whole.
Result SaveTableKeyValue(const TableData& table, std::string_view prefix, const std::string& path,
                         TableFileReport* report = nullptr, const TableHeader* header = nullptr);

// Reads the key-value layout. A missing file or section reads as defaults.
Result LoadTableKeyValue(TableData& table, std::string_view prefix, const std::string& path);

// Writes the four header keys into the existing table file (key-value file: its section).
Result SaveHeaderKeys(const TableHeader& header, std::string_view prefix, const std::string& path);

// Reads the four header keys, the current values as defaults; an old key-value file is treated
// as LoadTableFile treats it (converted with its table and keys for kConvert).
Result LoadHeaderKeys(TableHeader& header, std::string_view prefix, const std::string& path,
                      TableFileReport* report = nullptr, OldLayout old = OldLayout::kConvert);

// The prefix a file name implies: "_AutoSave.vtt" gives "AutoSave", ".vtt" "TableTitle",
// ".vtf" "VexTableSaveFile"; "" for other names.
std::string_view PrefixForFile(const std::string& path);

}  // namespace vex
