#pragma once
// What the drawing commands ask of the table editor window. The window implements it; the
// commands see only this, so that they run (and are tested) without a window.

#include <vector>

#include "model/cell_image.h"
#include "model/table_data.h"
#include "model/table_origin.h"

namespace vex {

class TableEditor {
 public:
  virtual ~TableEditor() = default;

  virtual int Origin() const = 0;
  virtual void SetOrigin(int origin) = 0;
  // Whether the whole table may be edited: set from the recogniser's frame-matches-selection
  // flag when a table read from the drawing is loaded.
  virtual bool FullEditing() const = 0;
  virtual void SetFullEditing(bool full) = 0;

  // Gives the editor a table and reloads its grid.
  virtual void LoadTable(const TableData& table) = 0;
  // The table in the grid as Draw takes it: millimetres, text heights rounded to 0.5 mm,
  // texts through the output text replacement.
  virtual TableData TakeTable() = 0;
  // The blank table shown while no table is loaded (origin kNewTable), and shows it.
  virtual void SetBlankTable(int rows, int cols, double rowHeightMm, double colWidthMm) = 0;
  virtual void Minimize() = 0;
  // Shows the window in its restored state.
  virtual void Restore() = 0;

  // Stores a captured picture into the selected cell(s).
  virtual void StorePicture(const CellImage& image) = 0;
  // The pictures of the selected cells whose type is image, in selection order.
  virtual std::vector<CellImage> SelectedPictures() const = 0;
};

}  // namespace vex
