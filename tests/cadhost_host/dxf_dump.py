"""Prints what ezdxf reads in a drawing, one line per model-space or paper-space entity.

    /usr/bin/python3 dxf_dump.py FILE.dxf

First line: "audit errors=N fixes=M". Then "SPACE KIND values", coordinates rounded to three
decimals (minus zero printed as zero), angles in degrees.
"""
import sys

import ezdxf


def num(v):
    r = round(float(v), 3)
    return "%g" % (0.0 if r == 0 else r)


def pt(p):
    return "%s,%s" % (num(p[0]), num(p[1]))


def describe(e):
    t = e.dxftype()
    if t == "LINE":
        return "LINE %s %s" % (pt(e.dxf.start), pt(e.dxf.end))
    if t == "CIRCLE":
        return "CIRCLE %s r=%s" % (pt(e.dxf.center), num(e.dxf.radius))
    if t == "TEXT":
        return 'TEXT "%s" %s h=%s rot=%s' % (e.dxf.text, pt(e.dxf.insert), num(e.dxf.height),
                                              num(e.dxf.get("rotation", 0) % 360))
    if t == "LWPOLYLINE":
        pts = " ".join(pt(p) for p in e.get_points("xy"))
        return "LWPOLYLINE closed=%d %s" % (int(e.closed), pts)
    return t


def main():
    doc = ezdxf.readfile(sys.argv[1])
    audit = doc.audit()
    print("audit errors=%d fixes=%d" % (len(audit.errors), len(audit.fixes)))
    for name, space in (("MODEL", doc.modelspace()), ("PAPER", doc.layout())):
        for e in space:
            print(name, describe(e))


if __name__ == "__main__":
    main()
