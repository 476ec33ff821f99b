// JSON tables as `vextable convert` and `draw` read them; a table that was accepted must
// come back the same through its own JSON.

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "cli/table_json.h"
#include "scratch.h"

namespace {

constexpr std::size_t kMaxInput = 64 << 10;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return -1;
  const nlohmann::json j = nlohmann::json::parse(vex::fuzz::AsText(data, size), nullptr, false);
  if (j.is_discarded()) return 0;
  vex::TableHeader table;
  bool headerKeys = false;
  if (!vex::cli::TableFromJson(j, table, headerKeys)) return 0;

  const std::string written = vex::cli::TableToJson(table, headerKeys).dump();
  const nlohmann::json again = nlohmann::json::parse(written, nullptr, false);
  vex::TableHeader back;
  bool backKeys = false;
  if (again.is_discarded() || !vex::cli::TableFromJson(again, back, backKeys)) std::abort();
  if (!(static_cast<const vex::TableData&>(back) == static_cast<const vex::TableData&>(table)))
    std::abort();
  if (headerKeys && !(back == table)) std::abort();
  return 0;
}
