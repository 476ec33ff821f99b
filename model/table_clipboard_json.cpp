#include "model/table_clipboard_json.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

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

// Builds the table straight from the parser's events: a payload of 100,000 cells is read
// several times faster than through a document tree, and nothing beyond the limits is kept.
class TableSax : public nlohmann::json_sax<Json> {
 public:
  TableSax(const ClipboardLimits& limits, std::string& why) : limits_(limits), why_(why) {}

  // The table once the payload was read; false with the reason when it is not a table.
  bool Finish(TableData& out) {
    if (failed_) return false;
    if (!sawRoot_) return Fail("expected a JSON object");
    if (!rows_) return Fail("nRows: missing");
    if (!cols_) return Fail("nCols: missing");
    if (*rows_ < 0) return Fail("nRows: negative");
    if (*cols_ < 0) return Fail("nCols: negative");
    t_.nRows = static_cast<int>(std::min<long long>(*rows_, std::max(limits_.maxRows, 0)));
    t_.nCols = static_cast<int>(std::min<long long>(*cols_, std::max(limits_.maxCols, 0)));
    if (t_.RowHeights.size() > static_cast<std::size_t>(t_.nRows)) t_.RowHeights.resize(static_cast<std::size_t>(t_.nRows));
    if (t_.ColWidths.size() > static_cast<std::size_t>(t_.nCols)) t_.ColWidths.resize(static_cast<std::size_t>(t_.nCols));
    if (t_.rows.size() > static_cast<std::size_t>(t_.nRows)) t_.rows.resize(static_cast<std::size_t>(t_.nRows));
    for (TableRow& row : t_.rows)
      if (row.cells.size() > static_cast<std::size_t>(t_.nCols)) row.cells.resize(static_cast<std::size_t>(t_.nCols));
    if (!KeepSpans("MergeRows", t_.MergeRows, t_.nRows, t_.nCols) ||
        !KeepSpans("MergeCols", t_.MergeCols, t_.nCols, t_.nRows))
      return false;
    out = std::move(t_);
    return true;
  }

  bool null() override { return Scalar(Value{}); }
  bool boolean(bool) override { return Scalar(Value{}); }
  bool number_integer(number_integer_t v) override { return Scalar(Value{Value::kInt, static_cast<double>(v), v}); }
  bool number_unsigned(number_unsigned_t v) override {
    const long long i = v > static_cast<number_unsigned_t>(std::numeric_limits<long long>::max())
                            ? std::numeric_limits<long long>::max()
                            : static_cast<long long>(v);
    return Scalar(Value{Value::kInt, static_cast<double>(v), i});
  }
  bool number_float(number_float_t v, const string_t&) override { return Scalar(Value{Value::kFloat, v, 0}); }
  bool string(string_t& v) override { return Scalar(Value{Value::kString, 0, 0, &v}); }
  bool binary(binary_t&) override { return Scalar(Value{}); }

  bool start_object(std::size_t) override {
    if (stack_.empty()) {
      if (sawRoot_) return Fail("expected one JSON object");
      sawRoot_ = true;
      return Push(Ctx::kRoot);
    }
    switch (Top().ctx) {
      case Ctx::kSkip: return Push(Ctx::kSkip);
      case Ctx::kRow: {
        const bool keep = t_.rows.back().cells.size() < static_cast<std::size_t>(std::max(limits_.maxCols, 0)) &&
                          cellsKept_ < limits_.maxCells;
        if (!keep) return Push(Ctx::kSkip);
        t_.rows.back().cells.emplace_back();
        ++cellsKept_;
        return Push(Ctx::kCell);
      }
      case Ctx::kRoot:
        if (key_ == "nRows" || key_ == "nCols") return Fail(key_ + ": expected an integer");
        if (key_ == "RowHeights" || key_ == "ColWidths" || key_ == "MergeRows" || key_ == "MergeCols" ||
            key_ == "Cells")
          return Fail(key_ + ": expected an array");
        return Push(Ctx::kSkip);
      case Ctx::kCell:
        if (key_ == "picture") return Fail(Where() + ".picture: expected an array");
        if (IsCellKey()) return Fail(Where() + "." + key_ + ": expected a " + CellKeyType());
        return Push(Ctx::kSkip);
      case Ctx::kPicture:
        if (picture_.size() >= kMaxPrimitives) return Fail(Where() + ": too many primitives");
        kind_.clear();
        numbers_.clear();
        return Push(Ctx::kItem);
      default: return Unexpected("an object");
    }
  }

  bool end_object() override {
    const Ctx ctx = Top().ctx;
    stack_.pop_back();
    if (ctx == Ctx::kCell) {
      TableCell& c = t_.rows.back().cells.back();
      c.picture = std::move(picture_);
      c.picture.Bounds();
      picture_ = CellImageList();
    } else if (ctx == Ctx::kItem) {
      return AddPrimitive();
    }
    if (!stack_.empty()) ++Top().index;
    return true;
  }

  bool key(string_t& k) override {
    key_ = k;
    if (Top().ctx == Ctx::kItem) {
      if (!kind_.empty()) return Fail(Where() + ": expected one primitive");
      kind_ = k;
    }
    return true;
  }

  bool start_array(std::size_t) override {
    if (stack_.empty()) return Fail("expected a JSON object");
    switch (Top().ctx) {
      case Ctx::kSkip: return Push(Ctx::kSkip);
      case Ctx::kRoot:
        if (key_ == "RowHeights") return Push(Ctx::kSizes, 0, &t_.RowHeights, limits_.maxRows);
        if (key_ == "ColWidths") return Push(Ctx::kSizes, 0, &t_.ColWidths, limits_.maxCols);
        if (key_ == "MergeRows") return Push(Ctx::kSpans, 0, nullptr, 0, &t_.MergeRows);
        if (key_ == "MergeCols") return Push(Ctx::kSpans, 0, nullptr, 0, &t_.MergeCols);
        if (key_ == "Cells") return Push(Ctx::kCells);
        if (key_ == "nRows" || key_ == "nCols") return Fail(key_ + ": expected an integer");
        return Push(Ctx::kSkip);
      case Ctx::kSpans:
        if (spansKept_ >= limits_.maxCells) return Fail(std::string(SpanKey()) + ": more spans than cells");
        span_.clear();
        return Push(Ctx::kSpan, Top().index, nullptr, 0, Top().spans);
      case Ctx::kCells:
        if (t_.rows.size() >= static_cast<std::size_t>(std::max(limits_.maxRows, 0))) return Push(Ctx::kSkip);
        t_.rows.emplace_back();
        return Push(Ctx::kRow, 0);
      case Ctx::kCell:
        if (key_ == "picture") return Push(Ctx::kPicture);
        if (IsCellKey()) return Fail(Where() + "." + key_ + ": expected a " + CellKeyType());
        return Push(Ctx::kSkip);
      case Ctx::kItem: return Push(Ctx::kNumbers);
      default: return Unexpected("an array");
    }
  }

  bool end_array() override {
    const Frame f = Top();
    stack_.pop_back();
    if (f.ctx == Ctx::kSpan) {
      const std::string where = std::string(SpanKey(f.spans)) + "[" + std::to_string(f.index) + "]";
      if (span_.size() != 3) return Fail(where + ": expected [nPlace, nStart, nEnd]");
      for (long long v : span_)
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return Fail(where + ": out of range");
      const MergeSpan s(static_cast<int>(span_[0]), static_cast<int>(span_[1]), static_cast<int>(span_[2]));
      if (s.nPlace < 0 || s.nStart < 0 || s.nEnd < s.nStart) return Fail(where + ": not a span");
      f.spans->push_back(s);
      ++spansKept_;
    }
    if (!stack_.empty() && f.ctx != Ctx::kNumbers) ++Top().index;
    return true;
  }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return Fail("the payload is not valid JSON");
  }

 private:
  enum class Ctx { kRoot, kSizes, kSpans, kSpan, kCells, kRow, kCell, kPicture, kItem, kNumbers, kSkip };
  struct Frame {
    Ctx ctx;
    int index = 0;  // elements seen so far
    std::vector<double>* sizes = nullptr;
    int keep = 0;
    std::vector<MergeSpan>* spans = nullptr;
  };
  struct Value {
    enum Kind { kOther, kInt, kFloat, kString } kind = kOther;
    double number = 0;
    long long integer = 0;
    std::string* text = nullptr;
  };

  Frame& Top() { return stack_.back(); }
  bool Push(Ctx ctx, int index = 0, std::vector<double>* sizes = nullptr, int keep = 0,
            std::vector<MergeSpan>* spans = nullptr) {
    stack_.push_back({ctx, index, sizes, keep, spans});
    return true;
  }
  bool Fail(const std::string& reason) {
    if (!failed_) why_ = reason;
    failed_ = true;
    return false;
  }
  bool Unexpected(const char* what) { return Fail(Where() + ": unexpected " + what); }

  const char* SpanKey(const std::vector<MergeSpan>* spans = nullptr) const {
    if (!spans) spans = stack_.back().spans;
    return spans == &t_.MergeRows ? "MergeRows" : "MergeCols";
  }
  bool IsCellKey() const {
    return key_ == "HorzMode" || key_ == "VertMode" || key_ == "nType" || key_ == "strText" || key_ == "sBlockName" ||
           key_ == "dHeight" || key_ == "dScael";
  }
  const char* CellKeyType() const {
    if (key_ == "strText" || key_ == "sBlockName") return "string";
    if (key_ == "dHeight" || key_ == "dScael") return "number";
    return "32-bit integer";
  }

  // Where the parser is, for messages: "Cells[2][5]" and the like.
  std::string Where() const {
    std::string w;
    for (const Frame& f : stack_) {
      if (f.ctx == Ctx::kRow) w = "Cells[" + std::to_string(t_.rows.size() - 1) + "]";
      if (f.ctx == Ctx::kCell) w += "[" + std::to_string(t_.rows.back().cells.size() - 1) + "]";
      if (f.ctx == Ctx::kPicture) w += ".picture[" + std::to_string(f.index) + "]";
    }
    return w.empty() ? "the payload" : w;
  }

  bool Scalar(const Value& v) {
    if (stack_.empty()) return Fail("expected a JSON object");
    Frame& f = Top();
    switch (f.ctx) {
      case Ctx::kSkip: return true;
      case Ctx::kRoot:
        if (key_ == "nRows" || key_ == "nCols") {
          if (v.kind != Value::kInt) return Fail(key_ + ": expected an integer");
          if (v.integer < std::numeric_limits<int>::min() || v.integer > std::numeric_limits<int>::max())
            return Fail(key_ + ": out of range");
          (key_ == "nRows" ? rows_ : cols_) = v.integer;
          return true;
        }
        if (key_ == "RowHeights" || key_ == "ColWidths" || key_ == "MergeRows" || key_ == "MergeCols" || key_ == "Cells")
          return Fail(key_ + ": expected an array");
        return true;
      case Ctx::kSizes: {
        const std::string where = std::string(f.sizes == &t_.RowHeights ? "RowHeights" : "ColWidths") + "[" +
                                  std::to_string(f.index) + "]";
        if (v.kind != Value::kInt && v.kind != Value::kFloat) return Fail(where + ": expected a number");
        if (!std::isfinite(v.number)) return Fail(where + ": not a finite number");
        if (f.index++ < f.keep) f.sizes->push_back(v.number);
        return true;
      }
      case Ctx::kSpans:
        return Fail(std::string(SpanKey()) + "[" + std::to_string(f.index) + "]: expected [nPlace, nStart, nEnd]");
      case Ctx::kSpan:
        if (v.kind != Value::kInt || span_.size() >= 3)
          return Fail(std::string(SpanKey()) + "[" + std::to_string(f.index) + "]: expected [nPlace, nStart, nEnd]");
        span_.push_back(v.integer);
        return true;
      case Ctx::kCell: return CellValue(v);
      case Ctx::kNumbers:
        if (v.kind != Value::kInt && v.kind != Value::kFloat) return Fail(Where() + ": expected a number");
        if (!std::isfinite(v.number)) return Fail(Where() + ": not a finite number");
        if (numbers_.size() >= kMaxPolylineNumbers) return Fail(Where() + ": too many numbers");
        numbers_.push_back(v.number);
        return true;
      case Ctx::kCells: return Fail("Cells[" + std::to_string(f.index) + "]: expected an array");
      case Ctx::kRow:
        return Fail("Cells[" + std::to_string(t_.rows.size() - 1) + "][" + std::to_string(f.index) +
                    "]: expected an object");
      default: return Unexpected("a value");
    }
  }

  bool CellValue(const Value& v) {
    TableCell& c = t_.rows.back().cells.back();
    const auto asInt = [&](int& out) {
      if (v.kind != Value::kInt || v.integer < std::numeric_limits<int>::min() ||
          v.integer > std::numeric_limits<int>::max())
        return Fail(Where() + "." + key_ + ": expected a 32-bit integer");
      out = static_cast<int>(v.integer);
      return true;
    };
    const auto asNumber = [&](double& out) {
      if ((v.kind != Value::kInt && v.kind != Value::kFloat) || !std::isfinite(v.number))
        return Fail(Where() + "." + key_ + ": expected a number");
      out = v.number;
      return true;
    };
    const auto asString = [&](std::string& out) {
      if (v.kind != Value::kString) return Fail(Where() + "." + key_ + ": expected a string");
      out = std::move(*v.text);
      return true;
    };
    if (key_ == "HorzMode") return asInt(c.HorzMode);
    if (key_ == "VertMode") return asInt(c.VertMode);
    if (key_ == "nType") return asInt(c.nType);
    if (key_ == "strText") return asString(c.strText);
    if (key_ == "sBlockName") return asString(c.sBlockName);
    if (key_ == "dHeight") return asNumber(c.dHeight);
    if (key_ == "dScael") return asNumber(c.dScael);
    if (key_ == "picture") return Fail(Where() + ".picture: expected an array");
    return true;
  }

  bool AddPrimitive() {
    const std::vector<double>& n = numbers_;
    if (kind_ == "JLine" && n.size() == 4) {
      picture_.Append(std::make_unique<JLine>(Point2d{n[0], n[1]}, Point2d{n[2], n[3]}));
    } else if (kind_ == "JCircle" && n.size() == 3) {
      picture_.Append(std::make_unique<JCircle>(Point2d{n[0], n[1]}, n[2]));
    } else if (kind_ == "JPolyLine" && n.size() % 2 == 0) {
      std::vector<Point2d> vertices;
      vertices.reserve(n.size() / 2);
      for (std::size_t i = 0; i < n.size(); i += 2) vertices.push_back({n[i], n[i + 1]});
      picture_.Append(std::make_unique<JPolyLine>(std::move(vertices)));
    } else if (kind_ == "JText" && n.empty()) {
      picture_.Append(std::make_unique<JText>());
    } else {
      return Fail(Where() + ": unknown primitive \"" + kind_ + "\" or wrong number count");
    }
    ++Top().index;
    return true;
  }

  // Spans whose line (nPlace) or start lies beyond the kept part cannot be pasted and are
  // dropped; a cell lies on at most one span of each kind, so more spans than cells is noise.
  bool KeepSpans(const char* key, std::vector<MergeSpan>& spans, int placeLimit, int startLimit) {
    std::vector<MergeSpan> kept;
    const std::size_t cap = static_cast<std::size_t>(placeLimit) * static_cast<std::size_t>(startLimit);
    for (const MergeSpan& s : spans) {
      if (s.nPlace >= placeLimit || s.nStart >= startLimit) continue;
      if (kept.size() >= cap) return Fail(std::string(key) + ": more spans than cells");
      kept.push_back(s);
    }
    spans = std::move(kept);
    return true;
  }

  const ClipboardLimits& limits_;
  std::string& why_;
  bool failed_ = false;
  bool sawRoot_ = false;
  std::vector<Frame> stack_;
  std::string key_;
  std::optional<long long> rows_, cols_;
  TableData t_;
  int cellsKept_ = 0;
  int spansKept_ = 0;
  std::vector<long long> span_;
  CellImageList picture_;
  std::string kind_;
  std::vector<double> numbers_;
};

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
  if (payload.size() > limits.maxBytes) {
    why = "the payload is larger than " + std::to_string(limits.maxBytes) + " bytes";
    return false;
  }
  if (NestingDepth(payload) > kMaxDepth) {
    why = "the payload nests too deeply";
    return false;
  }
  TableSax sax(limits, why);
  Json::sax_parse(payload.begin(), payload.end(), &sax);
  return sax.Finish(out);
}

}  // namespace vex
