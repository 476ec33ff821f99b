#pragma once
// Import of a worksheet as a table and Export of a table as a new workbook, through the
// automation objects, with the sizes of the Excel settings.

#include "excel/automation.h"
#include "excel/exchange_ui.h"
#include "model/table_data.h"
#include "settings/settings.h"

namespace vex::excel {

// Messages and meters of the exchange, as the drafter sees them.
inline constexpr const char* kTableTooLarge = "Table is Large!Software can read maximum cell is 100000.";
inline constexpr const char* kReadingCellData = "Reading Excel cell data ";
inline constexpr const char* kReadingCellMerge = "Read Excel cell merge ";
inline constexpr const char* kWritingCellData = "Write Excel cell data";
inline constexpr const char* kWritingCellMerge = "Write Excel cell merge";
// The most cells a sheet may have to be imported.
inline constexpr long long kMaxImportCells = 100000;

// Asks for a workbook and a sheet and reads the sheet's used range into `table` (emptied
// first). Returns 1 when the table was filled, 0 otherwise: cancelled (no message), a sheet
// beyond kMaxImportCells (kTableTooLarge on the command line), or a workbook that cannot be
// read (why, in a message box).
int Import(TableData& table, const ExcelSettings& settings, ImportUi& ui, const ReadLimits& limits = {});

// Writes the table into a new workbook and hands it to `viewer`. Returns 1 when the workbook
// was written, 0 when it could not be (why, in a message box).
int Export(const TableData& table, const ExcelSettings& settings, StatusMeter& meter, MessageSink& messages,
           WorkbookViewer& viewer);

// ExcelScale as the size formulas divide by: the stored one when it is a finite positive
// number, else the default 4 (0 would divide by zero, a negative one turn sizes negative).
double EffectiveExcelScale(const ExcelSettings& settings);

// trunc(x) of the size formulas, held to the range of an int (NaN gives 0).
int TruncToInt(double x);

}  // namespace vex::excel
