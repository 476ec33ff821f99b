#pragma once
// What the table initialization dialog decides, without the dialog: a new table is blank or
// starts from a header, whose type fixes its column count (vertical), its row count
// (horizontal) or both (full) and keeps the table at least as large as the header. The
// dialog, `vextable new` and the editor's insert-header command all go through this.

#include <optional>
#include <string>

#include "model/table_header.h"

namespace vex {

class LanguagePack;

// The four size fields: rows, columns (counts), row height, column width (whole millimetres).
enum class SizeField { kRows, kCols, kRowHeight, kColWidth };

class TableInit {
 public:
  // Blank, 6 x 6 cells of 8 x 20 mm.
  TableInit() = default;

  // A blank table from now on; the sizes stay as typed.
  void ChooseBlank();
  // A header (its table normalised) from now on; then Refresh.
  void ChooseHeader(TableHeader header);
  bool HasHeader() const { return header_.has_value(); }
  const TableHeader& Header() const { return *header_; }

  int Get(SizeField f) const;
  // Sets a field as typed (any number), then Refresh.
  void Set(SizeField f, int value);
  // A spin arrow: one up or down, never below the field's lower bound.
  void Spin(SizeField f, int delta);
  // Whether the dialog lets the field be edited.
  bool Enabled(SizeField f) const;
  // The lowest value a field may take: the header's counts for rows and columns, 1 otherwise.
  int Minimum(SizeField f) const;

  // Applies the header's rules: fixed counts set to the header's, counts raised to their
  // minimums, sizes to at least 1.
  void Refresh();

  // " 5 rows, 4 columns, Vertical Table" for a header (in the language's words); "" when blank.
  std::string InfoLine(const LanguagePack& language) const;

  // The table OK gives: the header's table grown to the chosen counts (its own rows and
  // columns keep their sizes, added ones get the chosen height and width, added cells the
  // default cell), or a blank table of the chosen counts and sizes. Normalised.
  TableData Table() const;

 private:
  int rows_ = 6, cols_ = 6, rowHeight_ = 8, colWidth_ = 20;
  std::optional<TableHeader> header_;
};

// The language key of a header type's name ("IDS_VERTICAL_TABLE" ...); "" for an unknown type.
const char* HeaderTypeTextKey(int type);

}  // namespace vex
