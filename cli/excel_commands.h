#pragma once
// vextable import and vextable export: a worksheet into a table file, a table into a workbook,
// with the Excel sizes of the settings.

#include <string>
#include <vector>

namespace vex::cli {

int RunImport(const std::vector<std::string>& args);
int RunExport(const std::vector<std::string>& args);

}  // namespace vex::cli
