#pragma once
// Workbooks in the old binary format (.xls) are read by converting them to .xlsx with
// LibreOffice, when it is installed.

#include <optional>
#include <string>

#include "platform/result.h"

namespace vex::excel {

// The path of the `soffice` program found on PATH, or nullopt.
std::optional<std::string> FindOffice();

// Converts `path` into an .xlsx file in `folder` and returns the new file's path. kNotFound
// with the advice to save the workbook as .xlsx when LibreOffice is not installed;
// kCannotRead when the conversion fails or takes longer than `timeoutSeconds`.
ResultOr<std::string> ConvertToXlsx(const std::string& path, const std::string& folder, int timeoutSeconds = 120);

}  // namespace vex::excel
