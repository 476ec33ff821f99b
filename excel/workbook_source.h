#pragma once
// A workbook opened for reading, by whichever reader its format needs. A sheet's used range is
// known before its cells are read, so that a caller can refuse a sheet too large for it
// without the cost of reading it.

#include <memory>
#include <string>
#include <vector>

#include "excel/sheet_data.h"
#include "excel/zip_archive.h"
#include "platform/result.h"

namespace vex::excel {

class WorkbookSource {
 public:
  virtual ~WorkbookSource() = default;

  // The worksheets' names in workbook order.
  virtual const std::vector<std::string>& SheetNames() const = 0;
  // The used range of sheet `index` (0-based): every cell with a value or a format of its
  // own and every merged area; empty when the sheet holds none. Cells are not read.
  virtual ResultOr<CellArea> UsedRange(int index) = 0;
  // The sheet with its cells, sizes and merges. kTooLarge for a used range beyond the table
  // limits.
  virtual ResultOr<SheetData> ReadSheet(int index) = 0;
};

// Opens a workbook by its format: .xlsx/.xlsm, .ods, .csv, and .xls converted through
// LibreOffice (`soffice`) when it is installed. A file of another extension is read when its
// content is a workbook package. Failures carry a message for the drafter.
ResultOr<std::unique_ptr<WorkbookSource>> OpenWorkbookFile(const std::string& path, const ReadLimits& limits = {});

}  // namespace vex::excel
