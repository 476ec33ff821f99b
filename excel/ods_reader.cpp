#include "excel/ods_reader.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "excel/xml_part.h"
#include "model/table_limits.h"

namespace vex::excel {
namespace {

// The style properties this system reads, each optional so that a style inherits what it
// does not set from its parent.
struct OdsStyle {
  std::string parent;
  std::optional<double> fontSize, columnWidth, rowHeight;
  std::optional<int> horizontal, vertical;
  std::optional<bool> wrap;
};

using StyleMap = std::map<std::string, OdsStyle, std::less<>>;

void ReadStyles(const pugi::xml_node& container, StyleMap& styles, StyleMap* defaults) {
  for (pugi::xml_node s = container.first_child(); s; s = s.next_sibling()) {
    const bool isDefault = Is(s, "default-style");
    if (!Is(s, "style") && !isDefault) continue;
    OdsStyle st;
    st.parent = Attr(s, "parent-style-name").value();
    for (pugi::xml_node p = s.first_child(); p; p = p.next_sibling()) {
      if (Is(p, "text-properties")) {
        if (auto v = OdfLengthToPoints(Attr(p, "font-size").value())) st.fontSize = v;
      } else if (Is(p, "paragraph-properties")) {
        const std::string_view a = Attr(p, "text-align").value();
        if (a == "start" || a == "left") st.horizontal = kXlLeft;
        else if (a == "center") st.horizontal = kXlCenter;
        else if (a == "end" || a == "right") st.horizontal = kXlRight;
        else if (a == "justify") st.horizontal = kXlJustify;
      } else if (Is(p, "table-cell-properties")) {
        const std::string_view a = Attr(p, "vertical-align").value();
        if (a == "top") st.vertical = kXlTop;
        else if (a == "middle") st.vertical = kXlCenter;
        else if (a == "bottom") st.vertical = kXlBottom;
        const std::string_view w = Attr(p, "wrap-option").value();
        if (!w.empty()) st.wrap = w == "wrap";
      } else if (Is(p, "table-column-properties")) {
        if (auto v = OdfLengthToPoints(Attr(p, "column-width").value())) st.columnWidth = v;
      } else if (Is(p, "table-row-properties")) {
        if (auto v = OdfLengthToPoints(Attr(p, "row-height").value())) st.rowHeight = v;
      }
    }
    if (isDefault) {
      if (defaults) (*defaults)[Attr(s, "family").value()] = st;
    } else {
      styles[Attr(s, "name").value()] = st;
    }
  }
}

// The text of a paragraph: spans, spaces (<text:s text:c="n"/>), tabs and line breaks.
void AppendParagraph(const pugi::xml_node& p, std::string& out) {
  for (pugi::xml_node n = p.first_child(); n; n = n.next_sibling()) {
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
      out += n.value();
    } else if (Is(n, "s")) {
      out.append(static_cast<std::size_t>(std::clamp(Attr(n, "c").as_int(1), 1, 1000)), ' ');
    } else if (Is(n, "tab")) {
      out += '\t';
    } else if (Is(n, "line-break")) {
      out += '\n';
    } else if (!Is(n, "annotation")) {
      AppendParagraph(n, out);
    }
  }
}

bool CellHasContent(const pugi::xml_node& c) {
  return Attr(c, "value-type") || Child(c, "p") || Attr(c, "number-columns-spanned").as_int(1) > 1 ||
         Attr(c, "number-rows-spanned").as_int(1) > 1;
}

// Rows of a table, also those inside header rows and row groups.
template <class F>
bool ForEachRow(const pugi::xml_node& parent, F&& f) {
  for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling()) {
    if (Is(n, "table-row")) {
      if (!f(n)) return false;
    } else if (Is(n, "table-header-rows") || Is(n, "table-rows") || Is(n, "table-row-group")) {
      if (!ForEachRow(n, f)) return false;
    }
  }
  return true;
}

template <class F>
void ForEachColumn(const pugi::xml_node& parent, F&& f) {
  for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling()) {
    if (Is(n, "table-column")) f(n);
    else if (Is(n, "table-header-columns") || Is(n, "table-columns") || Is(n, "table-column-group")) ForEachColumn(n, f);
  }
}

int Repeat(const pugi::xml_node& n, std::string_view attr) {
  return std::clamp(Attr(n, attr).as_int(1), 1, kMaxSheetRows);
}

class OdsSource final : public WorkbookSource {
 public:
  OdsSource(XmlPart content, StyleMap styles, StyleMap defaults, std::vector<pugi::xml_node> tables)
      : content_(std::move(content)), styles_(std::move(styles)), defaults_(std::move(defaults)), tables_(std::move(tables)) {
    for (const pugi::xml_node& t : tables_) names_.emplace_back(Attr(t, "name").value());
  }

  const std::vector<std::string>& SheetNames() const override { return names_; }
  ResultOr<CellArea> UsedRange(int index) override;
  ResultOr<SheetData> ReadSheet(int index) override;

 private:
  // A property through the style's parents, then the family's default; nullopt when none.
  template <class T>
  std::optional<T> Find(std::string_view name, std::optional<T> OdsStyle::*member, std::string_view family) const {
    for (int depth = 0; depth < 16 && !name.empty(); ++depth) {
      const auto it = styles_.find(name);
      if (it == styles_.end()) break;
      if (it->second.*member) return it->second.*member;
      name = it->second.parent;
    }
    const auto d = defaults_.find(family);
    if (d != defaults_.end() && d->second.*member) return d->second.*member;
    return std::nullopt;
  }

  XmlPart content_;
  StyleMap styles_;
  StyleMap defaults_;
  std::vector<pugi::xml_node> tables_;
  std::vector<std::string> names_;
};

ResultOr<CellArea> OdsSource::UsedRange(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= tables_.size())
    return Result(ErrorCode::kNotFound, "the workbook has no sheet " + std::to_string(index + 1));
  CellArea used;
  long long row = 1;
  ForEachRow(tables_[static_cast<std::size_t>(index)], [&](const pugi::xml_node& r) {
    const int rows = Repeat(r, "number-rows-repeated");
    long long col = 1;
    for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
      if (!Is(c, "table-cell") && !Is(c, "covered-table-cell")) continue;
      const int cols = Repeat(c, "number-columns-repeated");
      if (Is(c, "table-cell") && CellHasContent(c) && row <= kMaxSheetRows && col <= kMaxSheetColumns) {
        const long long spanRows = std::max(1, Attr(c, "number-rows-spanned").as_int(1));
        const long long spanCols = std::max(1, Attr(c, "number-columns-spanned").as_int(1));
        const long long lastRow = std::min<long long>(kMaxSheetRows, row + rows - 1 + spanRows - 1);
        const long long lastCol = std::min<long long>(kMaxSheetColumns, col + cols - 1 + spanCols - 1);
        used = used.United(CellArea::FromCorners(static_cast<int>(row), static_cast<int>(col),
                                                 static_cast<int>(lastRow), static_cast<int>(lastCol)));
      }
      col += cols;
    }
    row += rows;
    return row <= kMaxSheetRows;
  });
  return used;
}

ResultOr<SheetData> OdsSource::ReadSheet(int index) {
  ResultOr<CellArea> usedOr = UsedRange(index);
  if (!usedOr) return usedOr.result();
  const CellArea used = usedOr.value();
  if (const Result counts = CheckTableCounts(used.rows, used.cols); !counts) return counts;
  const pugi::xml_node table = tables_[static_cast<std::size_t>(index)];

  SheetData out;
  out.name = names_[static_cast<std::size_t>(index)];
  const double defaultFont = Find<double>("Default", &OdsStyle::fontSize, "table-cell").value_or(10);
  out.formats[0].fontSize = defaultFont;
  out.maxDigitWidth = MaxDigitWidthFor(defaultFont);
  out.defaultRowHeight = Find<double>("", &OdsStyle::rowHeight, "table-row").value_or(DefaultRowHeightFor(defaultFont));
  out.defaultColumnWidth = Find<double>("", &OdsStyle::columnWidth, "table-column").value_or(BaseWidthToPoints(8, out.maxDigitWidth));

  std::vector<std::string> columnCellStyles;  // the default cell style of each used column
  {
    int col = 1;
    ForEachColumn(table, [&](const pugi::xml_node& c) {
      const int n = Repeat(c, "number-columns-repeated");
      const std::string_view style = Attr(c, "style-name").value();
      const std::string_view cellStyle = Attr(c, "default-cell-style-name").value();
      const std::optional<double> width = Find<double>(style, &OdsStyle::columnWidth, "table-column");
      const bool hidden = std::string_view(Attr(c, "visibility").value()) == "collapse";
      for (int k = 0; k < n && col <= used.lastCol(); ++k, ++col) {
        if (width || hidden) out.SetColumnWidth(col, hidden ? 0 : *width);
        if (col >= used.col) {
          columnCellStyles.resize(static_cast<std::size_t>(col - used.col + 1));
          columnCellStyles.back() = std::string(cellStyle);
        }
      }
    });
  }

  std::map<std::string, int, std::less<>> formatOfStyle;
  auto formatFor = [&](std::string_view style) {
    if (style.empty()) return 0;
    const auto it = formatOfStyle.find(style);
    if (it != formatOfStyle.end()) return it->second;
    CellFormat f = out.formats[0];
    f.fontSize = Find<double>(style, &OdsStyle::fontSize, "table-cell").value_or(defaultFont);
    f.horizontal = Find<int>(style, &OdsStyle::horizontal, "table-cell").value_or(kXlGeneral);
    f.vertical = Find<int>(style, &OdsStyle::vertical, "table-cell").value_or(kXlBottom);
    f.wrap = Find<bool>(style, &OdsStyle::wrap, "table-cell").value_or(false);
    const int k = out.FormatIndex(f);
    formatOfStyle.emplace(std::string(style), k);
    return k;
  };

  Result failure;
  long long row = 1;
  ForEachRow(table, [&](const pugi::xml_node& r) {
    const int rows = Repeat(r, "number-rows-repeated");
    if (row > used.lastRow()) return false;
    const std::optional<double> height = Find<double>(Attr(r, "style-name").value(), &OdsStyle::rowHeight, "table-row");
    const bool hidden = std::string_view(Attr(r, "visibility").value()) == "collapse";
    const std::string_view rowCellStyle = Attr(r, "default-cell-style-name").value();
    for (long long k = 0; k < rows && row + k <= used.lastRow(); ++k)
      if (height || hidden) out.SetRowHeight(static_cast<int>(row + k), hidden ? 0 : *height);
    if (row + rows - 1 >= used.row) {
      long long col = 1;
      for (pugi::xml_node c = r.first_child(); c && col <= used.lastCol(); c = c.next_sibling()) {
        const bool covered = Is(c, "covered-table-cell");
        if (!Is(c, "table-cell") && !covered) continue;
        const int cols = Repeat(c, "number-columns-repeated");
        if (!covered && CellHasContent(c)) {
          std::string_view style = Attr(c, "style-name").value();
          if (style.empty()) style = rowCellStyle;
          std::string text;
          bool firstParagraph = true;
          for (pugi::xml_node p = c.first_child(); p; p = p.next_sibling()) {
            if (!Is(p, "p")) continue;
            if (!firstParagraph) text += '\n';
            AppendParagraph(p, text);
            firstParagraph = false;
          }
          const std::string_view type = Attr(c, "value-type").value();
          const int spanRows = std::max(1, Attr(c, "number-rows-spanned").as_int(1));
          const int spanCols = std::max(1, Attr(c, "number-columns-spanned").as_int(1));
          for (long long dr = 0; dr < rows && row + dr <= used.lastRow(); ++dr)
            for (long long dc = 0; dc < cols && col + dc <= used.lastCol(); ++dc) {
              const int rr = static_cast<int>(row + dr), cc = static_cast<int>(col + dc);
              std::string_view cellStyle = style;
              if (cellStyle.empty() && cc >= used.col && static_cast<std::size_t>(cc - used.col) < columnCellStyles.size())
                cellStyle = columnCellStyles[static_cast<std::size_t>(cc - used.col)];
              SheetCell& cell = out.At(rr, cc);
              cell.format = formatFor(cellStyle);
              cell.kind = type.empty() && text.empty() ? CellKind::kEmpty : CellKind::kText;
              cell.text = text;
              if (type == "float" || type == "percentage" || type == "currency")
                cell.number = Attr(c, "value").as_double(0);
              if (spanRows > 1 || spanCols > 1)
                if (Result m = out.AddMerge(CellArea{rr, cc, spanRows, spanCols}); !m) {
                  failure = m;
                  return false;
                }
            }
        }
        col += cols;
      }
    }
    row += rows;
    return true;
  });
  if (!failure.ok()) return failure;
  return out;
}

}  // namespace

std::optional<double> OdfLengthToPoints(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::string s(text);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  const std::string_view unit(end);
  double points = 0;
  if (unit == "pt") points = v;
  else if (unit == "cm") points = v / 2.54 * 72;
  else if (unit == "mm") points = v / 25.4 * 72;
  else if (unit == "in") points = v * 72;
  else if (unit == "pc") points = v * 12;
  else if (unit == "px") points = v * 0.75;
  else return std::nullopt;
  if (!(points >= 0) || points > 1e5) return std::nullopt;
  return points;
}

ResultOr<std::unique_ptr<WorkbookSource>> OpenOds(const std::string& path, const ReadLimits& limits) {
  ResultOr<ZipArchive> zip = ZipArchive::Open(path, limits);
  if (!zip) return zip.result();
  if (!zip->Has("content.xml")) return Result(ErrorCode::kMalformed, "it is not a workbook (the package has no content.xml)");
  StyleMap styles, defaults;
  if (zip->Has("styles.xml")) {
    ResultOr<XmlPart> common = ReadXmlPart(zip.value(), "styles.xml");
    if (!common) return common.result();
    ReadStyles(Child(common->root(), "styles"), styles, &defaults);
  }
  ResultOr<XmlPart> content = ReadXmlPart(zip.value(), "content.xml");
  if (!content) return content.result();
  ReadStyles(Child(content->root(), "automatic-styles"), styles, &defaults);
  std::vector<pugi::xml_node> tables;
  const pugi::xml_node sheets = Child(Child(content->root(), "body"), "spreadsheet");
  for (pugi::xml_node t = sheets.first_child(); t; t = t.next_sibling())
    if (Is(t, "table")) tables.push_back(t);
  if (tables.empty()) return Result(ErrorCode::kMalformed, "the workbook has no sheet");
  return std::unique_ptr<WorkbookSource>(
      std::make_unique<OdsSource>(std::move(content).value(), std::move(styles), std::move(defaults), std::move(tables)));
}

}  // namespace vex::excel
