#pragma once
// The XML layout of a whole table read in one walk of the document and written as a stream:
// the same keys, values and bytes as reading and writing it key by key through XmlStore, at a
// fraction of the memory (no index of the document when reading, no document at all when
// writing). A 100,000-cell table would otherwise hold several hundred megabytes.

#include <string>
#include <string_view>

#include "files/xml_store.h"
#include "model/table_data.h"
#include "platform/result.h"

namespace vex {

// Reads the table under `prefix` (a plain element name) from an open store as key-by-key reads
// would, the first element in document order answering each key; the counts default to the
// table's current ones. `fileBytes` bounds what the counts may claim. With `mustHoldPrefix`, a
// document without an element of that name is refused as another kind of file. Leaves `t`
// alone on failure.
Result ReadXmlTable(const XmlStore& store, std::string_view prefix, long long fileBytes, bool mustHoldPrefix,
                    TableData& t);

// Whether ReadXmlTable and WriteXmlTable take this prefix (a plain element name).
bool CanStreamXmlTable(std::string_view prefix);

// Writes a new file holding only the table under `prefix`, byte for byte as XmlStore saves it
// (declaration, tab indentation, escaping), replacing the old file once complete.
Result WriteXmlTable(const TableData& t, std::string_view prefix, const std::string& path);

}  // namespace vex
