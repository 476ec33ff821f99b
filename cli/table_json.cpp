#include "cli/table_json.h"

#include <climits>

#include "cli/record_json.h"
#include "model/table_limits.h"

namespace vex::cli {

using Json = nlohmann::ordered_json;

Json TableToJson(const TableHeader& t, bool withHeaderKeys) {
  Json spansRows = Json::array(), spansCols = Json::array(), cells = Json::array();
  for (const MergeSpan& s : t.MergeRows) spansRows.push_back({s.nPlace, s.nStart, s.nEnd});
  for (const MergeSpan& s : t.MergeCols) spansCols.push_back({s.nPlace, s.nStart, s.nEnd});
  for (const TableRow& r : t.rows) {
    Json row = Json::array();
    for (const TableCell& c : r.cells) row.push_back(RecordToJson(c, CellFields()));
    cells.push_back(std::move(row));
  }
  Json j{{"nRows", t.nRows},         {"nCols", t.nCols},         {"RowHeights", t.RowHeights},
         {"ColWidths", t.ColWidths}, {"MergeRows", spansRows},   {"MergeCols", spansCols},
         {"Cells", cells}};
  if (withHeaderKeys) j.update(RecordToJson(t, HeaderFields()));
  return j;
}

namespace {

// One value dumped as the whole document's dump would show it at `depth` levels of indent.
void AppendIndented(std::string& out, const Json& value, int depth) {
  const std::string text = value.dump(2, ' ', false, Json::error_handler_t::replace);
  const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
  for (const char c : text) {
    out += c;
    if (c == '\n') out += indent;
  }
}

// Writes "[ ... ]" of `items` at `depth`, each produced by item(out, k, depth + 1).
template <class Item>
void AppendArray(std::string& out, std::size_t count, int depth, Item&& item,
                 const std::function<void(std::string_view)>& write) {
  if (count == 0) {
    out += "[]";
    return;
  }
  const std::string inner(static_cast<std::size_t>(depth + 1) * 2, ' ');
  out += "[\n";
  for (std::size_t k = 0; k < count; ++k) {
    out += inner;
    item(out, k, depth + 1);
    if (k + 1 < count) out += ',';
    out += '\n';
    if (out.size() > (1u << 16)) {
      write(out);
      out.clear();
    }
  }
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  out += ']';
}

}  // namespace

void WriteTableJson(const TableHeader& t, bool withHeaderKeys, const std::function<void(std::string_view)>& write) {
  std::string out = "{\n";
  const auto member = [&](const char* key) {
    out += "  \"";
    out += key;
    out += "\": ";
  };
  member("nRows");
  out += std::to_string(t.nRows) + ",\n";
  member("nCols");
  out += std::to_string(t.nCols) + ",\n";
  const auto numbers = [&](const std::vector<double>& v) {
    AppendArray(out, v.size(), 1, [&](std::string& o, std::size_t k, int) { AppendIndented(o, Json(v[k]), 0); }, write);
  };
  member("RowHeights");
  numbers(t.RowHeights);
  out += ",\n";
  member("ColWidths");
  numbers(t.ColWidths);
  out += ",\n";
  const auto spans = [&](const std::vector<MergeSpan>& v) {
    AppendArray(out, v.size(), 1,
                [&](std::string& o, std::size_t k, int depth) {
                  AppendIndented(o, Json::array({v[k].nPlace, v[k].nStart, v[k].nEnd}), depth);
                },
                write);
  };
  member("MergeRows");
  spans(t.MergeRows);
  out += ",\n";
  member("MergeCols");
  spans(t.MergeCols);
  out += ",\n";
  member("Cells");
  AppendArray(out, t.rows.size(), 1,
              [&](std::string& o, std::size_t i, int depth) {
                const auto& cells = t.rows[i].cells;
                AppendArray(o, cells.size(), depth,
                            [&](std::string& c, std::size_t j, int d) { AppendIndented(c, RecordToJson(cells[j], CellFields()), d); },
                            write);
              },
              write);
  if (withHeaderKeys) {
    const Json keys = RecordToJson(t, HeaderFields());
    for (auto it = keys.begin(); it != keys.end(); ++it) {
      out += ",\n";
      member(it.key().c_str());
      AppendIndented(out, it.value(), 1);
    }
  }
  out += "\n}";
  write(out);
}

namespace {

// The value as a 32-bit integer; false for anything else (a fraction, a string, a number that
// would not fit: 99999999999 must not wrap to some other count).
bool AsInt(const nlohmann::json& v, int& out) {
  if (v.is_number_unsigned()) {
    if (v.get<unsigned long long>() > static_cast<unsigned long long>(INT_MAX)) return false;
  } else if (v.is_number_integer()) {
    const long long n = v.get<long long>();
    if (n < INT_MIN || n > INT_MAX) return false;
  } else {
    return false;
  }
  out = static_cast<int>(v.get<long long>());
  return true;
}

// Reads members and remembers the first fault with the path of the member at fault.
class Reader {
 public:
  void Value(const nlohmann::json& v, int& out, const std::string& where) {
    if (!AsInt(v, out)) Fail(ErrorCode::kMalformed, where, "expected a 32-bit integer");
  }
  void Value(const nlohmann::json& v, double& out, const std::string& where) {
    if (!v.is_number()) return Fail(ErrorCode::kMalformed, where, "expected a number");
    out = v.get<double>();
  }
  void Value(const nlohmann::json& v, std::string& out, const std::string& where) {
    if (!v.is_string()) return Fail(ErrorCode::kMalformed, where, "expected a string");
    out = v.get<std::string>();
    // No table file can hold it, and cutting the text there would lose the rest silently.
    if (out.find('\0') != std::string::npos) Fail(ErrorCode::kMalformed, where, "a text cannot hold a NUL character");
  }
  // The member `key` of obj read into `out` when present.
  template <class T>
  void Member(const nlohmann::json& obj, std::string_view key, T& out, const std::string& where) {
    const auto it = obj.find(key);
    if (it != obj.end()) Value(*it, out, where + std::string(key));
  }
  // Every field of the record's descriptor table that obj holds.
  template <class Record>
  void Fields(const nlohmann::json& obj, Record& record, std::span<const Field<Record>> fields,
              const std::string& where) {
    ForEachField(record, fields, [&](std::string_view key, auto& value) { Member(obj, key, value, where); });
  }
  // The array member `key`, or null when it is missing; a fault when it is not an array or
  // longer than `limit`.
  const nlohmann::json* Array(const nlohmann::json& obj, const char* key, std::size_t limit) {
    const auto it = obj.find(key);
    if (it == obj.end()) return nullptr;
    if (!it->is_array()) return Fail(ErrorCode::kMalformed, key, "expected an array"), nullptr;
    if (it->size() > limit)
      return Fail(ErrorCode::kTooLarge, key,
                  std::to_string(it->size()) + " entries; at most " + std::to_string(limit) + " are allowed"),
             nullptr;
    return &*it;
  }
  void Fail(ErrorCode code, const std::string& where, const std::string& why) {
    if (!failure_.ok()) return;
    InputPosition at;
    at.field = where;
    failure_ = Result(code, (where.empty() ? std::string() : where + ": ") + why, std::move(at));
  }
  bool failed() const { return !failure_.ok(); }
  const Result& failure() const { return failure_; }

 private:
  Result failure_;
};

void ReadSpans(Reader& rd, const nlohmann::json& j, const char* key, std::vector<MergeSpan>& out) {
  const nlohmann::json* a = rd.Array(j, key, static_cast<std::size_t>(kMaxMergeSpans));
  if (!a) return;
  for (std::size_t k = 0; k < a->size() && !rd.failed(); ++k) {
    const auto& s = (*a)[k];
    const std::string where = std::string(key) + "[" + std::to_string(k) + "]";
    MergeSpan span;
    if (!s.is_array() || s.size() != 3 || !AsInt(s[0], span.nPlace) || !AsInt(s[1], span.nStart) ||
        !AsInt(s[2], span.nEnd))
      return rd.Fail(ErrorCode::kMalformed, where, "expected [nPlace, nStart, nEnd] of 32-bit integers");
    out.push_back(span);
  }
}

void ReadSizes(Reader& rd, const nlohmann::json& j, const char* key, std::vector<double>& out) {
  const nlohmann::json* a = rd.Array(j, key, kMaxTableRowsOrCols);
  if (!a) return;
  for (std::size_t k = 0; k < a->size() && !rd.failed(); ++k) {
    double v = 0;
    rd.Value((*a)[k], v, std::string(key) + "[" + std::to_string(k) + "]");
    out.push_back(v);
  }
}

void ReadCells(Reader& rd, const nlohmann::json& j, TableData& t) {
  const nlohmann::json* rows = rd.Array(j, "Cells", kMaxTableRowsOrCols);
  if (!rows) return;
  long long total = 0;
  for (std::size_t i = 0; i < rows->size() && !rd.failed(); ++i) {
    const std::string where = "Cells[" + std::to_string(i) + "]";
    const auto& row = (*rows)[i];
    if (!row.is_array()) return rd.Fail(ErrorCode::kMalformed, where, "expected an array of cells");
    total += static_cast<long long>(row.size());
    if (row.size() > kMaxTableRowsOrCols || total > kMaxTableCells)
      return rd.Fail(ErrorCode::kTooLarge, where, "more cells than a table may have");
    TableRow r;
    r.cells.reserve(row.size());
    for (std::size_t c = 0; c < row.size() && !rd.failed(); ++c) {
      const std::string at = where + "[" + std::to_string(c) + "]";
      if (!row[c].is_object()) return rd.Fail(ErrorCode::kMalformed, at, "expected a cell object");
      TableCell cell;
      rd.Fields(row[c], cell, CellFields(), at + ".");
      r.cells.push_back(std::move(cell));
    }
    t.AppendRow(std::move(r));
  }
}

}  // namespace

Result TableFromJson(const nlohmann::json& j, TableHeader& out, bool& hasHeaderKeys) {
  Reader rd;
  if (!j.is_object()) return Result(ErrorCode::kMalformed, "a table must be a JSON object");
  if (!j.contains("nRows") || !j.contains("nCols")) return Result(ErrorCode::kMalformed, "nRows and nCols are required");
  TableHeader t;
  rd.Member(j, "nRows", t.nRows, "");
  rd.Member(j, "nCols", t.nCols, "");
  if (rd.failed()) return rd.failure();
  if (auto counts = CheckTableCounts(t.nRows, t.nCols); !counts)
    return Result(counts.code(), "refused: " + counts.message());
  ReadSizes(rd, j, "RowHeights", t.RowHeights);
  ReadSizes(rd, j, "ColWidths", t.ColWidths);
  ReadSpans(rd, j, "MergeRows", t.MergeRows);
  ReadSpans(rd, j, "MergeCols", t.MergeCols);
  ReadCells(rd, j, t);
  hasHeaderKeys = false;
  for (const auto& f : HeaderFields()) hasHeaderKeys = hasHeaderKeys || j.contains(f.key);
  rd.Fields(j, t, HeaderFields(), "");
  if (rd.failed()) return rd.failure();
  out = std::move(t);
  return {};
}

}  // namespace vex::cli
