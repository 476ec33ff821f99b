// Multiline text: its plain lines, the single-line texts it shows, extents and transforms.

#include <cmath>
#include <numbers>

#include "cadhost/db/geom_util.h"
#include "cadhost/db/object_access.h"
#include "cadhost/sdk/dbents.h"
#include "cadhost/sdk/text_metrics.h"

CADHOST_DEFINE_MEMBERS(AcDbMText, AcDbEntity)

namespace {

// The byte length of the UTF-8 sequence that starts with `b` (1 for malformed bytes).
std::size_t SequenceLength(unsigned char b) {
  return b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
}

// The argument of an inline code that runs to the next ';' (font, height, colour, ...): the
// position after the ';', or the end when there is none.
std::size_t SkipToSemicolon(std::string_view s, std::size_t i) {
  const std::size_t semi = s.find(';', i);
  return semi == std::string_view::npos ? s.size() : semi + 1;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// "\S...;" from just after the 'S': the fraction as plain text, and the position after it.
// "a/b" and the diagonal "a#b" read "a/b"; "a^b" (one above the other, no bar) reads "a b".
std::size_t Stacked(std::string_view s, std::size_t i, std::string& out) {
  std::string upper, lower;
  char kind = 0;
  for (; i < s.size() && s[i] != ';'; ++i) {
    char c = s[i];
    if (c == '\\' && i + 1 < s.size()) c = s[++i];
    else if (kind == 0 && (c == '/' || c == '#' || c == '^')) {
      kind = c;
      continue;
    }
    (kind == 0 ? upper : lower) += c;
  }
  if (kind == '^') out.append(Trimmed(upper)).append(" ").append(Trimmed(lower));
  else if (kind != 0) out.append(upper).append("/").append(lower);
  else out.append(upper);
  return i < s.size() ? i + 1 : i;
}

// Where a line may break: the byte positions at which a new piece of a paragraph starts (after
// blanks, and around wide characters, which break anywhere).
struct Piece {
  std::string_view lead;  // blanks before the piece
  std::string_view body;
};

std::vector<Piece> BreakPieces(std::string_view p) {
  std::vector<Piece> out;
  std::size_t i = 0;
  while (i < p.size()) {
    const std::size_t leadStart = i;
    while (i < p.size() && p[i] == ' ') ++i;
    const std::size_t bodyStart = i;
    while (i < p.size() && p[i] != ' ') {
      const std::size_t len = std::min(SequenceLength(static_cast<unsigned char>(p[i])), p.size() - i);
      const std::u32string c = cadhost::DisplayCharacters(p.substr(i, len));
      const bool wide = !c.empty() && cadhost::IsWideCharacter(c.front());
      if (wide && i > bodyStart) break;  // a wide character starts a piece of its own
      i += len;
      if (wide) break;
    }
    out.push_back({p.substr(leadStart, bodyStart - leadStart), p.substr(bodyStart, i - bodyStart)});
  }
  return out;
}

// A paragraph broken into lines no wider than `width` at `height` (a piece wider than that
// keeps a line of its own).
void Wrap(std::string_view paragraph, double width, double height, std::vector<std::string>& lines) {
  if (width <= 0.0 || cadhost::TextAdvance(paragraph, height, 1.0) <= width) {
    lines.emplace_back(paragraph);
    return;
  }
  std::string line;
  for (const Piece& piece : BreakPieces(paragraph)) {
    std::string candidate = line;
    candidate.append(piece.lead).append(piece.body);
    if (!line.empty() && cadhost::TextAdvance(candidate, height, 1.0) > width * (1 + 1e-12)) {
      lines.push_back(std::move(line));
      line = std::string(piece.body);
    } else {
      line = std::move(candidate);
    }
  }
  lines.push_back(std::move(line));
}

struct Frame {
  AcGeVector3d dir;  // along the lines
  AcGeVector3d up;
};

Frame FrameOf(double rotation, const AcGeVector3d& normal) {
  const AcGeMatrix3d ocs = acgeOcsToWcs(normal);
  const AcGeVector3d ax(ocs.entry[0][0], ocs.entry[1][0], ocs.entry[2][0]);
  const AcGeVector3d ay(ocs.entry[0][1], ocs.entry[1][1], ocs.entry[2][1]);
  const double c = std::cos(rotation), s = std::sin(rotation);
  return {ax * c + ay * s, ay * c - ax * s};
}

}  // namespace

std::vector<std::string> acdbMTextParagraphs(std::string_view s) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (c == '{' || c == '}') {
      ++i;
      continue;
    }
    if (c == '\n') {
      out.emplace_back();
      ++i;
      continue;
    }
    if (c == '\r') {
      ++i;
      continue;
    }
    if (c == '^' && i + 1 < s.size()) {  // caret notation of control characters
      const char n = s[i + 1];
      if (n == 'I' || n == 'J' || n == 'M' || n == ' ') {
        if (n == 'I') out.back() += ' ';
        if (n == 'J') out.emplace_back();
        if (n == ' ') out.back() += '^';
        i += 2;
        continue;
      }
    }
    if (c != '\\' || i + 1 >= s.size()) {
      out.back() += c;
      ++i;
      continue;
    }
    const char code = s[i + 1];
    switch (code) {
      case 'P': case 'N':
        out.emplace_back();
        i += 2;
        break;
      case '~':
        out.back() += ' ';
        i += 2;
        break;
      case '\\': case '{': case '}':
        out.back() += code;
        i += 2;
        break;
      case 'L': case 'l': case 'O': case 'o': case 'K': case 'k': case 'X':
        i += 2;
        break;
      case 'S':
        i = Stacked(s, i + 2, out.back());
        break;
      case 'f': case 'F': case 'H': case 'W': case 'Q': case 'T': case 'A': case 'C': case 'c':
      case 'p':
        i = SkipToSemicolon(s, i + 2);
        break;
      default:
        // Not a formatting code (an escape left as written, "\U+0000" for one): shown as is.
        out.back() += c;
        ++i;
        break;
    }
  }
  return out;
}

Acad::ErrorStatus AcDbMText::setContents(const ACHAR* text) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_contents = text != nullptr ? text : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setLocation(const AcGePoint3d& p) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return Acad::eInvalidInput;
  m_location = p;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setAttachment(AttachmentPoint a) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (a < kTopLeft || a > kBottomRight) return Acad::eInvalidInput;
  m_attachment = a;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setTextHeight(double h) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(h > 0.0) || !std::isfinite(h)) return Acad::eInvalidInput;
  m_height = h;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setWidth(double w) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(w >= 0.0) || !std::isfinite(w)) return Acad::eInvalidInput;
  m_width = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setTextStyle(AcDbObjectId style) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_style = style;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setRotation(double angle) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_rotation = cadhost::NormalizeAngle(angle);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setNormal(const AcGeVector3d& n) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_normal = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setLineSpacingFactor(double f) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(f >= 0.25 && f <= 4.0)) return Acad::eInvalidInput;
  m_spacing = f;
  return Acad::eOk;
}

std::vector<std::string> AcDbMText::textLines() const {
  std::vector<std::string> lines;
  for (const std::string& p : acdbMTextParagraphs(m_contents)) Wrap(p, m_width, m_height, lines);
  return lines;
}

Acad::ErrorStatus AcDbMText::explode(std::vector<std::unique_ptr<AcDbEntity>>& pieces) const {
  pieces.clear();
  const std::vector<std::string> lines = textLines();
  const double h = m_height, pitch = h * 5.0 / 3.0 * m_spacing;
  const double block = h + pitch * static_cast<double>(lines.size() - 1);
  const int row = (m_attachment - 1) / 3, col = (m_attachment - 1) % 3;
  // The baseline of the first line below the location: top, middle or bottom attachment.
  const double firstBaseline = row == 0 ? -h : row == 1 ? block / 2 - h : block - h;
  const Frame f = FrameOf(m_rotation, m_normal);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (cadhost::DisplayCharacters(lines[k]).empty()) continue;
    const double advance = cadhost::TextAdvance(lines[k], h, 1.0);
    const double x = col == 0 ? 0.0 : col == 1 ? -advance / 2 : -advance;
    const double y = firstBaseline - pitch * static_cast<double>(k);
    auto text = std::make_unique<AcDbText>(m_location + f.dir * x + f.up * y, lines[k].c_str(), m_style,
                                           h > 0.0 ? h : 1.0, m_rotation);
    text->setNormal(m_normal);
    cadhost::ObjectAccess::setLayer(*text, layerId());
    cadhost::ObjectAccess::setLinetype(*text, linetypeId());
    cadhost::ObjectAccess::setColor(*text, color());
    pieces.push_back(std::move(text));
  }
  return Acad::eOk;
}

bool AcDbMText::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const {
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  explode(pieces);
  bool any = false;
  for (const auto& p : pieces) any = p->addExtentsUnder(m, ext) || any;
  return any;
}

Acad::ErrorStatus AcDbMText::subTransformBy(const AcGeMatrix3d& m) {
  if (!m.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  const Frame f = FrameOf(m_rotation, m_normal);
  AcGeVector3d up = f.up, normal = m_normal;
  up.transformBy(m);
  normal.transformBy(m);
  const double s = up.length();
  m_normal = normal.normal();
  // The lines run square to the up direction, left to right seen from the normal, so that a
  // mirror keeps the text readable instead of writing it backwards.
  AcGeVector3d dir = up.crossProduct(m_normal).normal();
  dir.transformBy(acgeOcsToWcs(m_normal).inverse());
  m_rotation = cadhost::NormalizeAngle(std::atan2(dir.y, dir.x));
  m_location.transformBy(m);
  m_height *= s;
  m_width *= s;
  return Acad::eOk;
}
