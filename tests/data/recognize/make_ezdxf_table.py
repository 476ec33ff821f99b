#!/usr/bin/python3
"""Writes ezdxf_table.dxf: a table drawn by another program, the way drafters often draw one:
every cell edge a line of its own, texts placed with their own justification, a merged title
row and a circle as a cell picture. Run with Debian's python3-ezdxf."""
import os

import ezdxf
from ezdxf.enums import TextEntityAlignment

doc = ezdxf.new("R2010")
doc.header["$INSUNITS"] = 4
msp = doc.modelspace()

x0, y0 = 200.0, 100.0
widths = [20.0, 40.0, 25.0]
heights = [12.0, 8.0, 8.0]
xs = [x0]
for w in widths:
    xs.append(xs[-1] + w)
ys = [y0]
for h in heights:
    ys.append(ys[-1] - h)

# Horizontal edges, one line per cell; the title row has no inner verticals.
for i, y in enumerate(ys):
    for j in range(len(widths)):
        msp.add_line((xs[j], y), (xs[j + 1], y))
for j, x in enumerate(xs):
    for i in range(len(heights)):
        if i == 0 and 0 < j < len(widths):
            continue  # merged title row
        msp.add_line((x, ys[i]), (x, ys[i + 1]))


def text(s, x, y, align, height=3.5):
    msp.add_text(s, dxfattribs={"height": height}).set_placement((x, y), align=align)


text("Bill of materials", (xs[0] + xs[3]) / 2, (ys[0] + ys[1]) / 2, TextEntityAlignment.MIDDLE_CENTER, 5)
text("No.", (xs[0] + xs[1]) / 2, (ys[1] + ys[2]) / 2, TextEntityAlignment.MIDDLE_CENTER)
text("Name", xs[1] + 1, ys[1] - 1, TextEntityAlignment.TOP_LEFT)
text("Qty", xs[3] - 1, ys[2] + 0.5, TextEntityAlignment.BOTTOM_RIGHT)
text("1", (xs[0] + xs[1]) / 2, (ys[2] + ys[3]) / 2, TextEntityAlignment.MIDDLE_CENTER, 3)
text("螺栓", xs[1] + 1, (ys[2] + ys[3]) / 2, TextEntityAlignment.MIDDLE_LEFT, 3)
msp.add_circle(((xs[2] + xs[3]) / 2, (ys[2] + ys[3]) / 2), 2.5)

doc.saveas(os.path.join(os.path.dirname(os.path.abspath(__file__)), "ezdxf_table.dxf"))
