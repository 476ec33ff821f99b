#include "recognize/table_recognizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "cadhost/sdk/acedads.h"
#include "draw/selection.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"

namespace vex {
namespace {

constexpr double kTol = kRecognitionTolerance;
constexpr const char* kNoTable = "Select line can't form table!\n";

Result NoTable(MessageSink& sink) {
  sink.Print(kNoTable);
  return Result(ErrorCode::kNoTable, "the selected lines form no table");
}

TextItem TextItemOf(const AcDbText& text) {
  TextItem item;
  AcDbExtents ext;
  if (text.getGeomExtents(ext) == Acad::eOk) {
    item.extentsMin = ext.minPoint();
    item.extentsMax = ext.maxPoint();
  } else {
    item.extentsMin = item.extentsMax = text.position();
  }
  const AcGePoint3d p = text.position();
  item.centre = AcGePoint3d(p.x + (item.extentsMax.x - item.extentsMin.x) / 2,
                            p.y + (item.extentsMax.y - item.extentsMin.y) / 2, p.z);
  item.horizontalMode = text.horizontalMode();
  item.verticalMode = text.verticalMode();
  item.text = text.textString();
  item.height = text.height();
  return item;
}

std::optional<AcDbExtents> ExtentsOf(AcDbObjectId id) {
  AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
  AcDbExtents ext;
  if (!e || e->getGeomExtents(ext) != Acad::eOk) return std::nullopt;
  return ext;
}

std::optional<AcGePoint3d> ExtentsCentre(AcDbObjectId id) {
  const auto ext = ExtentsOf(id);
  if (!ext) return std::nullopt;
  return AcGePoint3d((ext->minPoint().x + ext->maxPoint().x) / 2, (ext->minPoint().y + ext->maxPoint().y) / 2,
                     (ext->minPoint().z + ext->maxPoint().z) / 2);
}

// The texts whose centre lies strictly inside the frame, with their ids.
void KeepTextsInside(const Frame& f, std::vector<TextItem>& texts, AcDbObjectIdArray& ids) {
  std::vector<TextItem> inside;
  AcDbObjectIdArray insideIds;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const AcGePoint3d& c = texts[k].centre;
    if (f.topLeft.x < c.x && c.x < f.topRight.x && f.bottomLeft.y < c.y && c.y < f.topLeft.y) {
      inside.push_back(std::move(texts[k]));
      insideIds.append(ids[static_cast<int>(k)]);
    }
  }
  texts = std::move(inside);
  ids = insideIds;
}

// Whether the accepted lines' extents are the frame (within the tolerance).
bool FrameMatchesLines(const Frame& f, const AcDbObjectIdArray& lineIds) {
  AcDbExtents lines;
  for (const AcDbObjectId& id : lineIds)
    if (const auto ext = ExtentsOf(id)) lines.addExt(*ext);
  if (lines.isEmpty()) return true;
  return std::fabs(lines.minPoint().x - f.bottomLeft.x) <= kTol && std::fabs(lines.minPoint().y - f.bottomLeft.y) <= kTol &&
         std::fabs(lines.maxPoint().x - f.topRight.x) <= kTol && std::fabs(lines.maxPoint().y - f.topRight.y) <= kTol;
}

// For each block, the indexes of the ids whose extents centre lies strictly inside the block
// shrunk by `inset`.
std::vector<std::vector<int>> BucketByBlock(const CellBlocks& cells, const AcDbObjectIdArray& ids, double inset) {
  std::vector<std::vector<int>> into(cells.blocks().size());
  for (int k = 0; k < ids.length(); ++k) {
    const auto c = ExtentsCentre(ids[k]);
    if (!c) continue;
    const int b = cells.OwnerAt(c->x, c->y);
    if (b >= 0 && cells.blocks()[static_cast<std::size_t>(b)].rect.Shrunk(inset).StrictlyInside(c->x, c->y))
      into[static_cast<std::size_t>(b)].push_back(k);
  }
  return into;
}

// The picture of one cell: every selected entity in the cell (taken last to first), captured
// into the store. nullopt when capture fails; the entities stay taken either way.
std::optional<TableCell> PictureCellOf(const CellBlock& block, const std::vector<int>& takes, RecognizedTable& out,
                                       std::vector<bool>& taken, AcDbDatabase& db, ImageStore& store,
                                       MessageSink& sink) {
  AcDbObjectIdArray ids;
  AcDbExtents all;
  for (auto it = takes.rbegin(); it != takes.rend(); ++it) {
    ids.append(out.selectedIds[*it]);
    taken[static_cast<std::size_t>(*it)] = true;
    if (const auto ext = ExtentsOf(out.selectedIds[*it])) all.addExt(*ext);
  }
  char message[96];
  std::snprintf(message, sizeof message, "\nEdit on row %d, column %d cell image...", block.row + 1, block.col + 1);
  sink.Print(message);
  for (const AcDbObjectId& id : ids) out.imageIds.append(id);
  TableCell cell;
  AcDbObjectId blockId;
  if (!CaptureImage(ids, &db, cell.sBlockName, &store.Ensure(), blockId, cell.picture, sink)) return std::nullopt;
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
void FillCells(TableData& t, const CellBlocks& cells, const std::vector<TextItem>& texts,
               const AcDbObjectIdArray& nonTextIds, const std::vector<std::size_t>& rowJunctions,
               RecognizedTable& out, AcDbDatabase& db, ImageStore& store, MessageSink& sink) {
  const auto& blocks = cells.blocks();
  std::vector<std::vector<const TextItem*>> blockTexts(blocks.size());
  for (const TextItem& text : texts) {
    const int b = cells.OwnerAt(text.centre.x, text.centre.y);
    if (b >= 0 && blocks[static_cast<std::size_t>(b)].rect.StrictlyInside(text.centre.x, text.centre.y))
      blockTexts[static_cast<std::size_t>(b)].push_back(&text);
  }
  const auto triggers = BucketByBlock(cells, nonTextIds, 0.5);
  const auto takes = BucketByBlock(cells, out.selectedIds, 0.5);
  std::vector<bool> taken(static_cast<std::size_t>(out.selectedIds.length()), false);

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
        if (!triggers[b].empty()) picture = PictureCellOf(blocks[b], takes[b], out, taken, db, store, sink);
        row.cells.push_back(picture ? std::move(*picture) : TextCellOf(blockTexts[b], blocks[b].rect));
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
  AcDbObjectIdArray remaining;
  for (int k = 0; k < out.selectedIds.length(); ++k)
    if (!taken[static_cast<std::size_t>(k)]) remaining.append(out.selectedIds[k]);
  out.selectedIds = remaining;
}

// Back to millimetres of the printed table.
void ToPaper(TableData& t, double plotScale) {
  for (double& h : t.RowHeights) h /= plotScale;
  for (double& w : t.ColWidths) w /= plotScale;
  for (TableRow& r : t.rows)
    for (TableCell& c : r.cells) c.dHeight /= plotScale;
}

}  // namespace

ClassifiedSelection ClassifySelection(const AcDbObjectIdArray& selection, MessageSink& sink) {
  ClassifiedSelection out;
  for (const AcDbObjectId& id : selection) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    if (!e) {
      sink.Print("\nacdbOpenAcDbEntity wrong");
      continue;
    }
    out.selectedIds.append(id);
    if (const auto* line = AcDbLine::cast(e.object())) {
      const AcGePoint3d a = line->startPoint(), b = line->endPoint();
      const double dx = std::fabs(a.x - b.x), dy = std::fabs(a.y - b.y);
      if (dx < kTol && dy > kTol) {
        out.vertical.push_back({0, a.x, std::max(a.y, b.y), std::min(a.y, b.y)});
        out.lineIds.append(id);
      } else if (dx > kTol && dy < kTol) {
        out.horizontal.push_back({0, a.y, std::min(a.x, b.x), std::max(a.x, b.x)});
        out.lineIds.append(id);
      }
      out.nonTextIds.append(id);
    } else if (AcDbCurve::cast(e.object()) != nullptr) {
      out.nonTextIds.append(id);
    } else if (const auto* text = AcDbText::cast(e.object())) {
      out.texts.push_back(TextItemOf(*text));
      out.textIds.append(id);
    } else {
      out.nonTextIds.append(id);
    }
  }
  return out;
}

ResultOr<RecognizedTable> RecognizeTable(const AcDbObjectIdArray& selection, AcDbDatabase& db,
                                         const Settings& settings, ImageStore& store, MessageSink& sink) {
  if (selection.isEmpty()) return Result(ErrorCode::kCancelled, "nothing is selected");
  RecognizedTable out;
  out.database = &db;
  out.plotScale = settings.EffectivePlotScale();

  ClassifiedSelection found = ClassifySelection(selection, sink);
  out.lineIds = found.lineIds;
  out.selectedIds = found.selectedIds;

  std::vector<RuleLine> rowLines = GroupRuleLines(std::move(found.horizontal), true);
  const std::vector<RuleLine> colLines = GroupRuleLines(std::move(found.vertical), false);
  TableData t;
  t.RowHeights = LineGaps(rowLines);
  t.ColWidths = LineGaps(colLines);
  t.nRows = static_cast<int>(t.RowHeights.size());
  t.nCols = static_cast<int>(t.ColWidths.size());

  std::vector<JunctionRow> junctions = BuildJunctions(rowLines, colLines);
  const std::optional<Frame> frame = FindFrame(junctions);
  if (!frame) return NoTable(sink);
  RemoveStrayJunctions(junctions);

  KeepTextsInside(*frame, found.texts, found.textIds);
  out.textIds = found.textIds;
  out.frameMatchesSelection = FrameMatchesLines(*frame, out.lineIds);
  out.origin = AcGePoint3d(frame->topLeft.x, frame->topLeft.y, 0);

  const std::optional<Merges> merges = FindMerges(junctions, t.nRows, t.nCols);
  if (!merges) return NoTable(sink);
  t.MergeRows = merges->rows;
  t.MergeCols = merges->cols;
  std::vector<std::size_t> rowJunctions;
  for (const JunctionRow& r : junctions) rowJunctions.push_back(r.size());
  junctions.clear();

  const std::optional<CellBlocks> cells = CellBlocks::Of(t, out.origin);
  if (!cells) return NoTable(sink);
  FillCells(t, *cells, found.texts, found.nonTextIds, rowJunctions, out, db, store, sink);
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
