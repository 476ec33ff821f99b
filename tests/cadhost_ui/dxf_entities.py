#!/usr/bin/python3
"""Prints the lines and texts of a drawing's model space as ezdxf reads them, one a line:

    LINE x1 y1 x2 y2
    TEXT x y height width_factor rotation_degrees text

Points are the ones written in the file (a text's first alignment point is its baseline start).
Usage: dxf_entities.py DRAWING
"""
import sys

import ezdxf


def main(path):
    doc = ezdxf.readfile(path)
    for e in doc.modelspace():
        if e.dxftype() == "LINE":
            s, t = e.dxf.start, e.dxf.end
            print(f"LINE {s.x:.6f} {s.y:.6f} {t.x:.6f} {t.y:.6f}")
        elif e.dxftype() == "TEXT":
            p = e.dxf.insert
            print(f"TEXT {p.x:.6f} {p.y:.6f} {e.dxf.height:.6f} {e.dxf.width:.6f} "
                  f"{e.dxf.rotation:.6f} {e.dxf.text}")


if __name__ == "__main__":
    main(sys.argv[1])
