#pragma once
// Reading the table a batch command works on: a table, header or autosave file, or JSON.

#include <optional>
#include <string>

#include "model/table_header.h"

namespace vex {
class ImageStore;
}

namespace vex::cli {

struct LoadedTable {
  TableHeader table;
  bool headerKeys = false;  // the source carried header keys
};

// True when the file name ends in ".json" (any case).
bool IsJson(const std::string& path);

// Prints "vextable VERB: WHY" on standard error and returns 1.
int Fail(const char* verb, const std::string& why);

// The prefix for a table file: `given` when set, else the one its name implies; "" with the
// reason in `error` when the name implies none.
std::string PrefixFor(const std::optional<std::string>& given, const std::string& path, std::string& error);

// Reads a table file (with its header keys when it is a header file, and its pictures into
// `store` when one is given) or a JSON table. Prints what is wrong and returns false on failure.
bool ReadTableInput(const char* verb, const std::optional<std::string>& prefix, const std::string& path,
                    LoadedTable& out, ImageStore* store = nullptr);

}  // namespace vex::cli
