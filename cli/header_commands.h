#pragma once
#include <string>
#include <vector>

namespace vex::cli {

// vextable header list [--class C] | add TABLE --name N [--class C] [--type vertical|horizontal|full]
//   | delete NAME  [--library DIR] [--ini PATH]: the header library, on the installed library
// folder or DIR.
int RunHeader(const std::vector<std::string>& args);

// vextable new [--header NAME] [--rows R] [--cols C] [--row-height H] [--col-width W] -o OUT.vtf
// [--library DIR] [--ini PATH]: a new table as the table initialization dialog's OK builds it.
int RunNew(const std::vector<std::string>& args);

}  // namespace vex::cli
