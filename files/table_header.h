#pragma once
// A header of the header library: a table plus its name, version, class and type, kept in a
// header file as four more keys after the table's own under the same prefix.

#include <string>
#include <string_view>

#include "model/table_data.h"
#include "model/table_file_status.h"

namespace vex {

class TableHeader : public TableData {
 public:
  // Writes the four keys into the existing XML file (key-value file: its section).
  TableFileStatus SaveHeaderKeys(std::string_view prefix, const std::string& path) const;
  // Reads the four keys, the current values as defaults; an old key-value file is converted
  // to the XML layout with its table and keys.
  TableFileStatus LoadHeaderKeys(std::string_view prefix, const std::string& path);

  bool operator==(const TableHeader& o) const = default;

  std::string TitleName;
  std::string TitleVersion = "1.0";
  std::string TitleType;  // the class name
  int TitleROrC = 0;      // the header type
};

}  // namespace vex
