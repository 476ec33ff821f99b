#include "files/table_file.h"

#include <filesystem>
#include <vector>

#include "files/table_header.h"
#include "files/xml_store.h"
#include "platform/profile.h"
#include "platform/text_util.h"
#include "settings/profile_file.h"

namespace vex {

using platform::FileResult;

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

// Puts collected for one write of a key-value file; numbers formatted as that layout stores
// them ("%d", "%.2f").
class KeyValueBatch {
 public:
  void PutInt(std::string_view section, std::string_view key, int v) {
    PutString(section, key, platform::FormatInt(v));
  }
  void PutDouble(std::string_view section, std::string_view key, double v) {
    PutString(section, key, platform::FormatFixed(v, 2));
  }
  void PutString(std::string_view section, std::string_view key, std::string_view v) {
    entries_.push_back({std::string(section), std::string(key), std::string(v)});
  }
  FileResult Commit(const std::string& path) const {
    return platform::WriteProfileStrings(path, entries_);
  }

 private:
  std::vector<platform::ProfileEntry> entries_;
};

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

template <class Store>
void WriteCell(Store& s, std::string_view prefix, const std::string& at, const TableCell& c) {
  s.PutInt(prefix, at + "HorzMode", c.HorzMode);
  s.PutInt(prefix, at + "VertMode", c.VertMode);
  s.PutString(prefix, at + "strText", c.strText);
  s.PutDouble(prefix, at + "dHeight", c.dHeight);
  s.PutInt(prefix, at + "nType", c.nType);
  s.PutDouble(prefix, at + "dScael", c.dScael);
  s.PutString(prefix, at + "sBlockName", c.sBlockName);
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
      WriteCell(s, prefix, k.Cell(static_cast<int>(i), static_cast<int>(j)), t.rows[i].cells[j]);
}

template <class Store>
void WriteHeaderKeys(Store& s, std::string_view prefix, const TableHeader& h) {
  s.PutString(prefix, "TitleName", h.TitleName);
  s.PutString(prefix, "TitleVersion", h.TitleVersion);
  s.PutString(prefix, "TitleType", h.TitleType);
  s.PutInt(prefix, "TitleROrC", h.TitleROrC);
}

template <class Store>
void ReadHeaderKeys(const Store& s, std::string_view prefix, TableHeader& h) {
  h.TitleName = s.GetString(prefix, "TitleName", h.TitleName);
  h.TitleVersion = s.GetString(prefix, "TitleVersion", h.TitleVersion);
  h.TitleType = s.GetString(prefix, "TitleType", h.TitleType);
  h.TitleROrC = s.GetInt(prefix, "TitleROrC", h.TitleROrC);
}

template <class Store>
bool ReadSpans(const Store& s, std::string_view prefix, const char* countKey, const char* base,
               std::vector<MergeSpan>& spans, std::string& error) {
  const int count = s.GetInt(prefix, countKey, 0);
  if (count < 0 || count > kMaxMergeSpans) {
    error = std::string("it declares ") + std::to_string(count) + " merge spans (" + countKey +
            "); at most " + std::to_string(kMaxMergeSpans) + " are allowed";
    return false;
  }
  spans.clear();
  spans.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const std::string at = Key(base, k);
    const MergeSpan fresh;
    spans.emplace_back(s.GetInt(prefix, at + "nPlace", fresh.nPlace),
                       s.GetInt(prefix, at + "nStart", fresh.nStart),
                       s.GetInt(prefix, at + "nEnd", fresh.nEnd));
  }
  return true;
}

template <class Store>
TableCell ReadCell(const Store& s, std::string_view prefix, const std::string& at) {
  TableCell c;
  c.HorzMode = s.GetInt(prefix, at + "HorzMode", c.HorzMode);
  c.VertMode = s.GetInt(prefix, at + "VertMode", c.VertMode);
  c.strText = s.GetString(prefix, at + "strText", c.strText);
  c.dHeight = s.GetDouble(prefix, at + "dHeight", c.dHeight);
  c.nType = s.GetInt(prefix, at + "nType", c.nType);
  c.dScael = s.GetDouble(prefix, at + "dScael", c.dScael);
  c.sBlockName = s.GetString(prefix, at + "sBlockName", c.sBlockName);
  return c;
}

}  // namespace

std::string CheckTableCounts(int rows, int cols) {
  if (rows < 0 || cols < 0)
    return "it declares a negative size (" + std::to_string(rows) + " rows, " +
           std::to_string(cols) + " columns)";
  if (rows > kMaxTableRowsOrCols || cols > kMaxTableRowsOrCols)
    return "it declares " + std::to_string(rows) + " rows and " + std::to_string(cols) +
           " columns; at most " + std::to_string(kMaxTableRowsOrCols) + " of each are allowed";
  if (static_cast<long long>(rows) * cols > kMaxTableCells)
    return "it declares " + std::to_string(static_cast<long long>(rows) * cols) +
           " cells; at most " + std::to_string(kMaxTableCells) + " are allowed";
  return {};
}

namespace {

// Reads a whole table; the counts default to the table's current ones. Leaves `t` alone and
// returns the reason when the file declares sizes we refuse.
template <class Store>
std::string ReadTable(const Store& s, const KeyScheme& k, std::string_view prefix, TableData& t) {
  TableData r;
  r.nRows = s.GetInt(prefix, k.rows, t.nRows);
  r.nCols = s.GetInt(prefix, k.cols, t.nCols);
  if (auto why = CheckTableCounts(r.nRows, r.nCols); !why.empty()) return why;
  r.RowHeights.reserve(static_cast<std::size_t>(r.nRows));
  for (int i = 0; i < r.nRows; ++i) r.RowHeights.push_back(s.GetDouble(prefix, Key(k.rowHeight, i), 0.0));
  r.ColWidths.reserve(static_cast<std::size_t>(r.nCols));
  for (int j = 0; j < r.nCols; ++j) r.ColWidths.push_back(s.GetDouble(prefix, Key(k.colWidth, j), 0.0));
  std::string why;
  if (!ReadSpans(s, prefix, k.mergeRowsCount, k.mergeRows, r.MergeRows, why) ||
      !ReadSpans(s, prefix, k.mergeColsCount, k.mergeCols, r.MergeCols, why))
    return why;
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

std::string Named(const std::string& what, const std::string& path) {
  return "\"" + path + "\": " + what;
}

// True when the file starts like an XML document (after an optional byte-order mark).
bool LooksLikeXml(const std::string& path) {
  std::string head;
  if (!platform::ReadWholeFile(path, head, std::size_t(1) << 30)) return false;
  std::string_view h = head;
  if (h.substr(0, 3) == "\xEF\xBB\xBF") h.remove_prefix(3);
  const auto first = h.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && h[first] == '<';
}

FileResult CommitKeyValue(const KeyValueBatch& batch, const std::string& path) {
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
    return FileResult::Fail("cannot replace \"" + path + "\"");
  }
  return {};
}

TableFileStatus NotATableFile(const std::string& path, std::string_view prefix,
                              const std::string& parseError) {
  return TableFileStatus::Fail(
      Named("not a table file: it is neither XML (" + parseError +
                ") nor a key-value table file with a [" + std::string(prefix) + "] section; it was left as it was",
            path));
}

// An XML file that exists but has no element for the prefix is some other document.
TableFileStatus MissingPrefixElement(const XmlStore& store, std::string_view prefix,
                                     const std::string& path) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !store.Has("", prefix))
    return TableFileStatus::Fail(
        Named("not a table file: it holds no <" + std::string(prefix) + "> element", path));
  return {};
}

// Rewrites a key-value table file in the XML layout, carrying along the header keys it holds.
TableFileStatus ConvertKeyValueFile(std::string_view prefix, const std::string& path,
                                    TableHeader& read) {
  const ProfileFile kv = ProfileFile(path).Snapshot();
  if (auto why = ReadTable(kv, kKeyValueKeys, prefix, read); !why.empty())
    return TableFileStatus::Fail(Named("not converted: " + why, path));
  const bool hasHeaderKeys = kv.Has(prefix, "TitleName") || kv.Has(prefix, "TitleVersion") ||
                             kv.Has(prefix, "TitleType") || kv.Has(prefix, "TitleROrC");
  ReadHeaderKeys(kv, prefix, read);

  XmlStore out;
  if (out.Open(path, "xmlRoot") == XmlStore::kNoParser)
    return TableFileStatus::Fail(Named("no XML parser to convert it with", path));
  out.Clear();
  WriteTable(out, kXmlKeys, prefix, read);
  if (hasHeaderKeys) WriteHeaderKeys(out, prefix, read);
  if (auto r = out.Save(); !r) return TableFileStatus::Fail(r.error);
  TableFileStatus s;
  s.converted = true;
  s.keyValue = true;
  return s;
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

TableFileStatus SaveTableKeyValue(const TableData& table, std::string_view prefix,
                                  const std::string& path) {
  if (!FitsKeyValueLayout(table)) {
    XmlStore store;
    if (store.Open(path, "xmlRoot") == XmlStore::kNoParser)
      return TableFileStatus::Fail(Named("the table has ten or more rows or columns and no XML parser is available", path));
    store.Clear();
    WriteTable(store, kXmlKeys, prefix, table);
    if (auto r = store.Save(); !r) return TableFileStatus::Fail(r.error);
    return {};
  }
  KeyValueBatch batch;
  WriteTable(batch, kKeyValueKeys, prefix, table);
  if (auto r = CommitKeyValue(batch, path); !r) return TableFileStatus::Fail(r.error);
  TableFileStatus s;
  s.keyValue = true;
  return s;
}

TableFileStatus LoadTableKeyValue(TableData& table, std::string_view prefix,
                                  const std::string& path) {
  if (auto why = ReadTable(ProfileFile(path).Snapshot(), kKeyValueKeys, prefix, table); !why.empty())
    return TableFileStatus::Fail(Named("refused: " + why, path));
  TableFileStatus s;
  s.keyValue = true;
  return s;
}

TableFileStatus TableData::Save(std::string_view prefix, const std::string& path) const {
  XmlStore store;
  if (store.Open(path, "xmlRoot") == XmlStore::kNoParser) return SaveTableKeyValue(*this, prefix, path);
  store.Clear();
  WriteTable(store, kXmlKeys, prefix, *this);
  if (auto r = store.Save(); !r) return TableFileStatus::Fail(r.error);
  return {};
}

TableFileStatus TableData::Load(std::string_view prefix, const std::string& path) {
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser) return LoadTableKeyValue(*this, prefix, path);
  if (opened == XmlStore::kMalformed) {
    if (!ProfileFile(path).HasSection(prefix)) return NotATableFile(path, prefix, store.ParseError());
    TableHeader read;
    read.nRows = nRows;
    read.nCols = nCols;
    auto status = ConvertKeyValueFile(prefix, path, read);
    if (status) *this = static_cast<const TableData&>(read);
    return status;
  }
  if (auto bad = MissingPrefixElement(store, prefix, path); !bad.ok) return bad;
  if (auto why = ReadTable(store, kXmlKeys, prefix, *this); !why.empty())
    return TableFileStatus::Fail(Named("refused: " + why, path));
  return {};
}

TableFileStatus TableHeader::SaveHeaderKeys(std::string_view prefix, const std::string& path) const {
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser) {
    KeyValueBatch batch;
    WriteHeaderKeys(batch, prefix, *this);
    if (auto r = CommitKeyValue(batch, path); !r) return TableFileStatus::Fail(r.error);
    return {};
  }
  if (opened == XmlStore::kMalformed) {
    // A key-value file (written while no parser was available) takes the keys in its section.
    if (!ProfileFile(path).HasSection(prefix)) return NotATableFile(path, prefix, store.ParseError());
    KeyValueBatch batch;
    WriteHeaderKeys(batch, prefix, *this);
    if (auto r = batch.Commit(path); !r) return TableFileStatus::Fail(r.error);
    return {};
  }
  WriteHeaderKeys(store, prefix, *this);
  if (auto r = store.Save(); !r) return TableFileStatus::Fail(r.error);
  return {};
}

TableFileStatus TableHeader::LoadHeaderKeys(std::string_view prefix, const std::string& path) {
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser) {
    ReadHeaderKeys(ProfileFile(path).Snapshot(), prefix, *this);
    return {};
  }
  if (opened == XmlStore::kMalformed) {
    if (!ProfileFile(path).HasSection(prefix)) return NotATableFile(path, prefix, store.ParseError());
    TableHeader read = *this;
    auto status = ConvertKeyValueFile(prefix, path, read);
    if (status) {
      TitleName = read.TitleName;
      TitleVersion = read.TitleVersion;
      TitleType = read.TitleType;
      TitleROrC = read.TitleROrC;
    }
    return status;
  }
  if (auto bad = MissingPrefixElement(store, prefix, path); !bad.ok) return bad;
  ReadHeaderKeys(store, prefix, *this);
  return {};
}

}  // namespace vex
