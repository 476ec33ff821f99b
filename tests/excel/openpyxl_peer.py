#!/usr/bin/python3
"""openpyxl as a peer of the workbook engine.

make SPEC.json OUT.xlsx  builds a workbook from a description:
  {"sheets": [{"name": "S", "cells": [["C5", "text or number", {"size": 9, "h": "right",
   "v": "top", "format": "0.00"}]], "merges": ["C8:E9"], "rows": {"5": 30},
   "cols": {"D": 20}}]}
dump IN.xlsx             prints the first sheet as JSON: cells (value, font size,
                         alignment), merges, row heights and column widths.
"""
import json
import sys

import openpyxl
from openpyxl.styles import Alignment, Font


def make(layout_path, out):
    layout = json.load(open(layout_path, encoding="utf-8"))
    wb = openpyxl.Workbook()
    wb.remove(wb.active)
    for s in layout["sheets"]:
        ws = wb.create_sheet(s["name"])
        for ref, value, *style in s.get("cells", []):
            c = ws[ref]
            c.value = value
            st = style[0] if style else {}
            if "size" in st:
                c.font = Font(size=st["size"])
            if "h" in st or "v" in st:
                c.alignment = Alignment(horizontal=st.get("h"), vertical=st.get("v"), wrap_text=st.get("wrap"))
            if "format" in st:
                c.number_format = st["format"]
        for m in s.get("merges", []):
            ws.merge_cells(m)
        for r, h in s.get("rows", {}).items():
            ws.row_dimensions[int(r)].height = h
        for col, w in s.get("cols", {}).items():
            ws.column_dimensions[col].width = w
    wb.save(out)


def dump(path):
    wb = openpyxl.load_workbook(path)
    ws = wb.worksheets[0]
    cells = {}
    for row in ws.iter_rows():
        for c in row:
            if c.value is None and c.coordinate not in ws.merged_cells:
                continue
            cells[c.coordinate] = {"value": c.value, "size": c.font.sz, "h": c.alignment.horizontal,
                                   "v": c.alignment.vertical}
    print(json.dumps({
        "title": ws.title,
        "cells": cells,
        "merges": sorted(str(m) for m in ws.merged_cells.ranges),
        "rows": {str(k): d.height for k, d in ws.row_dimensions.items() if d.height is not None},
        "cols": {k: d.width for k, d in ws.column_dimensions.items() if d.customWidth},
    }, default=str))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2], sys.argv[3])
    else:
        dump(sys.argv[2])
