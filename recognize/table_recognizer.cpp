#include "recognize/table_recognizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <unordered_set>

#include "cadhost/sdk/acedads.h"
#include "draw/selection.h"
#include "model/table_limits.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "recognize/drawn_parts.h"
#include "recognize/read_report.h"
#include "recognize/rule_network.h"
#include "recognize/selection_roles.h"

namespace vex {
namespace {

constexpr double kTol = kRecognitionTolerance;
constexpr const char* kNoTable = "Select line can't form table!\n";

Result NoTable(MessageSink& sink) {
  sink.Print(kNoTable);
  return Result(ErrorCode::kNoTable, "the selected lines form no table");
}

Result Refused(Result why, MessageSink& sink) {
  sink.Print("\n" + why.message());
  return why;
}

// The table limits, checked on the rule lines before anything is built from them.
Result CheckRuleCounts(std::size_t rowLines, std::size_t colLines) {
  const long long rows = rowLines > 0 ? static_cast<long long>(rowLines) - 1 : 0;
  const long long cols = colLines > 0 ? static_cast<long long>(colLines) - 1 : 0;
  if (CheckTableCounts(rows, cols)) return {};
  return Result(ErrorCode::kTooLarge, "the selected rules make " + std::to_string(rows) + " rows and " +
                                          std::to_string(cols) + " columns (" + std::to_string(rows * cols) +
                                          " cells); a table has at most " + std::to_string(kMaxTableRowsOrCols) +
                                          " rows or columns and " + std::to_string(kMaxTableCells) + " cells");
}

std::optional<AcGePoint3d> CentreOf(const DrawnEntity& d) {
  if (!d.hasExtents) return std::nullopt;
  const AcGePoint3d &a = d.extents.minPoint(), &b = d.extents.maxPoint();
  return AcGePoint3d((a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2);
}

// The texts whose centre lies strictly inside the frame, with the entities they came from.
void KeepTextsInside(const Frame& f, const std::vector<TextItem>& all, std::vector<int>& texts, std::vector<int>& owners) {
  std::size_t kept = 0;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const AcGePoint3d& c = all[static_cast<std::size_t>(texts[k])].centre;
    if (f.topLeft.x < c.x && c.x < f.topRight.x && f.bottomLeft.y < c.y && c.y < f.topLeft.y) {
      texts[kept] = texts[k];
      owners[kept] = owners[k];
      ++kept;
    }
  }
  texts.resize(kept);
  owners.resize(kept);
}

// Whether the extents of the entities that hold the rules are the frame (within the tolerance).
bool FrameMatchesLines(const Frame& f, const DrawnSelection& parts, const std::vector<int>& lines) {
  AcDbExtents all;
  for (int e : lines)
    if (const DrawnEntity& d = parts.entities[static_cast<std::size_t>(e)]; d.hasExtents) all.addExt(d.extents);
  if (all.isEmpty()) return true;
  return std::fabs(all.minPoint().x - f.bottomLeft.x) <= kTol && std::fabs(all.minPoint().y - f.bottomLeft.y) <= kTol &&
         std::fabs(all.maxPoint().x - f.topRight.x) <= kTol && std::fabs(all.maxPoint().y - f.topRight.y) <= kTol;
}

// Each id once, in the order first met.
AcDbObjectIdArray Distinct(const DrawnSelection& parts, const std::vector<int>& entities) {
  AcDbObjectIdArray out;
  std::unordered_set<int> seen;
  for (int e : entities)
    if (seen.insert(e).second) out.append(parts.entities[static_cast<std::size_t>(e)].id);
  return out;
}

// For each block, the positions in `entities` of those whose extents centre lies strictly
// inside the block shrunk by `inset`.
std::vector<std::vector<int>> BucketByBlock(const CellBlocks& cells, const DrawnSelection& parts,
                                            const std::vector<int>& entities, double inset) {
  std::vector<std::vector<int>> into(cells.blocks().size());
  for (std::size_t k = 0; k < entities.size(); ++k) {
    const auto c = CentreOf(parts.entities[static_cast<std::size_t>(entities[k])]);
    if (!c) continue;
    const int b = cells.OwnerAt(c->x, c->y);
    if (b >= 0 && cells.blocks()[static_cast<std::size_t>(b)].rect.Shrunk(inset).StrictlyInside(c->x, c->y))
      into[static_cast<std::size_t>(b)].push_back(static_cast<int>(k));
  }
  return into;
}

// What a read found in the selection, handed from step to step.
struct Reading {
  DrawnSelection parts;
  SelectionRoles roles;
  std::vector<bool> used;   // by entity: made part of the table
  std::vector<bool> taken;  // by position in roles.selected: taken into a picture
};

// The picture of one cell: every takeable selected entity in the cell (taken last to first),
// captured into the store. nullopt when capture fails; the entities stay taken either way.
std::optional<TableCell> PictureCellOf(const CellBlock& block, const std::vector<int>& takes, Reading& r,
                                       RecognizedTable& out, AcDbDatabase& db, ImageStore& store, MessageSink& sink) {
  AcDbObjectIdArray ids;
  AcDbExtents all;
  for (auto it = takes.rbegin(); it != takes.rend(); ++it) {
    const int e = r.roles.selected[static_cast<std::size_t>(*it)];
    const DrawnEntity& d = r.parts.entities[static_cast<std::size_t>(e)];
    ids.append(d.id);
    r.taken[static_cast<std::size_t>(*it)] = true;
    r.used[static_cast<std::size_t>(e)] = true;
    if (d.hasExtents) all.addExt(d.extents);
  }
  char message[96];
  std::snprintf(message, sizeof message, "\nEdit on row %d, column %d cell image...", block.row + 1, block.col + 1);
  sink.Print(message);
  for (const AcDbObjectId& id : ids) out.imageIds.append(id);
  TableCell cell;
  AcDbObjectId blockId;
  if (!CaptureImage(ids, &db, cell.sBlockName, &store.Ensure(), blockId, cell.picture, sink)) {
    SayPictureNotCaptured(block.row + 1, block.col + 1, sink);
    return std::nullopt;
  }
  cell.nType = kImageCell;
  if (!all.isEmpty()) {
    const ContentBox box{(all.minPoint().x + all.maxPoint().x) / 2, (all.minPoint().y + all.maxPoint().y) / 2,
                         all.minPoint().x, all.minPoint().y, all.maxPoint().x, all.maxPoint().y};
    const Alignment a = AlignmentIn(box, block.rect);
    cell.HorzMode = a.HorzMode;
    cell.VertMode = a.VertMode;
  }
  return cell;
}

// Fills the rows of `t` (sizes and merges set) with the cells: pictures where something other
// than a text lies inside a block, the joined texts otherwise, centred blanks inside merges.
void FillCells(TableData& t, const CellBlocks& cells, const std::vector<std::size_t>& rowJunctions, Reading& r,
               RecognizedTable& out, AcDbDatabase& db, ImageStore& store, MessageSink& sink) {
  const auto& blocks = cells.blocks();
  // The texts of each block, in text-list order: block b's are textsOf[first[b] .. first[b + 1]).
  std::vector<int> blockOf(r.roles.texts.size(), -1);
  std::vector<std::size_t> first(blocks.size() + 1, 0);
  for (std::size_t k = 0; k < r.roles.texts.size(); ++k) {
    const TextItem& text = r.parts.texts[static_cast<std::size_t>(r.roles.texts[k])];
    const int b = cells.OwnerAt(text.centre.x, text.centre.y);
    if (b >= 0 && blocks[static_cast<std::size_t>(b)].rect.StrictlyInside(text.centre.x, text.centre.y)) {
      blockOf[k] = b;
      ++first[static_cast<std::size_t>(b) + 1];
      r.used[static_cast<std::size_t>(r.roles.textOwners[k])] = true;
    }
  }
  for (std::size_t b = 0; b < blocks.size(); ++b) first[b + 1] += first[b];
  std::vector<const TextItem*> textsOf(first.back());
  {
    std::vector<std::size_t> at(first.begin(), first.end() - 1);
    for (std::size_t k = 0; k < blockOf.size(); ++k)
      if (blockOf[k] >= 0)
        textsOf[at[static_cast<std::size_t>(blockOf[k])]++] = &r.parts.texts[static_cast<std::size_t>(r.roles.texts[k])];
  }
  const auto triggers = BucketByBlock(cells, r.parts, r.roles.nonTexts, 0.5);
  std::vector<int> takeable;  // positions in roles.selected
  for (std::size_t k = 0; k < r.roles.selected.size(); ++k)
    if (r.roles.takeable[static_cast<std::size_t>(r.roles.selected[k])]) takeable.push_back(static_cast<int>(k));
  std::vector<int> takeableEntities;
  takeableEntities.reserve(takeable.size());
  for (int k : takeable) takeableEntities.push_back(r.roles.selected[static_cast<std::size_t>(k)]);
  auto takes = BucketByBlock(cells, r.parts, takeableEntities, 0.5);
  for (auto& bucket : takes)
    for (int& k : bucket) k = takeable[static_cast<std::size_t>(k)];
  r.taken.assign(r.roles.selected.size(), false);

  acedSetStatusBarProgressMeter("编辑表格", 0, 100);
  const long long lines = static_cast<long long>(rowJunctions.size());
  std::size_t next = 0;
  for (int k = 0; k < t.nRows; ++k) {
    TableRow row;
    row.cells.reserve(static_cast<std::size_t>(t.nCols));
    const long long p = static_cast<long long>(rowJunctions[static_cast<std::size_t>(k)]);
    for (int i = 0; i < t.nCols; ++i) {
      if (p > 1 && lines > 1)
        acedSetStatusBarProgressMeterPos(static_cast<int>((((p - 1) * k + i + 1) * 90 / (lines - 1)) / (p - 1)));
      if (next < blocks.size() && blocks[next].row == k && blocks[next].col == i) {
        const std::size_t b = next++;
        std::optional<TableCell> picture;
        if (!triggers[b].empty()) picture = PictureCellOf(blocks[b], takes[b], r, out, db, store, sink);
        row.cells.push_back(picture ? std::move(*picture)
                                    : TextCellOf({textsOf.begin() + static_cast<std::ptrdiff_t>(first[b]),
                                                  textsOf.begin() + static_cast<std::ptrdiff_t>(first[b + 1])},
                                                 blocks[b].rect));
      } else {
        TableCell inside;  // covered by a merge
        inside.dHeight = 3.0;
        inside.HorzMode = 1;
        inside.VertMode = 1;
        row.cells.push_back(std::move(inside));
      }
    }
    t.AppendRow(std::move(row));
  }
  acedRestoreStatusBar();

  // Entities taken into pictures are no longer part of the selection.
  for (std::size_t k = 0; k < r.roles.selected.size(); ++k)
    if (!r.taken[k]) out.selectedIds.append(r.parts.entities[static_cast<std::size_t>(r.roles.selected[k])].id);
}

// What the read left out of the selection.
LeftOutReport LeftOutOf(const Reading& r, const Frame& f) {
  LeftOutReport report;
  report.kinds = r.parts.leftOut;
  report.dangling = static_cast<int>(r.roles.dangling.size());
  report.tableExtras = r.roles.tableExtras;
  // Loose lines are said as such, not again as entities of no cell.
  std::vector<bool> said(r.parts.entities.size(), false);
  for (int e : r.roles.dangling) said[static_cast<std::size_t>(e)] = true;
  for (int e : r.roles.selected) {
    const DrawnEntity& d = r.parts.entities[static_cast<std::size_t>(e)];
    if (r.used[static_cast<std::size_t>(e)] || said[static_cast<std::size_t>(e)] || d.kind == DrawnKind::kUnknown)
      continue;
    const auto c = CentreOf(d);
    if (!c) continue;  // shows nothing
    const bool inside = f.topLeft.x < c->x && c->x < f.topRight.x && f.bottomLeft.y < c->y && c->y < f.topLeft.y;
    ++(inside ? report.unusedInside : report.outside);
  }
  return report;
}

// Back to millimetres of the printed table.
void ToPaper(TableData& t, double plotScale) {
  for (double& h : t.RowHeights) h /= plotScale;
  for (double& w : t.ColWidths) w /= plotScale;
  for (TableRow& r : t.rows)
    for (TableCell& c : r.cells) c.dHeight /= plotScale;
}

}  // namespace

ResultOr<RecognizedTable> RecognizeTable(const AcDbObjectIdArray& selection, AcDbDatabase& db,
                                         const Settings& settings, ImageStore& store, MessageSink& sink,
                                         const SelectionWindow* window) {
  if (selection.isEmpty()) return Result(ErrorCode::kCancelled, "nothing is selected");
  RecognizedTable out;
  out.database = &db;
  out.plotScale = settings.EffectivePlotScale();

  Reading r;
  r.parts = DrawnPartsOf(selection, sink);
  if (window != nullptr) AddCrossingParts(window->crossing, window->box, r.parts);
  ResultOr<TableRules> rules = [&] {
    RuleCandidates candidates = RuleCandidatesOf(r.parts);
    return FindTableRules(candidates.horizontal, candidates.vertical, static_cast<int>(r.parts.straights.size()),
                          candidates.clipped);
  }();
  if (!rules) return Refused(rules.result(), sink);
  if (rules->rivals > 0) {
    const Result none = NoTable(sink);
    sink.Print("\nThe selection holds " + std::to_string(rules->rivals + 1) +
               " separate tables of the same size: select one of them");
    return none;
  }
  std::vector<RuleLine> rowLines = GroupRuleLines(std::move(rules->horizontal), true);
  const std::vector<RuleLine> colLines = GroupRuleLines(std::move(rules->vertical), false);
  if (Result limits = CheckRuleCounts(rowLines.size(), colLines.size()); !limits) return Refused(limits, sink);
  r.roles = RolesOf(r.parts, rules->roles);
  r.used.assign(r.parts.entities.size(), false);
  for (int e : r.roles.lines) r.used[static_cast<std::size_t>(e)] = true;
  out.lineIds = Distinct(r.parts, r.roles.lines);

  TableData t;
  t.RowHeights = LineGaps(rowLines);
  t.ColWidths = LineGaps(colLines);
  t.nRows = static_cast<int>(t.RowHeights.size());
  t.nCols = static_cast<int>(t.ColWidths.size());

  std::vector<JunctionRow> junctions = BuildJunctions(rowLines, colLines);
  const std::optional<Frame> frame = FindFrame(junctions);
  if (!frame) return NoTable(sink);
  RemoveStrayJunctions(junctions);

  KeepTextsInside(*frame, r.parts.texts, r.roles.texts, r.roles.textOwners);
  out.textIds = Distinct(r.parts, r.roles.textOwners);
  out.frameMatchesSelection = FrameMatchesLines(*frame, r.parts, r.roles.lines);
  out.origin = AcGePoint3d(frame->topLeft.x, frame->topLeft.y, 0);

  const std::optional<Merges> merges = FindMerges(junctions, t.nRows, t.nCols);
  if (!merges) return NoTable(sink);
  t.MergeRows = merges->rows;
  t.MergeCols = merges->cols;
  std::vector<std::size_t> rowJunctions;
  for (const JunctionRow& row : junctions) rowJunctions.push_back(row.size());
  junctions.clear();

  const std::optional<CellBlocks> cells = CellBlocks::Of(t, out.origin);
  if (!cells) return NoTable(sink);
  FillCells(t, *cells, rowJunctions, r, out, db, store, sink);
  SayLeftOut(LeftOutOf(r, *frame), sink);
  ToPaper(t, out.plotScale);
  out.table = std::move(t);
  return out;
}

ResultOr<RecognizedTable> ReadTable(const Settings& settings, ImageStore& store, MessageSink& sink) {
  const std::optional<AcDbObjectIdArray> ids = AskForSelection(sink);
  if (!ids) return Result(ErrorCode::kCancelled, "the selection was cancelled");
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (db == nullptr) return Result(ErrorCode::kHostError, "there is no drawing");
  return RecognizeTable(*ids, *db, settings, store, sink);
}

}  // namespace vex
