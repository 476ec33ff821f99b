#include "files/table_file.h"

#include <algorithm>
#include <filesystem>
#include <type_traits>
#include <vector>

#include "files/table_xml.h"
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

template <class Store>
void ReadSpans(const Store& s, std::string_view prefix, const char* base, int count, std::vector<MergeSpan>& spans) {
  spans.clear();
  spans.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const std::string at = Key(base, k);
    const MergeSpan fresh;
    spans.emplace_back(s.GetInt(prefix, at + "nPlace", fresh.nPlace),
                       s.GetInt(prefix, at + "nStart", fresh.nStart),
                       s.GetInt(prefix, at + "nEnd", fresh.nEnd));
  }
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
Result ReadTable(const Store& s, const KeyScheme& k, std::string_view prefix, long long fileBytes, TableData& t) {
  TableData r;
  r.nRows = s.GetInt(prefix, k.rows, t.nRows);
  r.nCols = s.GetInt(prefix, k.cols, t.nCols);
  const int rowSpans = s.GetInt(prefix, k.mergeRowsCount, 0);
  const int colSpans = s.GetInt(prefix, k.mergeColsCount, 0);
  if (auto claims = CheckTableClaims(r.nRows, r.nCols, rowSpans, colSpans, fileBytes); !claims) return claims;
  r.RowHeights.reserve(static_cast<std::size_t>(r.nRows));
  for (int i = 0; i < r.nRows; ++i) r.RowHeights.push_back(s.GetDouble(prefix, Key(k.rowHeight, i), 0.0));
  r.ColWidths.reserve(static_cast<std::size_t>(r.nCols));
  for (int j = 0; j < r.nCols; ++j) r.ColWidths.push_back(s.GetDouble(prefix, Key(k.colWidth, j), 0.0));
  ReadSpans(s, prefix, k.mergeRows, rowSpans, r.MergeRows);
  ReadSpans(s, prefix, k.mergeCols, colSpans, r.MergeCols);
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

long long FileBytes(const std::string& path) {
  std::error_code ec;
  const auto n = std::filesystem::file_size(path, ec);
  return ec ? 0 : static_cast<long long>(n);
}

std::string Named(const std::string& path) { return "\"" + path + "\""; }

std::string CellName(std::size_t i, std::size_t j) {
  return "cell [" + std::to_string(i) + "][" + std::to_string(j) + "]";
}

// What the key-value layout would change in a value: a line break ends it, surrounding blanks
// and one pair of enclosing quotes are taken off when it is read back.
std::string KeyValueTextProblem(const std::string& text) {
  if (text.find_first_of("\r\n") != std::string::npos) return "holds a line break";
  if (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t'))
    return "begins or ends with blanks";
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
    return "is enclosed in quotes";
  return {};
}

// A table file cannot hold a NUL: XML has no such character and INI values end at it.
Result CheckStorable(const TableData& t) {
  for (std::size_t i = 0; i < t.rows.size(); ++i)
    for (std::size_t j = 0; j < t.rows[i].cells.size(); ++j) {
      const TableCell& c = t.rows[i].cells[j];
      if (c.strText.find('\0') != std::string::npos || c.sBlockName.find('\0') != std::string::npos)
        return Result(ErrorCode::kRefused, CellName(i, j) + " holds a NUL character, which no table file can store");
    }
  return {};
}

Result CheckStorable(const TableHeader& h) {
  bool nul = false;
  ForEachField(h, HeaderFields(), [&](std::string_view, const auto& v) {
    if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) nul = nul || v.find('\0') != std::string::npos;
  });
  if (nul) return Result(ErrorCode::kRefused, "a header key holds a NUL character, which no table file can store");
  return {};
}

// True when the file's section for the prefix holds the table's count keys: only such a file is
// a key-value table (a settings file with a section of that name is not).
bool IsKeyValueTable(const ProfileFile& kv, std::string_view prefix) {
  return kv.Has(prefix, kKeyValueKeys.rows) && kv.Has(prefix, kKeyValueKeys.cols);
}

Result CommitKeyValue(const ProfileBatch& batch, const std::string& path, bool replaceWhole) {
  if (!replaceWhole) return batch.Commit(path);
  return platform::WriteNewProfile(path, batch.Entries());
}

Result NotATableFile(const std::string& path, std::string_view prefix, const std::string& parseError) {
  return Result(ErrorCode::kWrongKind, "not a table file: it is neither XML (" + parseError +
                                           ") nor a key-value table file with a [" + std::string(prefix) +
                                           "] section holding its size; it was left as it was")
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

// Old key-value files have one key per cell made of the row and column digits run together,
// so from ten rows or columns on two cells may have shared a key when the file was written.
void WarnOfCollidingKeys(const TableData& t, const std::string& path, TableFileReport* report) {
  if (report && (t.nRows >= 10 || t.nCols >= 10))
    report->warnings.push_back(Named(path) + " is an old key-value table of " + std::to_string(t.nRows) + " rows and " +
                               std::to_string(t.nCols) +
                               " columns; that layout could not tell some cells apart, so cells may be misplaced");
}

// Rewrites a key-value table file (read into `read` with its header keys) in the XML layout,
// keeping the original once as "<file>.kv.bak". A file that cannot be rewritten (a read-only
// disk) stays as it is and opens all the same, with a warning.
void ConvertKeyValueFile(std::string_view prefix, const std::string& path, const TableHeader& read,
                         bool withHeaderKeys, TableFileReport* report) {
  const auto warn = [&](const std::string& why) {
    if (report) report->warnings.push_back(Named(path) + " stays in the key-value layout: " + why);
  };
  if (!CheckStorable(read) || !CheckStorable(static_cast<const TableData&>(read)))
    return warn("its texts cannot be stored in the XML layout");
  const std::string backup = path + ".kv.bak";
  std::error_code ec;
  if (!std::filesystem::exists(backup, ec)) {
    std::string original;
    if (auto r = platform::ReadWholeFile(path, original); !r) return warn(r.message());
    if (auto r = platform::WriteFileAtomically(backup, original); !r) return warn(r.message());
  }
  XmlStore out;
  if (out.Open(path, "xmlRoot") == XmlStore::kNoParser) return warn("no XML parser to convert it with");
  out.Clear();
  WriteTable(out, kXmlKeys, prefix, read);
  if (withHeaderKeys) WriteHeaderKeys(out, prefix, read);
  if (auto r = out.Save(); !r) return warn(r.message());
  if (report) report->converted = true;
}

// Reads an old key-value table file, converting it when asked.
Result LoadKeyValueFile(TableHeader& read, std::string_view prefix, const std::string& path, OldLayout old,
                        TableFileReport* report) {
  const ProfileFile kv = ProfileFile(path).Snapshot();
  if (auto r = ReadTable(kv, kKeyValueKeys, prefix, FileBytes(path), read); !r)
    return Result(r.code(), "refused: " + r.message()).WithContext(Named(path));
  const bool withHeaderKeys = HasHeaderKeys(kv, prefix);
  ReadHeaderKeys(kv, prefix, read);
  if (report) report->keyValue = true;
  WarnOfCollidingKeys(read, path, report);
  if (old == OldLayout::kConvert) ConvertKeyValueFile(prefix, path, read, withHeaderKeys, report);
  return {};
}

}  // namespace

std::string KeyValueLayoutProblem(const TableData& t, const TableHeader* header) {
  if (t.rows.size() >= 10 || std::any_of(t.rows.begin(), t.rows.end(), [](const TableRow& r) { return r.cells.size() >= 10; }))
    return "the table has ten or more rows or columns, whose cells the key-value layout cannot tell apart";
  for (std::size_t i = 0; i < t.rows.size(); ++i)
    for (std::size_t j = 0; j < t.rows[i].cells.size(); ++j) {
      const TableCell& c = t.rows[i].cells[j];
      for (const std::string* text : {&c.strText, &c.sBlockName})
        if (auto why = KeyValueTextProblem(*text); !why.empty())
          return "the text of " + CellName(i, j) + " " + why + ", which the key-value layout would change";
    }
  if (header) {
    std::string problem;
    ForEachField(*header, HeaderFields(), [&](std::string_view key, const auto& v) {
      if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>)
        if (auto why = KeyValueTextProblem(v); !why.empty() && problem.empty())
          problem = "the header key " + std::string(key) + " " + why + ", which the key-value layout would change";
    });
    return problem;
  }
  return {};
}

bool FitsKeyValueLayout(const TableData& t) { return KeyValueLayoutProblem(t).empty(); }

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
                         TableFileReport* report, const TableHeader* header) {
  if (auto r = CheckStorable(table); !r) return r.WithContext(Named(path));
  if (header)
    if (auto r = CheckStorable(*header); !r) return r.WithContext(Named(path));
  if (const std::string why = KeyValueLayoutProblem(table, header); !why.empty()) {
    XmlStore store;
    if (store.Open(path, "xmlRoot") == XmlStore::kNoParser)
      return Result(ErrorCode::kRefused, why + ", and no XML parser is available").WithContext(Named(path));
    store.Clear();
    WriteTable(store, kXmlKeys, prefix, table);
    if (header) WriteHeaderKeys(store, prefix, *header);
    if (report) {
      report->keyValue = false;
      report->warnings.push_back(Named(path) + " was written in the XML layout: " + why);
    }
    return store.Save();
  }
  ProfileBatch batch;
  WriteTable(batch, kKeyValueKeys, prefix, table);
  if (header) WriteHeaderKeys(batch, prefix, *header);
  // A file in another layout at this path is not ours to merge keys into: it is replaced whole.
  const ProfileFile existing(path);
  std::error_code ec;
  const bool replaceWhole = std::filesystem::exists(path, ec) && !IsKeyValueTable(existing.Snapshot(), prefix);
  if (auto r = CommitKeyValue(batch, path, replaceWhole); !r) return r;
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
  if (auto r = CheckStorable(table); !r) return r.WithContext(Named(path));
  if (CanStreamXmlTable(prefix)) return WriteXmlTable(table, prefix, path);
  XmlStore store;
  if (store.Open(path, "xmlRoot") == XmlStore::kNoParser) return SaveTableKeyValue(table, prefix, path, report);
  store.Clear();
  WriteTable(store, kXmlKeys, prefix, table);
  return store.Save();
}

Result LoadTableFile(TableData& table, std::string_view prefix, const std::string& path, TableFileReport* report,
                     OldLayout old) {
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser) {
    if (report) report->keyValue = true;
    return LoadTableKeyValue(table, prefix, path);
  }
  if (opened == XmlStore::kMalformed) {
    if (!IsKeyValueTable(ProfileFile(path).Snapshot(), prefix)) return NotATableFile(path, prefix, store.ParseError());
    TableHeader read;
    read.nRows = table.nRows;
    read.nCols = table.nCols;
    if (auto r = LoadKeyValueFile(read, prefix, path, old, report); !r) return r;
    table = static_cast<const TableData&>(read);
    return {};
  }
  if (CanStreamXmlTable(prefix)) {
    std::error_code ec;
    const Result r = ReadXmlTable(store, prefix, FileBytes(path), std::filesystem::exists(path, ec), table);
    if (r.code() == ErrorCode::kWrongKind) return r.WithContext(Named(path));
    if (!r) return Result(r.code(), "refused: " + r.message()).WithContext(Named(path));
    return {};
  }
  if (auto bad = MissingPrefixElement(store, prefix, path); !bad) return bad;
  if (auto r = ReadTable(store, kXmlKeys, prefix, FileBytes(path), table); !r)
    return Result(r.code(), "refused: " + r.message()).WithContext(Named(path));
  return {};
}

Result SaveHeaderKeys(const TableHeader& header, std::string_view prefix, const std::string& path) {
  if (auto r = CheckStorable(header); !r) return r.WithContext(Named(path));
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser || opened == XmlStore::kMalformed) {
    // A key-value file (written while no parser was available) takes the keys in its section.
    const ProfileFile kv(path);
    if (opened == XmlStore::kMalformed && !IsKeyValueTable(kv.Snapshot(), prefix))
      return NotATableFile(path, prefix, store.ParseError());
    if (const std::string why = KeyValueLayoutProblem(TableData{}, &header); !why.empty())
      return Result(ErrorCode::kRefused, why).WithContext(Named(path));
    ProfileBatch batch;
    WriteHeaderKeys(batch, prefix, header);
    return batch.Commit(path);
  }
  WriteHeaderKeys(store, prefix, header);
  return store.Save();
}

Result LoadHeaderKeys(TableHeader& header, std::string_view prefix, const std::string& path, TableFileReport* report,
                      OldLayout old) {
  XmlStore store;
  const int opened = store.Open(path, "xmlRoot");
  if (opened == XmlStore::kNoParser) {
    ReadHeaderKeys(ProfileFile(path).Snapshot(), prefix, header);
    return {};
  }
  if (opened == XmlStore::kMalformed) {
    if (!IsKeyValueTable(ProfileFile(path).Snapshot(), prefix)) return NotATableFile(path, prefix, store.ParseError());
    TableHeader read = header;
    if (auto r = LoadKeyValueFile(read, prefix, path, old, report); !r) return r;
    // Only the keys are asked for; the table part of `header` stays as the caller has it.
    for (const auto& f : HeaderFields()) std::visit([&](auto m) { header.*m = read.*m; }, f.member);
    return {};
  }
  if (auto bad = MissingPrefixElement(store, prefix, path); !bad) return bad;
  ReadHeaderKeys(store, prefix, header);
  return {};
}

}  // namespace vex
