#pragma once
// The reader of .csv files: one sheet named after the file, fields separated by commas (or by
// semicolons or tabs when the first line has no comma), quoted as spreadsheets quote them.
// A field that is a whole number shows as the General format shows it, as a spreadsheet
// opening the file would; every other field is text.

#include <memory>
#include <string>

#include "excel/workbook_source.h"

namespace vex::excel {

ResultOr<std::unique_ptr<WorkbookSource>> OpenCsv(const std::string& path, const ReadLimits& limits);

}  // namespace vex::excel
