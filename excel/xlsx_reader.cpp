#include "excel/xlsx_reader.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>

#include "excel/number_format.h"
#include "excel/xml_part.h"
#include "model/table_limits.h"

namespace vex::excel {
namespace {

constexpr std::string_view kWorksheetType = "/worksheet";

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// The relationships of a part: id to target part, with their types.
struct Relationship {
  std::string type;
  std::string part;
};

std::string RelationshipsPartOf(std::string_view part) {
  const std::size_t slash = part.rfind('/');
  const std::string folder = slash == std::string_view::npos ? "" : std::string(part.substr(0, slash + 1));
  const std::string name(slash == std::string_view::npos ? part : part.substr(slash + 1));
  return folder + "_rels/" + name + ".rels";
}

ResultOr<std::map<std::string, Relationship>> ReadRelationships(ZipArchive& zip, std::string_view part) {
  std::map<std::string, Relationship> out;
  const std::string rels = RelationshipsPartOf(part);
  if (!zip.Has(rels)) return out;
  ResultOr<XmlPart> xml = ReadXmlPart(zip, rels);
  if (!xml) return xml.result();
  for (pugi::xml_node r = xml->root().first_child(); r; r = r.next_sibling()) {
    if (!Is(r, "Relationship") || std::string_view(r.attribute("TargetMode").value()) == "External") continue;
    const std::string target = ResolvePartName(part, r.attribute("Target").value());
    if (target.empty()) continue;  // it points outside the package
    out[r.attribute("Id").value()] = {r.attribute("Type").value(), target};
  }
  return out;
}

int HorizontalFrom(std::string_view v) {
  if (v == "left") return kXlLeft;
  if (v == "center" || v == "centerContinuous") return kXlCenter;
  if (v == "right") return kXlRight;
  if (v == "justify" || v == "distributed") return kXlJustify;
  if (v == "fill") return kXlFill;
  return kXlGeneral;
}

int VerticalFrom(std::string_view v) {
  if (v == "top") return kXlTop;
  if (v == "center") return kXlCenter;
  if (v == "justify" || v == "distributed") return kXlJustify;
  return kXlBottom;
}

// What the styles part says, as this system uses it.
struct Styles {
  std::vector<CellFormat> cellFormats;  // by xf index
  double defaultFontSize = 11;
};

ResultOr<Styles> ReadStyles(ZipArchive& zip, const std::string& part) {
  Styles out;
  out.cellFormats.push_back(CellFormat{});
  if (part.empty() || !zip.Has(part)) return out;
  ResultOr<XmlPart> xml = ReadXmlPart(zip, part);
  if (!xml) return xml.result();
  const pugi::xml_node root = xml->root();
  std::map<int, std::string> codes;
  for (pugi::xml_node f = Child(Child(root, "numFmts"), "numFmt"); f; f = f.next_sibling())
    if (Is(f, "numFmt")) codes[f.attribute("numFmtId").as_int()] = f.attribute("formatCode").value();
  std::vector<double> fontSizes;
  for (pugi::xml_node f = Child(Child(root, "fonts"), "font"); f; f = f.next_sibling())
    if (Is(f, "font")) {
      const double size = Attr(Child(f, "sz"), "val").as_double(11);
      fontSizes.push_back(size > 0 && size < 1000 ? size : 11);
    }
  if (!fontSizes.empty()) out.defaultFontSize = fontSizes[0];
  out.cellFormats.clear();
  for (pugi::xml_node x = Child(Child(root, "cellXfs"), "xf"); x; x = x.next_sibling()) {
    if (!Is(x, "xf")) continue;
    CellFormat f;
    const std::size_t font = x.attribute("fontId").as_uint(0);
    f.fontSize = font < fontSizes.size() ? fontSizes[font] : out.defaultFontSize;
    const int id = x.attribute("numFmtId").as_int(0);
    const auto code = codes.find(id);
    f.numberFormat = code != codes.end() ? code->second : std::string(BuiltInNumberFormat(id));
    const pugi::xml_node a = Child(x, "alignment");
    f.horizontal = HorizontalFrom(a.attribute("horizontal").value());
    f.vertical = VerticalFrom(a.attribute("vertical").value());
    f.wrap = a.attribute("wrapText").as_bool(false);
    out.cellFormats.push_back(std::move(f));
    if (out.cellFormats.size() > 1'000'000) return Result(ErrorCode::kTooLarge, "the workbook has too many cell formats");
  }
  if (out.cellFormats.empty()) out.cellFormats.push_back(CellFormat{});
  return out;
}

std::string TextOf(const pugi::xml_node& si) {
  // A plain string is one <t>; a rich one, runs <r> of <t>; phonetic runs <rPh> are not shown.
  std::string out;
  for (pugi::xml_node c = si.first_child(); c; c = c.next_sibling()) {
    if (Is(c, "t")) out += c.text().get();
    else if (Is(c, "r")) out += Child(c, "t").text().get();
  }
  return DecodeEscapes(out);
}

// A cell's place from its "r" attribute, or the next place in its row when it has none.
bool CellPlace(const pugi::xml_node& c, int row, int& col) {
  const pugi::xml_attribute r = c.attribute("r");
  if (!r) {
    ++col;
    return col <= kMaxSheetColumns;
  }
  int rr = 0;
  return ParseCellReference(r.value(), rr, col) && rr == row;
}

bool HasContent(const pugi::xml_node& c) {
  return Child(c, "v") || Child(c, "is") || Child(c, "f") || c.attribute("s").as_int(0) != 0;
}

class XlsxSource final : public WorkbookSource {
 public:
  XlsxSource(ZipArchive zip, std::vector<std::string> names, std::vector<std::string> parts, std::string strings,
             std::string styles, bool date1904)
      : zip_(std::move(zip)),
        names_(std::move(names)),
        parts_(std::move(parts)),
        stringsPart_(std::move(strings)),
        stylesPart_(std::move(styles)),
        date1904_(date1904),
        sheets_(names_.size()) {}

  const std::vector<std::string>& SheetNames() const override { return names_; }

  ResultOr<CellArea> UsedRange(int index) override {
    ResultOr<Sheet*> sheet = Load(index);
    if (!sheet) return sheet.result();
    return sheet.value()->used;
  }

  ResultOr<SheetData> ReadSheet(int index) override;

 private:
  // A sheet's parsed part and what a scan of it found.
  struct Sheet {
    XmlPart xml;
    CellArea used;
    std::vector<CellArea> merges;
  };

  ResultOr<Sheet*> Load(int index);
  Result LoadShared();

  ZipArchive zip_;
  std::vector<std::string> names_;
  std::vector<std::string> parts_;
  std::string stringsPart_;
  std::string stylesPart_;
  bool date1904_ = false;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  bool sharedLoaded_ = false;
  std::vector<std::string> strings_;
  Styles styles_;
};

ResultOr<XlsxSource::Sheet*> XlsxSource::Load(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= sheets_.size())
    return Result(ErrorCode::kNotFound, "the workbook has no sheet " + std::to_string(index + 1));
  std::unique_ptr<Sheet>& slot = sheets_[static_cast<std::size_t>(index)];
  if (slot) return slot.get();
  ResultOr<XmlPart> xml = ReadXmlPart(zip_, parts_[static_cast<std::size_t>(index)]);
  if (!xml) return xml.result();
  auto sheet = std::make_unique<Sheet>();
  sheet->xml = std::move(xml).value();
  const pugi::xml_node root = sheet->xml.root();
  CellArea used;
  int row = 0;
  for (pugi::xml_node r = Child(Child(root, "sheetData"), "row"); r; r = r.next_sibling()) {
    if (!Is(r, "row")) continue;
    row = r.attribute("r") ? r.attribute("r").as_int(0) : row + 1;
    if (row < 1 || row > kMaxSheetRows)
      return Result(ErrorCode::kMalformed, "a row of sheet \"" + names_[static_cast<std::size_t>(index)] +
                                               "\" has no valid number");
    int col = 0;
    int first = 0, last = 0;
    for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
      if (!Is(c, "c")) continue;
      if (!CellPlace(c, row, col))
        return Result(ErrorCode::kMalformed, "sheet \"" + names_[static_cast<std::size_t>(index)] +
                                                 "\" has a cell with a wrong reference \"" +
                                                 c.attribute("r").value() + "\"");
      if (!HasContent(c)) continue;
      if (first == 0 || col < first) first = col;
      if (col > last) last = col;
    }
    if (first) used = used.United(CellArea{row, first, 1, last - first + 1});
  }
  for (pugi::xml_node m = Child(Child(root, "mergeCells"), "mergeCell"); m; m = m.next_sibling()) {
    CellArea area;
    if (!Is(m, "mergeCell")) continue;
    if (!ParseAreaReference(m.attribute("ref").value(), area))
      return Result(ErrorCode::kMalformed, "sheet \"" + names_[static_cast<std::size_t>(index)] +
                                               "\" has a merged area with a wrong reference \"" +
                                               m.attribute("ref").value() + "\"");
    sheet->merges.push_back(area);
    used = used.United(area);
  }
  sheet->used = used;
  slot = std::move(sheet);
  return slot.get();
}

Result XlsxSource::LoadShared() {
  if (sharedLoaded_) return Result::Ok();
  if (!stringsPart_.empty() && zip_.Has(stringsPart_)) {
    ResultOr<XmlPart> xml = ReadXmlPart(zip_, stringsPart_);
    if (!xml) return xml.result();
    for (pugi::xml_node si = xml->root().first_child(); si; si = si.next_sibling())
      if (Is(si, "si")) strings_.push_back(TextOf(si));
  }
  ResultOr<Styles> styles = ReadStyles(zip_, stylesPart_);
  if (!styles) return styles.result();
  styles_ = std::move(styles).value();
  sharedLoaded_ = true;
  return Result::Ok();
}

ResultOr<SheetData> XlsxSource::ReadSheet(int index) {
  ResultOr<Sheet*> loaded = Load(index);
  if (!loaded) return loaded.result();
  Sheet& sheet = *loaded.value();
  if (const Result counts = CheckTableCounts(sheet.used.rows, sheet.used.cols); !counts) return counts;
  if (const Result shared = LoadShared(); !shared) return shared;
  const std::string& name = names_[static_cast<std::size_t>(index)];
  const pugi::xml_node root = sheet.xml.root();

  SheetData out;
  out.name = name;
  out.date1904 = date1904_;
  out.formats[0].fontSize = styles_.defaultFontSize;
  out.maxDigitWidth = MaxDigitWidthFor(styles_.defaultFontSize);
  const pugi::xml_node format = Child(root, "sheetFormatPr");
  const double defaultHeight = format.attribute("defaultRowHeight").as_double(0);
  out.defaultRowHeight = defaultHeight > 0 && defaultHeight < 1000 ? defaultHeight : DefaultRowHeightFor(styles_.defaultFontSize);
  const double defaultWidth = format.attribute("defaultColWidth").as_double(0);
  const double baseWidth = format.attribute("baseColWidth").as_double(8);
  out.defaultColumnWidth = defaultWidth > 0 && defaultWidth < 256
                               ? FileWidthToPoints(defaultWidth, out.maxDigitWidth)
                               : BaseWidthToPoints(baseWidth > 0 && baseWidth < 256 ? baseWidth : 8, out.maxDigitWidth);

  // Column ranges can run to the sheet's last column; only those of the used range are kept.
  const int lastCol = sheet.used.empty() ? 0 : sheet.used.lastCol();
  for (pugi::xml_node c = Child(Child(root, "cols"), "col"); c; c = c.next_sibling()) {
    if (!Is(c, "col")) continue;
    const int min = std::max(1, c.attribute("min").as_int(1));
    const int max = std::min(lastCol, c.attribute("max").as_int(min));
    const double points = c.attribute("hidden").as_bool(false)
                              ? 0
                              : c.attribute("width")
                                    ? FileWidthToPoints(c.attribute("width").as_double(0), out.maxDigitWidth)
                                    : out.defaultColumnWidth;
    for (int k = min; k <= max; ++k) out.SetColumnWidth(k, points);
  }

  std::vector<int> formatIndex(styles_.cellFormats.size(), -1);
  auto formatOf = [&](const pugi::xml_node& c) {
    const std::size_t s = c.attribute("s").as_uint(0);
    if (s == 0 || s >= styles_.cellFormats.size()) return 0;
    if (formatIndex[s] < 0) formatIndex[s] = out.FormatIndex(styles_.cellFormats[s]);
    return formatIndex[s];
  };
  // The sheet's own default is the workbook's first cell format.
  out.formats[0] = styles_.cellFormats[0];

  int row = 0;
  for (pugi::xml_node r = Child(Child(root, "sheetData"), "row"); r; r = r.next_sibling()) {
    if (!Is(r, "row")) continue;
    row = r.attribute("r") ? r.attribute("r").as_int(0) : row + 1;
    if (r.attribute("hidden").as_bool(false)) out.SetRowHeight(row, 0);
    else if (r.attribute("ht")) out.SetRowHeight(row, std::clamp(r.attribute("ht").as_double(0), 0.0, 409.5));
    int col = 0;
    for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
      if (!Is(c, "c")) continue;
      CellPlace(c, row, col);  // checked by the scan
      if (!HasContent(c)) continue;
      SheetCell& cell = out.At(row, col);
      cell.format = formatOf(c);
      const std::string_view type = c.attribute("t").value();
      const pugi::xml_node v = Child(c, "v");
      if (type == "inlineStr") {
        cell.kind = CellKind::kText;
        cell.text = TextOf(Child(c, "is"));
      } else if (!v || (*v.text().get() == '\0' && type != "str")) {
        cell.kind = CellKind::kEmpty;  // a formula without a cached value, or a styled blank
      } else if (type == "s") {
        const std::size_t k = v.text().as_uint(0);
        if (k >= strings_.size())
          return Result(ErrorCode::kMalformed, "sheet \"" + name + "\" names a shared string that does not exist");
        cell.kind = CellKind::kText;
        cell.text = strings_[k];
      } else if (type == "str" || type == "d") {
        cell.kind = CellKind::kText;
        cell.text = DecodeEscapes(v.text().get());
      } else if (type == "b") {
        cell.kind = CellKind::kBool;
        cell.number = v.text().as_int(0) != 0 ? 1 : 0;
      } else if (type == "e") {
        cell.kind = CellKind::kError;
        cell.text = v.text().get();
      } else {
        char* end = nullptr;
        const char* text = v.text().get();
        cell.number = std::strtod(text, &end);
        cell.kind = end != text && *end == '\0' ? CellKind::kNumber : CellKind::kText;
        if (cell.kind == CellKind::kText) cell.text = text;
      }
    }
  }
  for (const CellArea& m : sheet.merges)
    if (const Result added = out.AddMerge(m); !added) return added;
  return out;
}

}  // namespace

ResultOr<std::unique_ptr<WorkbookSource>> OpenXlsx(const std::string& path, const ReadLimits& limits) {
  ResultOr<ZipArchive> zip = ZipArchive::Open(path, limits);
  if (!zip) return zip.result();
  ResultOr<std::map<std::string, Relationship>> root = ReadRelationships(zip.value(), "");
  if (!root) return root.result();
  std::string workbookPart;
  for (const auto& [id, rel] : root.value())
    if (EndsWith(rel.type, "/officeDocument")) workbookPart = rel.part;
  if (workbookPart.empty() && zip->Has("xl/workbook.xml")) workbookPart = "xl/workbook.xml";
  if (workbookPart.empty() || !zip->Has(workbookPart))
    return Result(ErrorCode::kMalformed, "it is not a workbook (the package has no workbook part)");
  ResultOr<XmlPart> workbook = ReadXmlPart(zip.value(), workbookPart);
  if (!workbook) return workbook.result();
  ResultOr<std::map<std::string, Relationship>> rels = ReadRelationships(zip.value(), workbookPart);
  if (!rels) return rels.result();

  std::vector<std::string> names, parts;
  for (pugi::xml_node s = Child(Child(workbook->root(), "sheets"), "sheet"); s; s = s.next_sibling()) {
    if (!Is(s, "sheet")) continue;
    const auto rel = rels->find(Attr(s, "id").value());
    if (rel == rels->end() || !EndsWith(rel->second.type, kWorksheetType)) continue;
    if (!zip->Has(rel->second.part))
      return Result(ErrorCode::kMalformed, "the workbook's sheet \"" + std::string(s.attribute("name").value()) +
                                               "\" is missing from the package");
    names.emplace_back(s.attribute("name").value());
    parts.push_back(rel->second.part);
  }
  if (names.empty()) return Result(ErrorCode::kMalformed, "the workbook has no worksheet");
  std::string strings, styles;
  for (const auto& [id, rel] : rels.value()) {
    if (EndsWith(rel.type, "/sharedStrings")) strings = rel.part;
    if (EndsWith(rel.type, "/styles")) styles = rel.part;
  }
  const bool date1904 = Child(workbook->root(), "workbookPr").attribute("date1904").as_bool(false);
  return std::unique_ptr<WorkbookSource>(std::make_unique<XlsxSource>(std::move(zip).value(), std::move(names),
                                                                      std::move(parts), std::move(strings),
                                                                      std::move(styles), date1904));
}

}  // namespace vex::excel
