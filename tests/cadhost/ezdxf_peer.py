#!/usr/bin/python3
"""The peer side of the host's drawing-file tests, run with Debian's python3-ezdxf.

    ezdxf_peer.py audit FILE     lists every error and fix ezdxf's recovery and audit find;
                                 exits 1 when there is any
    ezdxf_peer.py summary FILE   prints what the drawing holds, as JSON, in a form that does
                                 not depend on who wrote the file
    ezdxf_peer.py make FILE      writes a drawing with one LINE and one TEXT for the host to read
"""
import json
import sys

import ezdxf
from ezdxf import recover


def audit(path):
    doc, auditor = recover.readfile(path)
    found = [f"recover error {e.code}: {e.message}" for e in auditor.errors]
    found += [f"recover fix {e.code}: {e.message}" for e in auditor.fixes]
    after = doc.audit()
    found += [f"audit error {e.code}: {e.message}" for e in after.errors]
    found += [f"audit fix {e.code}: {e.message}" for e in after.fixes]
    for line in found:
        print(line)
    return 1 if found else 0


def r(v):
    return [round(c, 6) for c in v]


def entity(e):
    t = e.dxftype()
    out = [t, e.dxf.layer.upper(), e.dxf.get("color", 256), e.dxf.get("linetype", "BYLAYER").upper()]
    if t == "LINE":
        out += [r(e.dxf.start), r(e.dxf.end)]
    elif t in ("CIRCLE", "ARC"):
        out += [r(e.dxf.center), round(e.dxf.radius, 6)]
        if t == "ARC":
            out += [round(e.dxf.start_angle, 6), round(e.dxf.end_angle, 6)]
    elif t == "TEXT":
        h, v = e.dxf.get("halign", 0), e.dxf.get("valign", 0)
        p = e.dxf.insert if (h, v) == (0, 0) else e.dxf.align_point
        out += [e.dxf.text, e.dxf.get("style", "Standard").upper(), round(e.dxf.height, 6),
                round(e.dxf.get("width", 1), 6), round(e.dxf.get("rotation", 0), 6), h, v, r(p)]
    elif t == "MTEXT":
        out += [e.text, r(e.dxf.insert)]
    elif t == "LWPOLYLINE":
        out += [e.closed, [r(p) for p in e.get_points("xyb")]]
    elif t == "INSERT":
        out += [e.dxf.name.upper(), r(e.dxf.insert), round(e.dxf.get("xscale", 1), 6),
                round(e.dxf.get("rotation", 0), 6), [[a.dxf.tag, a.dxf.text] for a in e.attribs]]
    elif t == "DIMENSION":
        out += [e.dxf.dimstyle.upper(), e.dxf.geometry.upper().startswith("*D")]
    elif t == "HATCH":
        out += [len(e.paths)]
    elif t == "POLYLINE":
        out += [[r(v.dxf.location) for v in e.vertices]]
    return out


def summary(path):
    doc = ezdxf.readfile(path)
    blocks = {}
    for b in doc.blocks:
        if b.is_any_layout or b.name.upper().startswith("*D"):
            continue
        blocks[b.name.upper()] = [r(b.block.dxf.base_point), [entity(e) for e in b]]
    out = {
        "insunits": doc.header.get("$INSUNITS", 0),
        "layers": sorted([l.dxf.name.upper(), abs(l.dxf.color), l.dxf.linetype.upper()] for l in doc.layers),
        "styles": sorted([s.dxf.name.upper(), s.dxf.font, s.dxf.get("bigfont", ""),
                          round(s.dxf.get("width", 1), 6)] for s in doc.styles if s.dxf.name),
        "linetypes": sorted(lt.dxf.name.upper() for lt in doc.linetypes),
        "dimstyles": sorted(d.dxf.name.upper() for d in doc.dimstyles),
        "blocks": blocks,
        "modelspace": [entity(e) for e in doc.modelspace()],
        "paperspace": [entity(e) for e in doc.layouts.get("Layout1")],
    }
    print(json.dumps(out, ensure_ascii=False, sort_keys=True, indent=1))
    return 0


def make(path):
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "Peer"})
    msp.add_text("来自 ezdxf", dxfattribs={"height": 2.5}).set_placement((1, 1))
    doc.saveas(path)
    return 0


if __name__ == "__main__":
    command, path = sys.argv[1], sys.argv[2]
    sys.exit({"audit": audit, "summary": summary, "make": make}[command](path))
