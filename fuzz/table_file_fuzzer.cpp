// Table, header and autosave files, in the XML and the key-value layout: each loader over the
// same hostile file. The prefix is the one the input names, so that seeds of each kind of
// file reach past the prefix check.

#include <cstdlib>
#include <string>

#include "files/table_file.h"
#include "model/table_limits.h"
#include "platform/profile.h"
#include "scratch.h"

namespace {

using namespace vex;

constexpr std::size_t kMaxInput = 64 << 10;

std::string_view PrefixNamedIn(std::string_view text) {
  if (text.find(kHeaderFilePrefix) != std::string_view::npos) return kHeaderFilePrefix;
  if (text.find(kAutoSavePrefix) != std::string_view::npos) return kAutoSavePrefix;
  return kTableFilePrefix;
}

// What a load that succeeded must give: counts within the limits and no more rows, cells,
// heights or widths than the counts say.
void CheckLoaded(const TableData& t) {
  if (!CheckTableCounts(t.nRows, t.nCols).ok()) std::abort();
  if (t.rows.size() > static_cast<std::size_t>(t.nRows)) std::abort();
  if (t.RowHeights.size() > static_cast<std::size_t>(t.nRows)) std::abort();
  if (t.ColWidths.size() > static_cast<std::size_t>(t.nCols)) std::abort();
  for (const TableRow& r : t.rows)
    if (r.cells.size() > static_cast<std::size_t>(t.nCols)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return -1;
  const std::string_view text = fuzz::AsText(data, size);
  const std::string_view prefix = PrefixNamedIn(text);
  platform::DropProfileCache();

  // A load may convert the file in place, so each loader gets the input afresh.
  std::string path = fuzz::WriteScratchFile("fuzz.vtf", text);
  TableData table;
  TableFileReport report;
  if (LoadTableFile(table, prefix, path, &report)) CheckLoaded(table);

  path = fuzz::WriteScratchFile("fuzz.vtf", text);
  platform::DropProfileCache();
  TableData keyValue;
  if (LoadTableKeyValue(keyValue, prefix, path)) CheckLoaded(keyValue);

  path = fuzz::WriteScratchFile("fuzz.vtf", text);
  platform::DropProfileCache();
  TableHeader header;
  (void)LoadHeaderKeys(header, prefix, path, &report);

  fuzz::ClearScratch();
  return 0;
}
