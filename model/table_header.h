#pragma once
// A header of the header library: a table plus its name, version, class and type, kept in a
// header file as four more keys after the table's own under the same prefix.

#include <span>
#include <string>

#include "model/field.h"
#include "model/table_data.h"

namespace vex {

class TableHeader : public TableData {
 public:
  bool operator==(const TableHeader& o) const = default;

  std::string TitleName;
  std::string TitleVersion = "1.0";
  std::string TitleType;  // the class name
  int TitleROrC = 0;      // the header type
};

// The four header keys, in the order header files hold them.
std::span<const Field<TableHeader>> HeaderFields();

}  // namespace vex
