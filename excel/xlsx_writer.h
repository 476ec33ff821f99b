#pragma once
// Writes a sheet as an .xlsx workbook of one worksheet with libxlsxwriter: values, formats
// (font size, alignment, wrapping, number format), row heights, column widths and merged
// areas. The file at `path` is replaced only once the new workbook is complete.

#include <string>

#include "excel/sheet_data.h"
#include "platform/result.h"

namespace vex::excel {

Result WriteXlsx(const SheetData& sheet, const std::string& path);

}  // namespace vex::excel
