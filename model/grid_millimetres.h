#pragma once
// The millimetres behind a grid's pixels. The grid keeps whole pixels, and at a small zoom
// they say little: a 15 mm column at zoom 0.1 is 8 pixels, which taken back is 16 mm. This
// remembers the millimetres of each row, column and cell text as a table was loaded, follows
// the lines inserted and deleted since, and gives a remembered value back for as long as the
// grid's pixels still agree with it; otherwise the pixels decide, as they always did. A line
// deleted and inserted again at the same place (undo and redo) gets its values back.

#include <vector>

#include "model/grid_model.h"
#include "model/table_data.h"

namespace vex {

class GridMillimetres final : public GridChangeObserver {
 public:
  // Watches `grid` until destroyed.
  explicit GridMillimetres(GridModel& grid);
  ~GridMillimetres();
  GridMillimetres(const GridMillimetres&) = delete;
  GridMillimetres& operator=(const GridMillimetres&) = delete;

  // Remembers the table's sizes and text heights for the grid it was just loaded into (table
  // row r is grid row r + 1); text heights only of cells with text.
  void Remember(const TableData& table);
  // Remembers the sizes of a blank table of uniform rows and columns.
  void RememberBlank(double rowHeightMm, double colWidthMm);
  // Forgets a cell's text height (a height typed for it counts as its pixels say).
  void ForgetTextHeight(int row, int col);

  // A grid row's height (column's width, cell's text height) in mm at `zoom`: the remembered
  // value while round(mm x zoom x 5) or trunc(mm x zoom x 5) (for a text height: the font
  // height loading gives it) equals the grid's pixels, else pixels / (zoom x 5).
  double RowHeight(int row, double zoom) const;
  double ColumnWidth(int col, double zoom) const;
  double TextHeight(int row, int col, double zoom) const;

  // GridChangeObserver
  void CellChanging(int, int) override {}
  void SizeChanging(bool, int) override {}
  void BlockAdded(const CellRange&) override {}
  void BlockRemoving(const CellRange&) override {}
  void LineInserting(bool row, int index) override;
  void LineDeleting(bool row, int index) override;
  void Rebuilding() override;

 private:
  double Size(const std::vector<double>& mm, int index, int pixels, double zoom) const;

  // A deleted line's values, kept until a line is inserted at its place again.
  struct DeletedLine {
    bool row;
    int index;
    double size;
    std::vector<double> heights;
  };
  std::vector<DeletedLine> deleted_;

  GridModel& grid_;
  std::vector<double> rows_;
  std::vector<double> cols_;
  std::vector<std::vector<double>> heights_;  // [grid row][grid column]
};

}  // namespace vex
