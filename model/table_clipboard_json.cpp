#include "model/table_clipboard_json.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace vex {
namespace {

using Json = nlohmann::json;

// Our layout nests seven deep; anything much deeper is not ours, and refusing it before
// parsing keeps a hostile payload from exhausting the stack.
constexpr int kMaxDepth = 12;
// Primitives of one picture, numbers of one polyline.
constexpr std::size_t kMaxPrimitives = 100000;
constexpr std::size_t kMaxPolylineNumbers = 2000000;

void AppendNumber(std::string& out, double v) {
  if (!std::isfinite(v)) v = 0;
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void AppendInt(std::string& out, long long v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void AppendString(std::string& out, std::string_view s) {
  out += '"';
  for (const char ch : s) {
    const auto u = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += ch;
    } else if (u < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      switch (ch) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += "\\u00"; out += kHex[u >> 4]; out += kHex[u & 15];
      }
    } else {
      out += ch;
    }
  }
  out += '"';
}

void AppendSpans(std::string& out, const char* key, const std::vector<MergeSpan>& spans) {
  out += ",\"";
  out += key;
  out += "\":[";
  for (std::size_t k = 0; k < spans.size(); ++k) {
    if (k) out += ',';
    out += '[';
    AppendInt(out, spans[k].nPlace);
    out += ',';
    AppendInt(out, spans[k].nStart);
    out += ',';
    AppendInt(out, spans[k].nEnd);
    out += ']';
  }
  out += ']';
}

void AppendPicture(std::string& out, const CellImageList& picture) {
  out += ",\"picture\":[";
  bool first = true;
  for (const auto& item : picture) {
    if (!first) out += ',';
    first = false;
    std::vector<double> numbers;
    if (const auto* l = dynamic_cast<const JLine*>(item.get())) {
      numbers = {l->start.x, l->start.y, l->end.x, l->end.y};
    } else if (const auto* c = dynamic_cast<const JCircle*>(item.get())) {
      numbers = {c->center.x, c->center.y, c->radius};
    } else if (const auto* p = dynamic_cast<const JPolyLine*>(item.get())) {
      for (const Point2d& v : p->vertices) numbers.insert(numbers.end(), {v.x, v.y});
    }
    out += "{\"";
    out += item->ClassName();
    out += "\":[";
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      if (k) out += ',';
      AppendNumber(out, numbers[k]);
    }
    out += "]}";
  }
  out += ']';
}

// Deepest bracket nesting outside strings.
int NestingDepth(std::string_view s) {
  int depth = 0, deepest = 0;
  bool inString = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char ch = s[i];
    if (inString) {
      if (ch == '\\') ++i;
      else if (ch == '"') inString = false;
    } else if (ch == '"') {
      inString = true;
    } else if (ch == '[' || ch == '{') {
      deepest = std::max(deepest, ++depth);
      if (deepest > kMaxDepth) return deepest;
    } else if (ch == ']' || ch == '}') {
      --depth;
    }
  }
  return deepest;
}

class Reader {
 public:
  explicit Reader(std::string& why) : why_(why) {}

  bool Fail(const std::string& reason) {
    why_ = reason;
    return false;
  }

  bool Int(const Json& v, int& out, const std::string& where) {
    if (!v.is_number_integer()) return Fail(where + ": expected an integer");
    const long long x = v.is_number_unsigned() && v.get<unsigned long long>() > std::numeric_limits<long long>::max()
                            ? std::numeric_limits<long long>::max()
                            : v.get<long long>();
    if (x < std::numeric_limits<int>::min() || x > std::numeric_limits<int>::max())
      return Fail(where + ": out of range");
    out = static_cast<int>(x);
    return true;
  }
  bool Double(const Json& v, double& out, const std::string& where) {
    if (!v.is_number()) return Fail(where + ": expected a number");
    out = v.get<double>();
    if (!std::isfinite(out)) return Fail(where + ": not a finite number");
    return true;
  }
  bool String(const Json& v, std::string& out, const std::string& where) {
    if (!v.is_string()) return Fail(where + ": expected a string");
    out = v.get_ref<const std::string&>();
    return true;
  }
  const Json* Member(const Json& obj, const char* key) {
    const auto it = obj.find(key);
    return it == obj.end() ? nullptr : &*it;
  }

  bool Sizes(const Json& j, const char* key, int keep, std::vector<double>& out) {
    const Json* v = Member(j, key);
    if (!v) return true;
    if (!v->is_array()) return Fail(std::string(key) + ": expected an array");
    for (std::size_t k = 0; k < v->size() && k < static_cast<std::size_t>(keep); ++k) {
      double d;
      if (!Double((*v)[k], d, std::string(key) + "[" + std::to_string(k) + "]")) return false;
      out.push_back(d);
    }
    return true;
  }

  // Spans whose line (nPlace) or start lies beyond the kept part cannot be pasted and are
  // dropped; a cell lies on at most one span of each kind, so more spans than cells is noise.
  bool Spans(const Json& j, const char* key, int placeLimit, int startLimit, std::vector<MergeSpan>& out) {
    const Json* v = Member(j, key);
    if (!v) return true;
    if (!v->is_array()) return Fail(std::string(key) + ": expected an array");
    const std::size_t cap = static_cast<std::size_t>(placeLimit) * static_cast<std::size_t>(startLimit);
    for (std::size_t k = 0; k < v->size(); ++k) {
      const std::string where = std::string(key) + "[" + std::to_string(k) + "]";
      const Json& s = (*v)[k];
      if (!s.is_array() || s.size() != 3) return Fail(where + ": expected [nPlace, nStart, nEnd]");
      MergeSpan span;
      if (!Int(s[0], span.nPlace, where) || !Int(s[1], span.nStart, where) || !Int(s[2], span.nEnd, where))
        return false;
      if (span.nPlace < 0 || span.nStart < 0 || span.nEnd < span.nStart) return Fail(where + ": not a span");
      if (span.nPlace >= placeLimit || span.nStart >= startLimit) continue;
      if (out.size() >= cap) return Fail(std::string(key) + ": more spans than cells");
      out.push_back(span);
    }
    return true;
  }

  bool Picture(const Json& v, CellImageList& out, const std::string& where) {
    if (!v.is_array()) return Fail(where + ": expected an array");
    if (v.size() > kMaxPrimitives) return Fail(where + ": too many primitives");
    for (std::size_t k = 0; k < v.size(); ++k) {
      const std::string at = where + "[" + std::to_string(k) + "]";
      const Json& item = v[k];
      if (!item.is_object() || item.size() != 1 || !item.begin()->is_array())
        return Fail(at + ": expected one primitive");
      const std::string& kind = item.begin().key();
      const Json& nums = item.begin().value();
      if (nums.size() > kMaxPolylineNumbers) return Fail(at + ": too many numbers");
      std::vector<double> n(nums.size());
      for (std::size_t i = 0; i < nums.size(); ++i)
        if (!Double(nums[i], n[i], at)) return false;
      if (kind == "JLine" && n.size() == 4) {
        out.Append(std::make_unique<JLine>(Point2d{n[0], n[1]}, Point2d{n[2], n[3]}));
      } else if (kind == "JCircle" && n.size() == 3) {
        out.Append(std::make_unique<JCircle>(Point2d{n[0], n[1]}, n[2]));
      } else if (kind == "JPolyLine" && n.size() % 2 == 0) {
        std::vector<Point2d> vertices;
        vertices.reserve(n.size() / 2);
        for (std::size_t i = 0; i < n.size(); i += 2) vertices.push_back({n[i], n[i + 1]});
        out.Append(std::make_unique<JPolyLine>(std::move(vertices)));
      } else if (kind == "JText" && n.empty()) {
        out.Append(std::make_unique<JText>());
      } else {
        return Fail(at + ": unknown primitive \"" + kind + "\" or wrong number count");
      }
    }
    out.Bounds();
    return true;
  }

  bool Cell(const Json& v, TableCell& c, const std::string& where) {
    if (!v.is_object()) return Fail(where + ": expected an object");
    const Json* m;
    if ((m = Member(v, "HorzMode")) && !Int(*m, c.HorzMode, where + ".HorzMode")) return false;
    if ((m = Member(v, "VertMode")) && !Int(*m, c.VertMode, where + ".VertMode")) return false;
    if ((m = Member(v, "strText")) && !String(*m, c.strText, where + ".strText")) return false;
    if ((m = Member(v, "dHeight")) && !Double(*m, c.dHeight, where + ".dHeight")) return false;
    if ((m = Member(v, "nType")) && !Int(*m, c.nType, where + ".nType")) return false;
    if ((m = Member(v, "dScael")) && !Double(*m, c.dScael, where + ".dScael")) return false;
    if ((m = Member(v, "sBlockName")) && !String(*m, c.sBlockName, where + ".sBlockName")) return false;
    if ((m = Member(v, "picture")) && !Picture(*m, c.picture, where + ".picture")) return false;
    return true;
  }

 private:
  std::string& why_;
};

bool Read(const Json& j, const ClipboardLimits& limits, TableData& t, Reader& in) {
  if (!j.is_object()) return in.Fail("expected a JSON object");
  int rows = 0, cols = 0;
  if (const Json* v = in.Member(j, "nRows"); !v || !in.Int(*v, rows, "nRows")) return v ? false : in.Fail("nRows: missing");
  if (const Json* v = in.Member(j, "nCols"); !v || !in.Int(*v, cols, "nCols")) return v ? false : in.Fail("nCols: missing");
  if (rows < 0) return in.Fail("nRows: negative");
  if (cols < 0) return in.Fail("nCols: negative");
  t.nRows = std::min(rows, std::max(limits.maxRows, 0));
  t.nCols = std::min(cols, std::max(limits.maxCols, 0));
  if (!in.Sizes(j, "RowHeights", t.nRows, t.RowHeights) || !in.Sizes(j, "ColWidths", t.nCols, t.ColWidths))
    return false;
  if (!in.Spans(j, "MergeRows", t.nRows, t.nCols, t.MergeRows) ||
      !in.Spans(j, "MergeCols", t.nCols, t.nRows, t.MergeCols))
    return false;
  const Json* cells = in.Member(j, "Cells");
  if (!cells) return true;
  if (!cells->is_array()) return in.Fail("Cells: expected an array");
  for (std::size_t i = 0; i < cells->size() && i < static_cast<std::size_t>(t.nRows); ++i) {
    const Json& row = (*cells)[i];
    const std::string where = "Cells[" + std::to_string(i) + "]";
    if (!row.is_array()) return in.Fail(where + ": expected an array");
    TableRow out;
    for (std::size_t k = 0; k < row.size() && k < static_cast<std::size_t>(t.nCols); ++k) {
      TableCell c;
      if (!in.Cell(row[k], c, where + "[" + std::to_string(k) + "]")) return false;
      out.cells.push_back(std::move(c));
    }
    t.rows.push_back(std::move(out));
  }
  return true;
}

}  // namespace

std::string TableToClipboardJson(const TableData& t) {
  std::string out;
  out.reserve(64 + static_cast<std::size_t>(std::max(t.nRows, 0)) * static_cast<std::size_t>(std::max(t.nCols, 0)) * 110);
  out += "{\"nRows\":";
  AppendInt(out, t.nRows);
  out += ",\"nCols\":";
  AppendInt(out, t.nCols);
  for (const auto& [key, sizes] : {std::pair{"RowHeights", &t.RowHeights}, std::pair{"ColWidths", &t.ColWidths}}) {
    out += ",\"";
    out += key;
    out += "\":[";
    for (std::size_t k = 0; k < sizes->size(); ++k) {
      if (k) out += ',';
      AppendNumber(out, (*sizes)[k]);
    }
    out += ']';
  }
  AppendSpans(out, "MergeRows", t.MergeRows);
  AppendSpans(out, "MergeCols", t.MergeCols);
  out += ",\"Cells\":[";
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    if (i) out += ',';
    out += '[';
    const auto& cells = t.rows[i].cells;
    for (std::size_t k = 0; k < cells.size(); ++k) {
      const TableCell& c = cells[k];
      if (k) out += ',';
      out += "{\"HorzMode\":";
      AppendInt(out, c.HorzMode);
      out += ",\"VertMode\":";
      AppendInt(out, c.VertMode);
      out += ",\"strText\":";
      AppendString(out, c.strText);
      out += ",\"dHeight\":";
      AppendNumber(out, c.dHeight);
      out += ",\"nType\":";
      AppendInt(out, c.nType);
      out += ",\"dScael\":";
      AppendNumber(out, c.dScael);
      out += ",\"sBlockName\":";
      AppendString(out, c.sBlockName);
      if (!c.picture.empty()) AppendPicture(out, c.picture);
      out += '}';
    }
    out += ']';
  }
  out += "]}";
  return out;
}

bool TableFromClipboardJson(std::string_view payload, const ClipboardLimits& limits, TableData& out,
                            std::string& why) {
  out = TableData{};
  Reader in(why);
  if (payload.size() > limits.maxBytes) return in.Fail("the payload is larger than " + std::to_string(limits.maxBytes) + " bytes");
  if (NestingDepth(payload) > kMaxDepth) return in.Fail("the payload nests too deeply");
  const Json j = Json::parse(payload.begin(), payload.end(), nullptr, false);
  if (j.is_discarded()) return in.Fail("the payload is not valid JSON");
  TableData t;
  if (!Read(j, limits, t, in)) return false;
  out = std::move(t);
  return true;
}

}  // namespace vex
