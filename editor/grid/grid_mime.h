#pragma once
// The grid's clipboard and drag data: the plain text of a selection (ending in its zero
// byte), the table fragment as JSON under our own MIME type, and an HTML table; and reading
// such data back for a paste or a drop.

#include <QString>

#include <optional>
#include <string>

#include "model/grid_model.h"
#include "model/table_data.h"

class QMimeData;

namespace vex {

// The MIME type of a table fragment (the table clipboard as JSON).
inline constexpr char kTableMimeType[] = "application/x-vextable-table+json";

// Clipboard data of a fragment: `text` gets its zero byte appended.
QMimeData* MakeGridMimeData(const std::string& text, const TableData& fragment, const std::string& html);

// What a paste or a drop can use.
struct PastePayload {
  std::optional<TableData> table;  // our payload, when present and well formed
  std::string tableProblem;        // why a present payload was not used
  std::optional<std::string> text; // the plain text (UTF-8)
};

// Reads `mime`, keeping at most maxRows x maxCols of a table payload. A malformed payload is
// left out (its reason in tableProblem), so that the plain text is pasted alone.
PastePayload ReadPastePayload(const QMimeData* mime, int maxRows, int maxCols);

}  // namespace vex
