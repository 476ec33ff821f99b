#include "files/table_file.h"

#include <filesystem>
#include <vector>

#include "files/xml_store.h"
#include "model/table_limits.h"
#include "platform/profile.h"
#include "platform/text_util.h"
#include "settings/profile_file.h"

namespace vex {

namespace {

// The keys of one layout.
struct KeyScheme {
  const char* rows;
  const char* cols;
  const char* rowHeight;   // + row index
  const char* colWidth;    // + column index
  const char* mergeRowsCount;
  const char* mergeRows;   // + span index + member
  const char* mergeColsCount;
  const char* mergeCols;
  bool cellSeparators;     // XML: "Grid/Text/Row%d/Col%d/"; key-value: "GridText%d%d"

  std::string Cell(int i, int j) const {
    return cellSeparators ? "Grid/Text/Row" + std::to_string(i) + "/Col" + std::to_string(j) + "/"
                          : "GridText" + std::to_string(i) + std::to_string(j);
  }
};

constexpr KeyScheme kXmlKeys{"Rows", "Cols", "Row/Height", "Col/Width", "Merge/Rows/Count",
                             "Merge/Rows", "Merge/Cols/Count", "Merge/Cols", true};
constexpr KeyScheme kKeyValueKeys{"nRows", "nCols", "RowHeights", "ColWidths", "MergeRowsCount",
                                  "MergeRows", "MergeColsCount", "MergeCols", false};

std::string Key(const char* base, int i) { return base + std::to_string(i); }

template <class Store>
void WriteSpans(Store& s, std::string_view prefix, const char* countKey, const char* base,
                const std::vector<MergeSpan>& spans) {
  s.PutInt(prefix, countKey, static_cast<int>(spans.size()));
  for (std::size_t k = 0; k < spans.size(); ++k) {
    const std::string at = Key(base, static_cast<int>(k));
    s.PutInt(prefix, at + "nPlace", spans[k].nPlace);
    s.PutInt(prefix, at + "nStart", spans[k].nStart);
    s.PutInt(prefix, at + "nEnd", spans[k].nEnd);
  }
}

// Writes every key of the table in the order of the layout: counts, the stored heights and
// widths (the arrays' own lengths), the spans, then the cells row by row.
template <class Store>
void WriteTable(Store& s, const KeyScheme& k, std::string_view prefix, const TableData& t) {
  s.PutInt(prefix, k.rows, t.nRows);
  s.PutInt(prefix, k.cols, t.nCols);
  for (std::size_t i = 0; i < t.RowHeights.size(); ++i)
    s.PutDouble(prefix, Key(k.rowHeight, static_cast<int>(i)), t.RowHeights[i]);
  for (std::size_t j = 0; j < t.ColWidths.size(); ++j)
    s.PutDouble(prefix, Key(k.colWidth, static_cast<int>(j)), t.ColWidths[j]);
  WriteSpans(s, prefix, k.mergeRowsCount, k.mergeRows, t.MergeRows);
  WriteSpans(s, prefix, k.mergeColsCount, k.mergeCols, t.MergeCols);
  for (std::size_t i = 0; i < t.rows.size(); ++i)
    for (std::size_t j = 0; j < t.rows[i].cells.size(); ++j)
      SaveFields(s, prefix, k.Cell(static_cast<int>(i), static_cast<int>(j)), t.rows[i].cells[j], CellFields());
}

template <class Store>
void WriteHeaderKeys(Store& s, std::string_view prefix, const TableHeader& h) {
  SaveFields(s, prefix, "", h, HeaderFields());
}

template <class Store>
void ReadHeaderKeys(const Store& s, std::string_view prefix, TableHeader& h) {
  LoadFields(s, prefix, "", h, HeaderFields());
}

template <class Store>
bool HasHeaderKeys(const Store& s, std::string_view prefix) {
  for (const auto& f : HeaderFields())
    if (s.Has(prefix, f.key)) return true;
  return false;
}

// How many cells, and how many merge spans, a file of `bytes` bytes may claim. A table file
// stores each cell and span in dozens of bytes, so a claim far beyond the file's size is no
// table: reading it would cost time and memory out of all proportion (63 bytes claiming
// 65,535 x 15 cells), and converting it would write every claimed cell out. The allowance
// keeps small hand-made files readable.
std::uintmax_t ClaimsAllowed(std::uintmax_t bytes) { return bytes + 4096; }

std::uintmax_t FileBytes(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t n = std::filesystem::file_size(path, ec);
  return ec ? 0 : n;
}

std::string MoreThanTheFileHolds(std::uintmax_t bytes) {
  return ", more than a file of " + std::to_string(bytes) + " bytes can hold";
}

template <class Store>
Result ReadSpans(const Store& s, std::string_view prefix, const char* countKey, const char* base,
                 std::uintmax_t fileBytes, std::vector<MergeSpan>& spans) {
  const int count = s.GetInt(prefix, countKey, 0);
  if (count < 0 || count > kMaxMergeSpans)
    return Result(count < 0 ? ErrorCode::kMalformed : ErrorCode::kTooLarge,
                  std::string("it declares ") + std::to_string(count) + " merge spans (" + countKey +
                      "); at most " + std::to_string(kMaxMergeSpans) + " are allowed");
  if (static_cast<std::uintmax_t>(count) > ClaimsAllowed(fileBytes))
    return Result(ErrorCode::kTooLarge, std::string("it declares ") + std::to_string(count) + " merge spans (" +
                                            countKey + ")" + MoreThanTheFileHolds(fileBytes));
  spans.clear();
  spans.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const std::string at = Key(base, k);
    const MergeSpan fresh;
    spans.emplace_back(s.GetInt(prefix, at + "nPlace", fresh.nPlace),
                       s.GetInt(prefix, at + "nStart", fresh.nStart),
                       s.GetInt(prefix, at + "nEnd", fresh.nEnd));
  }
  return {};
}

template <class Store>
TableCell ReadCell(const Store& s, std::string_view prefix, const std::string& at) {
  TableCell c;
  LoadFields(s, prefix, at, c, CellFields());
  return c;
}

// Reads a whole table from a file of `fileBytes` bytes; the counts default to the table's
// current ones. Leaves `t` alone and returns the reason when the file declares sizes we refuse.
template <class Store>
Result ReadTable(const Store& s, const KeyScheme& k, std::string_view prefix, std::uintmax_t fileBytes,
                 TableData& t) {
  TableData r;
  r.nRows = s.GetInt(prefix, k.rows, t.nRows);
  r.nCols = s.GetInt(prefix, k.cols, t.nCols);
  if (auto counts = CheckTableCounts(r.nRows, r.nCols); !counts) return counts;
  const std::uintmax_t cells = static_cast<std::uintmax_t>(r.nRows) * static_cast<std::uintmax_t>(r.nCols);
  if ((s.Has(prefix, k.rows) || s.Has(prefix, k.cols)) && cells > ClaimsAllowed(fileBytes))
    return Result(ErrorCode::kTooLarge, "it declares " + std::to_string(cells) + " cells" +
                                            MoreThanTheFileHolds(fileBytes));
  r.RowHeights.reserve(static_cast<std::size_t>(r.nRows));
  for (int i = 0; i < r.nRows; ++i) r.RowHeights.push_back(s.GetDouble(prefix, Key(k.rowHeight, i), 0.0));
  r.ColWidths.reserve(static_cast<std::size_t>(r.nCols));
  for (int j = 0; j < r.nCols; ++j) r.ColWidths.push_back(s.GetDouble(prefix, Key(k.colWidth, j), 0.0));
  if (auto spans = ReadSpans(s, prefix, k.mergeRowsCount, k.mergeRows, fileBytes, r.MergeRows); !spans) return spans;
  if (auto spans = ReadSpans(s, prefix, k.mergeColsCount, k.mergeCols, fileBytes, r.MergeCols); !spans) return spans;
  r.rows.reserve(static_cast<std::size_t>(r.nRows));
  for (int i = 0; i < r.nRows; ++i) {
    TableRow row;
    row.cells.reserve(static_cast<std::size_t>(r.nCols));
    for (int j = 0; j < r.nCols; ++j) row.cells.push_back(ReadCell(s, prefix, k.Cell(i, j)));
    r.AppendRow(std::move(row));
  }
  t = std::move(r);
  return {};
}

std::string Named(const std::string& path) { return "\"" + path + "\""; }

// True when the file starts like an XML document (after an optional byte-order mark).
bool LooksLikeXml(const std::string& path) {
  std::string head;
  if (!platform::ReadWholeFile(path, head, std::size_t(1) << 30)) return false;
  std::string_view h = head;
  if (h.substr(0, 3) == "\xEF\xBB\xBF") h.remove_prefix(3);
  const auto first = h.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && h[first] == '<';
}

Result CommitKeyValue(const ProfileBatch& batch, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) || !LooksLikeXml(path)) return batch.Commit(path);
  // An XML file at this path is not ours to merge keys into: write a fresh file beside it
  // and put it in its place.
  const std::string fresh = path + ".kv-new";
  std::filesystem::remove(fresh, ec);
  if (auto r = batch.Commit(fresh); !r) return r;
  std::filesystem::rename(fresh, path, ec);
  if (ec) {
    std::filesystem::remove(fresh, ec);
    return Result(ErrorCode::kCannotWrite, "cannot replace \"" + path + "\"");
  }
  return {};
}

Result NotATableFile(const std::string& path, std::string_view prefix, const std::string& parseError) {
  return Result(ErrorCode::kWrongKind, "not a table file: it is neither XML (" + parseError +
                                           ") nor a key-value table file with a [" + std::string(prefix) +
                                           "] section; it was left as it was")
      .WithContext(Named(path));
}

// An XML file that exists but has no element for the prefix is some other document.
Result MissingPrefixElement(const XmlStore& store, std::string_view prefix, const std::string& path) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !store.Has("", prefix))
    return Result(ErrorCode::kWrongKind, "not a table file: it holds no <" + std::string(prefix) + "> element")
        .WithContext(Named(path));
  return {};
}

// Rewrites a key-value table file in the XML layout, carrying along the header keys it holds.
Result ConvertKeyValueFile(std::string_view prefix, const std::string& path, TableHeader& read,
                           TableFileReport* report) {
  const ProfileFile kv = ProfileFile(path).Snapshot();
  if (auto r = ReadTable(kv, kKeyValueKeys, prefix, FileBytes(path), read); !r)
    return Result(r.code(), "not converted: " + r.message()).WithContext(Named(path));
  const bool hasHeaderKeys = HasHeaderKeys(kv, prefix);
  ReadHeaderKeys(kv, prefix, read);

  XmlStore out;
  if (out.Open(path, "xmlRoot") == XmlStore::kNoParser)
    return Result(ErrorCode::kRefused, "no XML parser to convert it with").WithContext(Named(path));
  out.Clear();
  WriteTable(out, kXmlKeys, prefix, read);
  if (hasHeaderKeys) WriteHeaderKeys(out, prefix, read);
  if (auto r = out.Save(); !r) return r;
  if (report) {
    report->converted = true;
    report->keyValue = true;
  }
  return {};
}

}  // namespace

bool FitsKeyValueLayout(const TableData& t) {
  const auto oneLine = [](const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; };
  if (t.rows.size() >= 10) return false;
  for (const TableRow& r : t.rows) {
    if (r.cells.size() >= 10) return false;
    for (const TableCell& c : r.cells)
      if (!oneLine(c.strText) || !oneLine(c.sBlockName)) return false;
  }
  return true;
}

std::string_view PrefixForFile(const std::string& path) {
  const std::filesystem::path p(path);
  const std::string name = p.filename().string();
  if (platform::EqualsNoCase(name, "_AutoSave.vtt")) return kAutoSavePrefix;
  const std::string ext = p.extension().string();
  if (platform::EqualsNoCase(ext, ".vtt")) return kHeaderFilePrefix;
  if (platform::EqualsNoCase(ext, ".vtf")) return kTableFilePrefix;
  return {};
}

Result SaveTableKeyValue(const TableData& table, std::string_view prefix, const std::string& path,
                         TableFileReport* report) {
  if (!FitsKeyValueLayout(table)) {
    XmlStore store;
    if (store.Open(path, "xmlRoot") == XmlStore::kNoParser)
      return Result(ErrorCode::kRefused,
                    "the table has ten or more rows or columns and no XML parser is available")
          .WithContext(Named(path));
    store.Clear();
    WriteTable(store, kXmlKeys, prefix, table);
    if (report) report->keyValue = false;
    return store.Save();
  }
  ProfileBatch batch;
  WriteTable(batch, kKeyValueKeys, prefix, table);
  if (auto r = CommitKeyValue(batch, path); !r) return r;
  if (report) report->keyValue = true;
  return {};
}

Result LoadTableKeyValue(TableData& table, std::string_view prefix, const std::string& path) {
  if (auto r = ReadTable(ProfileFile(path).Snapshot(), kKeyValueKeys, prefix, FileBytes(path), table); !r)
    return Result(r.code(), "refused: " + r.message()).WithContext(Named(path));
  return {};
}

Result SaveTableFile(const TableData& table, std::string_view prefix, const std::string& path,
                     TableFileReport* report) {
  XmlStore store;
  if (store.Open(path, "xmlRoot") == XmlStore::kNoParser) return SaveTableKeyValue(table, prefix, path, report);
  store.Clear();
  WriteTable(store, kXmlKeys, prefix, table);
  return store.Save();
}

Result LoadTableFile(TableData& table, std::string_view prefix, const std::string& path,
                     TableFileReport* report) {
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser) {
    if (report) report->keyValue = true;
    return LoadTableKeyValue(table, prefix, path);
  }
  if (opened == XmlStore::kMalformed) {
    if (!ProfileFile(path).HasSection(prefix)) return NotATableFile(path, prefix, store.ParseError());
    TableHeader read;
    read.nRows = table.nRows;
    read.nCols = table.nCols;
    auto r = ConvertKeyValueFile(prefix, path, read, report);
    if (r) table = static_cast<const TableData&>(read);
    return r;
  }
  if (auto bad = MissingPrefixElement(store, prefix, path); !bad) return bad;
  if (auto r = ReadTable(store, kXmlKeys, prefix, FileBytes(path), table); !r)
    return Result(r.code(), "refused: " + r.message()).WithContext(Named(path));
  return {};
}

Result SaveHeaderKeys(const TableHeader& header, std::string_view prefix, const std::string& path) {
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser) {
    ProfileBatch batch;
    WriteHeaderKeys(batch, prefix, header);
    return CommitKeyValue(batch, path);
  }
  if (opened == XmlStore::kMalformed) {
    // A key-value file (written while no parser was available) takes the keys in its section.
    if (!ProfileFile(path).HasSection(prefix)) return NotATableFile(path, prefix, store.ParseError());
    ProfileBatch batch;
    WriteHeaderKeys(batch, prefix, header);
    return batch.Commit(path);
  }
  WriteHeaderKeys(store, prefix, header);
  return store.Save();
}

Result LoadHeaderKeys(TableHeader& header, std::string_view prefix, const std::string& path,
                      TableFileReport* report) {
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser) {
    ReadHeaderKeys(ProfileFile(path).Snapshot(), prefix, header);
    return {};
  }
  if (opened == XmlStore::kMalformed) {
    if (!ProfileFile(path).HasSection(prefix)) return NotATableFile(path, prefix, store.ParseError());
    TableHeader read = header;
    auto r = ConvertKeyValueFile(prefix, path, read, report);
    // Only the keys are asked for; the table part of `header` stays as the caller has it.
    if (r)
      for (const auto& f : HeaderFields()) std::visit([&](auto m) { header.*m = read.*m; }, f.member);
    return r;
  }
  if (auto bad = MissingPrefixElement(store, prefix, path); !bad) return bad;
  ReadHeaderKeys(store, prefix, header);
  return {};
}

}  // namespace vex
