#!/usr/bin/python3
"""Writes example_table.vtf.dxf, the picture drawing of example_table.vtf: one block per picture
cell ("VexTable0", a bolt head seen from above; "VexTable1", a washer), each with its lower-left
corner at the origin, as the picture store keeps them. Run with Debian's python3-ezdxf."""
import math
import os

import ezdxf

doc = ezdxf.new("R2010")
doc.header["$INSUNITS"] = 4

bolt = doc.blocks.new("VexTable0")
r = 10.0
hexagon = [(r + r * math.cos(math.radians(a)), r * math.sin(math.radians(60)) + r * math.sin(math.radians(a)))
           for a in range(0, 360, 60)]
bolt.add_lwpolyline(hexagon, close=True)
bolt.add_circle((r, r * math.sin(math.radians(60))), 6.0)
bolt.add_line((r - 7.5, r * math.sin(math.radians(60))), (r + 7.5, r * math.sin(math.radians(60))))

washer = doc.blocks.new("VexTable1")
washer.add_circle((12, 12), 12)
washer.add_circle((12, 12), 6.5)

doc.saveas(os.path.join(os.path.dirname(os.path.abspath(__file__)), "example_table.vtf.dxf"))
