#pragma once
#include <string>
#include <vector>

namespace vex::cli {

// vextable dump FILE [--prefix P] [--normalize]: prints a table, header or autosave file as
// JSON. Nothing is written: an old key-value file is read where it is.
int RunDump(const std::vector<std::string>& args);

// vextable convert IN OUT [--prefix P] [--layout xml|key-value] [--normalize]: reads a table
// from a table file or JSON and writes it as a table file or JSON, chosen by OUT's extension.
int RunConvert(const std::vector<std::string>& args);

}  // namespace vex::cli
