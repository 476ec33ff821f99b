#pragma once
// The reader of .xlsx/.xlsm workbooks: the package's parts read with ZipArchive, each parsed
// with pugixml. Shared strings and styles are read once per workbook, a sheet's part when its
// used range or cells are first asked for.

#include <memory>
#include <string>

#include "excel/workbook_source.h"

namespace vex::excel {

// Opens the package and reads its list of worksheets (chart sheets are not worksheets).
ResultOr<std::unique_ptr<WorkbookSource>> OpenXlsx(const std::string& path, const ReadLimits& limits);

}  // namespace vex::excel
