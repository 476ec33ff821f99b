#!/usr/bin/python3
"""Writes the two shape fonts the setup program copies into each host's font folder, in the
host's shape-source form ("AutoCAD-86 ..." first line, one "*number,bytes,name" line per shape
and its bytes): bzxw.shx, a text font of digits and signs for table numbering, and bzhz.SHX,
a big font with a few East Asian characters (GBK codes). The glyphs are our own strokes on a
small grid. Run from anywhere; the files are written beside this script."""
import os

# Direction numbers of a vector byte: 0 east, 4 north, 8 west, 12 south, even steps between.
DIRECTIONS = {(1, 0): 0, (1, 1): 2, (0, 1): 4, (-1, 1): 6, (-1, 0): 8, (-1, -1): 10, (0, -1): 12, (1, -1): 14}


def vector_bytes(dx, dy):
    """One stroke: a vector byte when it runs along one of the eight directions and is at most
    15 long, else a displacement (code 8)."""
    steps = max(abs(dx), abs(dy))
    if 0 < steps <= 15 and (dx == 0 or dy == 0 or abs(dx) == abs(dy)):
        d = DIRECTIONS[(dx // steps if dx else 0, dy // steps if dy else 0)]
        return ["0%X%X" % (steps, d)]
    return ["8", "(%d,%d)" % (dx, dy)]


def shape_bytes(strokes, advance):
    """The bytes of a glyph drawn as polylines, starting and ending on the baseline; the pen
    ends `advance` to the right of where it started."""
    out, x, y = [], 0, 0
    for line in strokes:
        (sx, sy) = line[0]
        out += ["2"] + vector_bytes(sx - x, sy - y) + ["1"]
        x, y = sx, sy
        for (px, py) in line[1:]:
            out += vector_bytes(px - x, py - y)
            x, y = px, py
    out += ["2"] + vector_bytes(advance - x, -y) + ["0"]
    return out


def count(tokens):
    return sum(2 if t.startswith("(") else 1 for t in tokens)


def shape(number, name, tokens):
    return "*%s,%d,%s\n%s\n" % (number, count(tokens), name, ",".join(tokens))


DIGITS = {
    "0": [[(1, 0), (5, 0), (5, 8), (1, 8), (1, 0)]],
    "1": [[(2, 7), (3, 8), (3, 0)]],
    "2": [[(1, 8), (5, 8), (5, 4), (1, 4), (1, 0), (5, 0)]],
    "3": [[(1, 8), (5, 8), (5, 0), (1, 0)], [(1, 4), (5, 4)]],
    "4": [[(1, 8), (1, 4), (5, 4)], [(5, 8), (5, 0)]],
    "5": [[(5, 8), (1, 8), (1, 4), (5, 4), (5, 0), (1, 0)]],
    "6": [[(5, 8), (1, 8), (1, 0), (5, 0), (5, 4), (1, 4)]],
    "7": [[(1, 8), (5, 8), (5, 0)]],
    "8": [[(1, 0), (5, 0), (5, 8), (1, 8), (1, 0)], [(1, 4), (5, 4)]],
    "9": [[(1, 0), (5, 0), (5, 8), (1, 8), (1, 4), (5, 4)]],
    "-": [[(1, 4), (5, 4)]],
    "+": [[(1, 4), (5, 4)], [(3, 2), (3, 6)]],
    ".": [[(3, 0), (3, 1)]],
    "/": [[(1, 0), (5, 8)]],
}

# Big-font characters by their GBK code, drawn in a 9 x 9 cell.
HANZI = [
    (0xD2BB, "yi", [[(0, 4), (8, 4)]]),
    (0xB6FE, "er", [[(1, 6), (7, 6)], [(0, 1), (8, 1)]]),
    (0xC8FD, "san", [[(1, 7), (7, 7)], [(2, 4), (6, 4)], [(0, 0), (8, 0)]]),
    (0xCAAE, "shi", [[(0, 4), (8, 4)], [(4, 0), (4, 8)]]),
    (0xBFDA, "kou", [[(1, 1), (7, 1), (7, 7), (1, 7), (1, 1)]]),
    (0xD6D0, "zhong", [[(1, 2), (7, 2), (7, 6), (1, 6), (1, 2)], [(4, 0), (4, 8)]]),
]


def text_font():
    out = ["AutoCAD-86 shapes 1.0\n",
           "; bzxw.shx: VexTable's text font for table numbers: digits and signs. Written for\n",
           "; VexTable; the setup program copies it into each host's font folder.\n",
           shape("0", "bzxw - VexTable digits", ["8", "2", "0", "0"]),
           shape("32", "spc", ["2"] + vector_bytes(6, 0) + ["0"])]
    for ch, strokes in DIGITS.items():
        out.append(shape(str(ord(ch)), "c%d" % ord(ch), shape_bytes(strokes, 6)))
    return "".join(out)


def big_font():
    out = ["AutoCAD-86 bigfont 1.0\n",
           "; bzhz.SHX: VexTable's big font with a few East Asian characters (GBK codes).\n",
           "; Written for VexTable; the setup program copies it into each host's font folder.\n",
           "*BIGFONT %d,1,081,0FE\n" % len(HANZI),
           shape("0", "bzhz - VexTable characters", ["9", "0", "0", "9", "0"])]
    for code, name, strokes in HANZI:
        out.append(shape("0%X" % code, name, shape_bytes(strokes, 9)))
    return "".join(out)


here = os.path.dirname(os.path.abspath(__file__))
for name, text in (("bzxw.shx", text_font()), ("bzhz.SHX", big_font())):
    with open(os.path.join(here, name), "w", newline="\n") as f:
        f.write(text)
