#include "files/table_xml.h"

#include <charconv>
#include <vector>

#include "model/table_limits.h"
#include "platform/atomic_file.h"
#include "platform/text_util.h"

namespace vex {
namespace {

// The index a generated name carries after its stem ("Height12" with stem "Height" is 12):
// only the digits std::to_string writes (no sign, no leading zero) below `limit`; -1 else.
long long IndexAfter(std::string_view name, std::string_view stem, long long limit) {
  if (name.size() <= stem.size() || name.substr(0, stem.size()) != stem) return -1;
  const std::string_view digits = name.substr(stem.size());
  if (digits.size() > 1 && digits[0] == '0') return -1;
  long long v = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (ec != std::errc() || end != digits.data() + digits.size() || v < 0 || v >= limit) return -1;
  return v;
}

// Whether the chain ends with `tail` below an element named `prefix`: the element a read of
// "prefix/tail..." finds, wherever the prefix element lies.
// An empty name in `tail` matches any name.
bool EndsWith(std::span<const std::string_view> chain, std::string_view prefix,
              std::initializer_list<std::string_view> tail) {
  if (chain.size() < tail.size() + 1) return false;
  std::size_t at = chain.size() - tail.size();
  if (chain[at - 1] != prefix) return false;
  for (const std::string_view name : tail) {
    if (!name.empty() && chain[at] != name) return false;
    ++at;
  }
  return true;
}

// The first value each key gets, in document order.
class FirstValues {
 public:
  explicit FirstValues(std::size_t slots) : set_(slots, false) {}
  // True the first time a slot is asked for.
  bool Take(std::size_t slot) {
    if (slot >= set_.size() || set_[slot]) return false;
    set_[slot] = true;
    return true;
  }

 private:
  std::vector<bool> set_;
};

struct Counts {
  int rows, cols, rowSpans = 0, colSpans = 0;
  bool prefixSeen = false;
};

Counts ReadCounts(const XmlStore& store, std::string_view prefix, const TableData& current) {
  Counts c{current.nRows, current.nCols};
  bool rows = false, cols = false, rowSpans = false, colSpans = false;
  store.ForEachElement([&](std::span<const std::string_view> chain, XmlStore::Element e) {
    c.prefixSeen = c.prefixSeen || chain.back() == prefix;
    const auto take = [&](bool& seen, int& into) {
      if (seen) return;
      seen = true;
      into = platform::ParseLeadingInt(e.Text());
    };
    if (EndsWith(chain, prefix, {"Rows"})) take(rows, c.rows);
    else if (EndsWith(chain, prefix, {"Cols"})) take(cols, c.cols);
    else if (EndsWith(chain, prefix, {"Merge", "Rows", "Count"})) take(rowSpans, c.rowSpans);
    else if (EndsWith(chain, prefix, {"Merge", "Cols", "Count"})) take(colSpans, c.colSpans);
    // Once each count has its first match, the rest of the document cannot change them.
    return !(rows && cols && rowSpans && colSpans);
  });
  return c;
}

// Sets a span member from an element named "<stem><k><member>".
void TakeSpanMember(std::string_view name, std::string_view stem, std::vector<MergeSpan>& spans,
                    FirstValues& seen, std::size_t slotBase, const XmlStore::Element& e) {
  static constexpr std::string_view kMembers[] = {"nPlace", "nStart", "nEnd"};
  for (int m = 0; m < 3; ++m) {
    const std::string_view member = kMembers[m];
    if (name.size() <= member.size() || name.substr(name.size() - member.size()) != member) continue;
    const long long k = IndexAfter(name.substr(0, name.size() - member.size()), stem,
                                   static_cast<long long>(spans.size()));
    if (k < 0 || !seen.Take(slotBase + static_cast<std::size_t>(k) * 3 + m)) return;
    const int v = platform::ParseLeadingInt(e.Text());
    MergeSpan& s = spans[static_cast<std::size_t>(k)];
    (m == 0 ? s.nPlace : m == 1 ? s.nStart : s.nEnd) = v;
    return;
  }
}

}  // namespace

Result ReadXmlTable(const XmlStore& store, std::string_view prefix, long long fileBytes, bool mustHoldPrefix,
                    TableData& t) {
  const Counts n = ReadCounts(store, prefix, t);
  if (mustHoldPrefix && !n.prefixSeen)
    return Result(ErrorCode::kWrongKind, "not a table file: it holds no <" + std::string(prefix) + "> element");
  if (auto claims = CheckTableClaims(n.rows, n.cols, n.rowSpans, n.colSpans, fileBytes); !claims) return claims;

  TableData r;
  r.nRows = n.rows;
  r.nCols = n.cols;
  r.RowHeights.assign(static_cast<std::size_t>(n.rows), 0.0);
  r.ColWidths.assign(static_cast<std::size_t>(n.cols), 0.0);
  r.MergeRows.assign(static_cast<std::size_t>(n.rowSpans), MergeSpan{});
  r.MergeCols.assign(static_cast<std::size_t>(n.colSpans), MergeSpan{});
  r.rows.assign(static_cast<std::size_t>(n.rows), TableRow{});
  for (TableRow& row : r.rows) row.cells.assign(static_cast<std::size_t>(n.cols), TableCell{});

  const std::span<const Field<TableCell>> fields = CellFields();
  const std::size_t cells = static_cast<std::size_t>(n.rows) * static_cast<std::size_t>(n.cols);
  const std::size_t heights = 0, widths = heights + r.RowHeights.size(), rowSpans = widths + r.ColWidths.size(),
                    colSpans = rowSpans + r.MergeRows.size() * 3, cellSlots = colSpans + r.MergeCols.size() * 3;
  FirstValues seen(cellSlots + cells * fields.size());

  store.ForEachElement([&](std::span<const std::string_view> chain, XmlStore::Element e) {
    const std::string_view name = chain.back();
    if (EndsWith(chain, prefix, {"Row", ""})) {
      const long long i = IndexAfter(name, "Height", n.rows);
      if (i >= 0 && seen.Take(heights + static_cast<std::size_t>(i)))
        r.RowHeights[static_cast<std::size_t>(i)] = platform::ParseLeadingDouble(e.Text());
    } else if (EndsWith(chain, prefix, {"Col", ""})) {
      const long long j = IndexAfter(name, "Width", n.cols);
      if (j >= 0 && seen.Take(widths + static_cast<std::size_t>(j)))
        r.ColWidths[static_cast<std::size_t>(j)] = platform::ParseLeadingDouble(e.Text());
    } else if (EndsWith(chain, prefix, {"Merge", ""})) {
      TakeSpanMember(name, "Rows", r.MergeRows, seen, rowSpans, e);
      TakeSpanMember(name, "Cols", r.MergeCols, seen, colSpans, e);
    } else if (EndsWith(chain, prefix, {"Grid", "Text", "", "", ""})) {
      const std::size_t depth = chain.size();
      const long long i = IndexAfter(chain[depth - 3], "Row", n.rows);
      const long long j = i < 0 ? -1 : IndexAfter(chain[depth - 2], "Col", n.cols);
      if (j < 0) return;
      for (std::size_t f = 0; f < fields.size(); ++f) {
        if (name != fields[f].key) continue;
        const std::size_t cell = static_cast<std::size_t>(i) * static_cast<std::size_t>(n.cols) + static_cast<std::size_t>(j);
        if (!seen.Take(cellSlots + cell * fields.size() + f)) return;
        TableCell& c = r.rows[static_cast<std::size_t>(i)].cells[static_cast<std::size_t>(j)];
        std::visit(
            [&](auto member) {
              auto& v = c.*member;
              using T = std::decay_t<decltype(v)>;
              if constexpr (std::is_same_v<T, int>) v = platform::ParseLeadingInt(e.Text());
              else if constexpr (std::is_same_v<T, double>) v = platform::ParseLeadingDouble(e.Text());
              else v = e.Text();
            },
            fields[f].member);
        return;
      }
    }
  });
  t = std::move(r);
  return {};
}

namespace {

// Text as the XML store's writer escapes it: &, < and > by name; control characters other
// than tab, line feed and carriage return as two-digit character references.
void AppendEscaped(std::string& out, std::string_view text) {
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c < 32 && c != '\t' && c != '\n' && c != '\r') {
      out += "&#";
      out += static_cast<char>('0' + c / 10);
      out += static_cast<char>('0' + c % 10);
      out += ';';
    } else {
      out += ch;
    }
  }
}

// Writes elements with tab indentation, as the store's writer lays them out.
class XmlStream {
 public:
  explicit XmlStream(platform::AtomicFileWriter& file) : file_(file) {}
  void Open(std::string_view name) {
    Indent();
    buffer_ += '<';
    buffer_ += name;
    buffer_ += ">\n";
    ++depth_;
  }
  void Close(std::string_view name) {
    --depth_;
    Indent();
    buffer_ += "</";
    buffer_ += name;
    buffer_ += ">\n";
    FlushSometimes();
  }
  void Leaf(std::string_view name, std::string_view text) {
    Indent();
    buffer_ += '<';
    buffer_ += name;
    if (text.empty()) {
      buffer_ += " />\n";
    } else {
      buffer_ += '>';
      AppendEscaped(buffer_, text);
      buffer_ += "</";
      buffer_ += name;
      buffer_ += ">\n";
    }
    FlushSometimes();
  }
  void Raw(std::string_view text) { buffer_ += text; }
  void Flush() {
    file_.Write(buffer_);
    buffer_.clear();
  }

 private:
  void Indent() { buffer_.append(depth_, '\t'); }
  void FlushSometimes() {
    if (buffer_.size() > (1u << 16)) Flush();
  }
  platform::AtomicFileWriter& file_;
  std::string buffer_;
  std::size_t depth_ = 0;
};

// A cell field's value as the store writes it: "%d", "%.6f" or the text.
struct FieldText {
  std::string operator()(int v) const { return platform::FormatInt(v); }
  std::string operator()(double v) const { return platform::FormatFixed(v, 6); }
  std::string operator()(const std::string& v) const { return v; }
};

void WriteSpans(XmlStream& x, std::string_view stem, const std::vector<MergeSpan>& spans) {
  x.Open(stem);
  x.Leaf("Count", platform::FormatInt(static_cast<long long>(spans.size())));
  x.Close(stem);
  for (std::size_t k = 0; k < spans.size(); ++k) {
    const std::string at = std::string(stem) + std::to_string(k);
    x.Leaf(at + "nPlace", platform::FormatInt(spans[k].nPlace));
    x.Leaf(at + "nStart", platform::FormatInt(spans[k].nStart));
    x.Leaf(at + "nEnd", platform::FormatInt(spans[k].nEnd));
  }
}

}  // namespace

bool CanStreamXmlTable(std::string_view prefix) {
  return XmlStore::IsElementName(prefix) && prefix.find('/') == std::string_view::npos;
}

Result WriteXmlTable(const TableData& t, std::string_view prefix, const std::string& path) {
  platform::AtomicFileWriter file(path);
  XmlStream x(file);
  x.Raw("<?xml version=\"1.0\"?>\n");
  x.Open("xmlRoot");
  x.Open(prefix);
  x.Leaf("Rows", platform::FormatInt(t.nRows));
  x.Leaf("Cols", platform::FormatInt(t.nCols));
  if (!t.RowHeights.empty()) {
    x.Open("Row");
    for (std::size_t i = 0; i < t.RowHeights.size(); ++i)
      x.Leaf("Height" + std::to_string(i), platform::FormatFixed(t.RowHeights[i], 6));
    x.Close("Row");
  }
  if (!t.ColWidths.empty()) {
    x.Open("Col");
    for (std::size_t j = 0; j < t.ColWidths.size(); ++j)
      x.Leaf("Width" + std::to_string(j), platform::FormatFixed(t.ColWidths[j], 6));
    x.Close("Col");
  }
  x.Open("Merge");
  WriteSpans(x, "Rows", t.MergeRows);
  WriteSpans(x, "Cols", t.MergeCols);
  x.Close("Merge");
  bool grid = false;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    if (t.rows[i].cells.empty()) continue;
    if (!grid) {
      x.Open("Grid");
      x.Open("Text");
      grid = true;
    }
    const std::string row = "Row" + std::to_string(i);
    x.Open(row);
    for (std::size_t j = 0; j < t.rows[i].cells.size(); ++j) {
      const std::string col = "Col" + std::to_string(j);
      x.Open(col);
      ForEachField(t.rows[i].cells[j], CellFields(),
                   [&](std::string_view key, const auto& value) { x.Leaf(key, FieldText{}(value)); });
      x.Close(col);
    }
    x.Close(row);
  }
  if (grid) {
    x.Close("Text");
    x.Close("Grid");
  }
  x.Close(prefix);
  x.Close("xmlRoot");
  x.Flush();
  return file.Commit();
}

}  // namespace vex
