#include "cli/table_json.h"

#include "files/table_file.h"

namespace vex::cli {

using Json = nlohmann::ordered_json;

Json TableToJson(const TableHeader& t, bool withHeaderKeys) {
  Json spansRows = Json::array(), spansCols = Json::array(), cells = Json::array();
  for (const MergeSpan& s : t.MergeRows) spansRows.push_back({s.nPlace, s.nStart, s.nEnd});
  for (const MergeSpan& s : t.MergeCols) spansCols.push_back({s.nPlace, s.nStart, s.nEnd});
  for (const TableRow& r : t.rows) {
    Json row = Json::array();
    for (const TableCell& c : r.cells)
      row.push_back(Json{{"HorzMode", c.HorzMode}, {"VertMode", c.VertMode}, {"strText", c.strText},
                         {"dHeight", c.dHeight},   {"nType", c.nType},       {"dScael", c.dScael},
                         {"sBlockName", c.sBlockName}});
    cells.push_back(std::move(row));
  }
  Json j{{"nRows", t.nRows},         {"nCols", t.nCols},         {"RowHeights", t.RowHeights},
         {"ColWidths", t.ColWidths}, {"MergeRows", spansRows},   {"MergeCols", spansCols},
         {"Cells", cells}};
  if (withHeaderKeys) {
    j["TitleName"] = t.TitleName;
    j["TitleVersion"] = t.TitleVersion;
    j["TitleType"] = t.TitleType;
    j["TitleROrC"] = t.TitleROrC;
  }
  return j;
}

namespace {

class Reader {
 public:
  explicit Reader(std::string& error) : error_(error) {}

  bool Int(const nlohmann::json& obj, const char* key, int& out, const std::string& where) {
    const auto it = obj.find(key);
    if (it == obj.end()) return true;
    if (!it->is_number_integer() ||
        it->get<long long>() != static_cast<long long>(static_cast<int>(it->get<long long>())))
      return Fail(where + key + ": expected a 32-bit integer");
    out = it->get<int>();
    return true;
  }
  bool Double(const nlohmann::json& v, double& out, const std::string& where) {
    if (!v.is_number()) return Fail(where + ": expected a number");
    out = v.get<double>();
    return true;
  }
  bool Double(const nlohmann::json& obj, const char* key, double& out, const std::string& where) {
    const auto it = obj.find(key);
    return it == obj.end() || Double(*it, out, where + key);
  }
  bool String(const nlohmann::json& obj, const char* key, std::string& out, const std::string& where) {
    const auto it = obj.find(key);
    if (it == obj.end()) return true;
    if (!it->is_string()) return Fail(where + key + ": expected a string");
    out = it->get<std::string>();
    return true;
  }
  // The array member `key`, or null when it is missing; fails when it is not an array or
  // longer than `limit`.
  const nlohmann::json* Array(const nlohmann::json& obj, const char* key, std::size_t limit,
                              const std::string& where) {
    const auto it = obj.find(key);
    if (it == obj.end()) return nullptr;
    if (!it->is_array()) return Fail(where + key + ": expected an array"), nullptr;
    if (it->size() > limit)
      return Fail(where + key + ": " + std::to_string(it->size()) + " entries; at most " +
                  std::to_string(limit) + " are allowed"),
             nullptr;
    return &*it;
  }
  bool Fail(std::string why) {
    if (error_.empty()) error_ = std::move(why);
    return false;
  }
  bool failed() const { return !error_.empty(); }

 private:
  std::string& error_;
};

bool ReadSpans(Reader& rd, const nlohmann::json& j, const char* key, std::vector<MergeSpan>& out) {
  const nlohmann::json* a = rd.Array(j, key, static_cast<std::size_t>(kMaxMergeSpans), "");
  if (!a) return !rd.failed();
  for (std::size_t k = 0; k < a->size(); ++k) {
    const auto& s = (*a)[k];
    const std::string where = std::string(key) + "[" + std::to_string(k) + "]";
    if (!s.is_array() || s.size() != 3 || !s[0].is_number_integer() || !s[1].is_number_integer() ||
        !s[2].is_number_integer())
      return rd.Fail(where + ": expected [nPlace, nStart, nEnd]");
    out.emplace_back(s[0].get<int>(), s[1].get<int>(), s[2].get<int>());
  }
  return true;
}

bool ReadSizes(Reader& rd, const nlohmann::json& j, const char* key, std::vector<double>& out) {
  const nlohmann::json* a = rd.Array(j, key, kMaxTableRowsOrCols, "");
  if (!a) return !rd.failed();
  for (std::size_t k = 0; k < a->size(); ++k) {
    double v = 0;
    if (!rd.Double((*a)[k], v, std::string(key) + "[" + std::to_string(k) + "]")) return false;
    out.push_back(v);
  }
  return true;
}

}  // namespace

bool TableFromJson(const nlohmann::json& j, TableHeader& out, bool& hasHeaderKeys,
                   std::string& error) {
  error.clear();
  Reader rd(error);
  if (!j.is_object()) return rd.Fail("a table must be a JSON object");
  TableHeader t;
  if (!j.contains("nRows") || !j.contains("nCols")) return rd.Fail("nRows and nCols are required");
  if (!rd.Int(j, "nRows", t.nRows, "") || !rd.Int(j, "nCols", t.nCols, "")) return false;
  if (auto why = CheckTableCounts(t.nRows, t.nCols); !why.empty()) return rd.Fail("refused: " + why);
  if (!ReadSizes(rd, j, "RowHeights", t.RowHeights) || !ReadSizes(rd, j, "ColWidths", t.ColWidths) ||
      !ReadSpans(rd, j, "MergeRows", t.MergeRows) || !ReadSpans(rd, j, "MergeCols", t.MergeCols))
    return false;

  if (const nlohmann::json* rows = rd.Array(j, "Cells", kMaxTableRowsOrCols, "")) {
    long long total = 0;
    for (std::size_t i = 0; i < rows->size(); ++i) {
      const std::string where = "Cells[" + std::to_string(i) + "]";
      const auto& row = (*rows)[i];
      if (!row.is_array()) return rd.Fail(where + ": expected an array of cells");
      total += static_cast<long long>(row.size());
      if (row.size() > kMaxTableRowsOrCols || total > kMaxTableCells)
        return rd.Fail(where + ": more cells than a table may have");
      TableRow r;
      for (std::size_t c = 0; c < row.size(); ++c) {
        const auto& o = row[c];
        const std::string at = where + "[" + std::to_string(c) + "].";
        if (!o.is_object()) return rd.Fail(at.substr(0, at.size() - 1) + ": expected a cell object");
        TableCell cell;
        if (!rd.Int(o, "HorzMode", cell.HorzMode, at) || !rd.Int(o, "VertMode", cell.VertMode, at) ||
            !rd.String(o, "strText", cell.strText, at) || !rd.Double(o, "dHeight", cell.dHeight, at) ||
            !rd.Int(o, "nType", cell.nType, at) || !rd.Double(o, "dScael", cell.dScael, at) ||
            !rd.String(o, "sBlockName", cell.sBlockName, at))
          return false;
        r.cells.push_back(std::move(cell));
      }
      t.AppendRow(std::move(r));
    }
  } else if (rd.failed()) {
    return false;
  }

  hasHeaderKeys = j.contains("TitleName") || j.contains("TitleVersion") || j.contains("TitleType") ||
                  j.contains("TitleROrC");
  if (!rd.String(j, "TitleName", t.TitleName, "") || !rd.String(j, "TitleVersion", t.TitleVersion, "") ||
      !rd.String(j, "TitleType", t.TitleType, "") || !rd.Int(j, "TitleROrC", t.TitleROrC, ""))
    return false;
  out = std::move(t);
  return true;
}

}  // namespace vex::cli
