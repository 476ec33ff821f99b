#!/usr/bin/python3
"""Writes a drawing whose rules form an N x N grid (default 2,000 x 2,000, a 488 KB file of
lines): beyond the table limits, which a read must refuse before it builds anything from the
rules. Not kept in the tree; the tests write it where they need it:

    /usr/bin/python3 make_big_grid.py OUT.dxf [N]
"""
import sys

import ezdxf


def main(path, n):
    doc = ezdxf.new("R2010")
    doc.header["$INSUNITS"] = 4
    msp = doc.modelspace()
    for k in range(n + 1):
        msp.add_line((0, -k), (n, -k))
        msp.add_line((k, 0), (k, -n))
    doc.saveas(path)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 2000)
