#!/usr/bin/python3
"""Prints what ezdxf reads from a DXF file as one JSON object: the audit's error and fix counts
and the model-space entities (kind, layer, and their geometry or text), for tests that let a
real peer check our drawings."""
import json
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
entities = []
for e in doc.modelspace():
    item = {"type": e.dxftype(), "layer": e.dxf.layer}
    if e.dxftype() == "LINE":
        item["start"] = list(e.dxf.start)[:2]
        item["end"] = list(e.dxf.end)[:2]
    elif e.dxftype() == "TEXT":
        item["text"] = e.dxf.text
        item["height"] = e.dxf.height
        item["halign"] = e.dxf.halign
        item["valign"] = e.dxf.valign
        point = e.dxf.align_point if (e.dxf.halign or e.dxf.valign) else e.dxf.insert
        item["point"] = list(point)[:2]
        item["style"] = e.dxf.style
    elif e.dxftype() == "INSERT":
        item["name"] = e.dxf.name
        item["insert"] = list(e.dxf.insert)[:2]
        item["scale"] = e.dxf.xscale
        item["block_entities"] = [b.dxftype() for b in doc.blocks[e.dxf.name]]
    entities.append(item)
print(json.dumps({"errors": len(auditor.errors), "fixes": len(auditor.fixes),
                  "insunits": doc.header.get("$INSUNITS", 0),
                  "layers": sorted(layer.dxf.name for layer in doc.layers),
                  "styles": {s.dxf.name: [s.dxf.font, s.dxf.bigfont] for s in doc.styles},
                  "entities": entities}))
