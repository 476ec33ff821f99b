#!/usr/bin/python3
r"""Writes the drawings of tables as drafters really make them, for the recognition tests. Run
with Debian's python3-ezdxf in this folder:

    /usr/bin/python3 make_real_drawings.py

Every table has its top-left corner at the origin of its block or space unless said, rows of 10
and columns of 30 drawing units, texts 2.5 high:

- mtext_table.dxf: 2 x 2 of lines, a multiline text in each cell: formatting codes, a stacked
  fraction, a paragraph break, a paragraph wrapped at its width;
- block_table.dxf: the table as a block (its rules a nested block, attribute blocks in the
  second row, one attribute invisible) inserted at (100, 200) scaled by 2;
- turned_block.dxf: a block holding a 1 x 3 table turned by -90 degrees, inserted turned by 90;
- mirrored_block.dxf: a block holding a 1 x 3 table mirrored, inserted mirrored (x scale -1);
- polyline_frame.dxf: 2 x 3 whose frame is a closed lightweight polyline and one inner rule an
  old-style polyline; a small closed rectangle is the picture of one cell;
- acad_table.dxf: 2 x 2 as another program's ACAD_TABLE: lines and multiline texts in its
  anonymous block, placed at (50, 80);
- paper_layout.dxf: a 1 x 1 table in model space, a 2 x 2 table in the layout "Sheet A";
- stray_geometry.dxf: 2 x 2 with a tick across its top rule, a half-height divider, a title
  above, marks outside, a sheet frame around it all; two texts of one visual line on slightly
  different baselines and heights;
- sheet_corner.dxf: 2 x 2 in the bottom-right corner of a sheet frame, whose right and bottom
  lines are the table's right and bottom borders (read with a window around the table).
"""
import math
import os

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))


def new():
    doc = ezdxf.new("R2010")
    doc.header["$INSUNITS"] = 4
    return doc


def grid(layout, rows, cols, x0=0.0, y0=0.0, h=10.0, w=30.0, transform=None):
    """Adds the lines of a rows x cols grid; transform maps (x, y) when given."""
    t = transform or (lambda p: p)
    for i in range(rows + 1):
        layout.add_line(t((x0, y0 - h * i)), t((x0 + w * cols, y0 - h * i)))
    for j in range(cols + 1):
        layout.add_line(t((x0 + w * j, y0)), t((x0 + w * j, y0 - h * rows)))


def text(layout, s, x, y, height=2.5, **attribs):
    attribs.update({"height": height, "insert": (x, y)})
    return layout.add_text(s, dxfattribs=attribs)


def save(doc, name):
    doc.saveas(os.path.join(HERE, name))


def mtext_table():
    doc = new()
    msp = doc.modelspace()
    grid(msp, 2, 2, h=12, w=40)

    def mtext(s, at, attachment, **more):
        attribs = {"char_height": 2.5, "insert": at, "attachment_point": attachment}
        attribs.update(more)
        msp.add_mtext(s, dxfattribs=attribs)

    mtext(r"{\fArial|b1|i0|c0|p34;Bold} \H3.5;size", (20, -6), 5)
    mtext(r"\S1/2; inch \A1;x", (41, -1), 1)
    mtext(r"Line one\PLine two", (1, -13), 1)
    mtext("alpha beta gamma", (79, -23), 9, width=14)
    save(doc, "mtext_table.dxf")


def block_table():
    doc = new()
    rules = doc.blocks.new("GRID")
    grid(rules, 2, 3)
    label = doc.blocks.new("LABEL")
    label.add_attdef("VAL", (0, 0), dxfattribs={"height": 2.5})
    label.add_attdef("SECRET", (0, -3), dxfattribs={"height": 2.5, "flags": 1})
    table = doc.blocks.new("TABLE")
    table.add_blockref("GRID", (0, 0))
    for j, s in enumerate("ABC"):
        text(table, s, 30 * j + 2, -6.25)
    for j in range(3):
        ref = table.add_blockref("LABEL", (30 * j + 2, -16.25))
        ref.add_attrib("VAL", "x%d" % (j + 1), (30 * j + 2, -16.25), dxfattribs={"height": 2.5})
        ref.add_attrib("SECRET", "hidden", (30 * j + 2, -19.25), dxfattribs={"height": 2.5, "flags": 1})
    doc.modelspace().add_blockref("TABLE", (100, 200), dxfattribs={"xscale": 2, "yscale": 2})
    save(doc, "block_table.dxf")


def turned_block():
    doc = new()
    block = doc.blocks.new("SIDEWAYS")
    turn = lambda p: (p[1], -p[0])  # by -90 degrees
    grid(block, 1, 3, transform=turn)
    for j, s in enumerate(["one", "two", "three"]):
        text(block, s, *turn((30 * j + 2, -6.25)), rotation=-90)
    doc.modelspace().add_blockref("SIDEWAYS", (10, 20), dxfattribs={"rotation": 90})
    save(doc, "turned_block.dxf")


def mirrored_block():
    doc = new()
    block = doc.blocks.new("MIRRORED")
    mirror = lambda p: (-p[0], p[1])
    grid(block, 1, 3, transform=mirror)
    for j, s in enumerate(["left", "mid", "right"]):
        # Written backwards, so that the mirrored reference shows it readable.
        text(block, s, *mirror((30 * j + 2, -6.25)), text_generation_flag=2)
    doc.modelspace().add_blockref("MIRRORED", (0, 0), dxfattribs={"xscale": -1})
    save(doc, "mirrored_block.dxf")


def polyline_frame():
    doc = new()
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (90, 0), (90, -20), (0, -20)], close=True)
    msp.add_line((0, -10), (90, -10))
    msp.add_line((30, 0), (30, -20))
    msp.add_polyline2d([(60, 0), (60, -20)])
    for j, s in enumerate(["a", "b", "c"]):
        text(msp, s, 30 * j + 2, -6.25)
    text(msp, "d", 2, -16.25)
    msp.add_lwpolyline([(70, -13), (80, -13), (80, -17), (70, -17)], close=True)
    save(doc, "polyline_frame.dxf")


def acad_table():
    doc = new()
    block = doc.blocks.new_anonymous_block("T")
    grid(block, 2, 2)
    for i in range(2):
        for j in range(2):
            block.add_mtext("r%dc%d" % (i, j), dxfattribs={
                "char_height": 2.5, "insert": (30 * j + 15, -10 * i - 5), "attachment_point": 5})
    placeholder = doc.modelspace().add_blockref(block.name, (50, 80))
    handle = placeholder.dxf.handle
    path = os.path.join(HERE, "acad_table.dxf")
    doc.saveas(path)
    # ezdxf writes no ACAD_TABLE: the placeholder becomes one, as another program writes it.
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    start = next(i for i in range(0, len(lines) - 3, 2)
                 if lines[i].strip() == "0" and lines[i + 1] == "INSERT" and lines[i + 3] == handle)
    end = next(i for i in range(start + 2, len(lines), 2) if lines[i].strip() == "0")
    body = lines[start + 2:end]
    record = next(b for b in doc.block_records if b.dxf.name == block.name).dxf.handle
    table = ["100", "AcDbTable", "280", "0", "343", record, " 11", "1.0", " 21", "0.0", " 31", "0.0",
             " 90", "22", " 91", "2", " 92", "2", "141", "10.0", "141", "10.0", "142", "30.0", "142", "30.0"]
    lines[start:end] = ["  0", "ACAD_TABLE"] + body + table
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def paper_layout():
    doc = new()
    msp = doc.modelspace()
    grid(msp, 1, 1)
    text(msp, "model", 2, -6.25)
    sheet = doc.layouts.new("Sheet A")
    grid(sheet, 2, 2, x0=20, y0=150)
    for i in range(2):
        for j in range(2):
            text(sheet, "p%d%d" % (i, j), 20 + 30 * j + 2, 150 - 10 * i - 6.25)
    save(doc, "paper_layout.dxf")


def stray_geometry():
    doc = new()
    msp = doc.modelspace()
    grid(msp, 2, 2)
    msp.add_line((45, 2), (45, -2))          # a tick across the top rule
    msp.add_line((15, -10), (15, -15))       # a half-height divider below the middle rule
    text(msp, "TITLE", 0, 3)                 # above the table
    msp.add_line((100, 50), (104, 54))       # a mark outside
    msp.add_line((100, 54), (104, 50))
    msp.add_line((120, 0), (130, 0))         # a loose horizontal mark outside
    for a, b in [((-50, -100), (200, -100)), ((200, -100), (200, 100)),
                 ((200, 100), (-50, 100)), ((-50, 100), (-50, -100))]:
        msp.add_line(a, b)                   # a sheet frame that does not touch the table
    text(msp, "left", 2, -6.5)               # one visual line: baselines and heights differ
    text(msp, "right", 15, -6.3, height=3.0)
    text(msp, "M12", 32, -6.2)
    text(msp, "x 40", 45, -6.0)
    text(msp, "under", 32, -16.25)
    save(doc, "stray_geometry.dxf")


def sheet_corner():
    doc = new()
    msp = doc.modelspace()
    for a, b in [((0, 0), (200, 0)), ((200, 0), (200, -150)), ((200, -150), (0, -150)), ((0, -150), (0, 0))]:
        msp.add_line(a, b)
    msp.add_line((140, -130), (200, -130))
    msp.add_line((140, -140), (200, -140))
    msp.add_line((140, -130), (140, -150))
    msp.add_line((170, -130), (170, -150))
    for i in range(2):
        for j in range(2):
            text(msp, "s%d%d" % (i, j), 140 + 30 * j + 2, -130 - 10 * i - 6.25)
    save(doc, "sheet_corner.dxf")


if __name__ == "__main__":
    mtext_table()
    block_table()
    turned_block()
    mirrored_block()
    polyline_frame()
    acad_table()
    paper_layout()
    stray_geometry()
    sheet_corner()
