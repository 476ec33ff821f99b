#!/usr/bin/python3
r"""Writes the drawings other programs make that the host's tests open:

- ezdxf_sample.dxf: R2013, with entity kinds the host keeps without modelling them (MTEXT,
  DIMENSION, HATCH, attributes, a 3D polyline), Chinese text, layers, text styles and blocks;
- ezdxf_gbk_r2000.dxf: R2000 in code page ANSI_936 (GBK), with one character GBK lacks, which
  ezdxf writes as a \U+XXXX escape;
- ezdxf_r12.dxf: R12, with a 2D polyline with a bulge, a block and a point.

Run with Debian's python3-ezdxf in this folder:

    /usr/bin/python3 make_ezdxf_sample.py
"""
import ezdxf


def gbk_r2000(path):
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4
    doc.encoding = "cp936"
    doc.layers.add("图层", color=2)
    msp = doc.modelspace()
    msp.add_text("中文 GBK", dxfattribs={"layer": "图层", "height": 2.5}).set_placement((0, 0))
    # U+20AC (euro sign) exists in GBK's code page 936; U+0E01 (Thai) does not.
    msp.add_text("Thai \u0e01 €", dxfattribs={"height": 2.5}).set_placement((0, -5))
    doc.saveas(path)
    # ezdxf 0.18 writes the bytes in GBK but names code page ANSI_1252 in the header; a Chinese
    # CAD host names ANSI_936, which is what the host must decode.
    with open(path, "rb") as f:
        data = f.read()
    data = data.replace(b"$DWGCODEPAGE\n  3\nANSI_1252\n", b"$DWGCODEPAGE\n  3\nANSI_936\n")
    with open(path, "wb") as f:
        f.write(data)


def r12(path):
    doc = ezdxf.new("R12")
    block = doc.blocks.new("MARK")
    block.add_line((0, 0), (5, 5))
    msp = doc.modelspace()
    msp.add_polyline2d([(0, 0, 0, 0, 1), (10, 0, 0, 0, 0), (10, 10, 0, 0, 0)],
                       format="xyseb", close=True)
    msp.add_blockref("MARK", (20, 0))
    msp.add_point((1, 2))
    msp.add_text("R12 text", dxfattribs={"height": 2}).set_placement((0, -5))
    doc.saveas(path)


def main(path):
    doc = ezdxf.new("R2013", setup=["linetypes"])
    doc.header["$INSUNITS"] = 4
    doc.layers.add("Sideline", color=1, linetype="CONTINUOUS")
    doc.layers.add("Inline", color=3, linetype="DASHED")
    doc.layers.add("文字", color=7)
    doc.styles.add("Table", font="txt.shx").dxf.width = 0.7
    doc.styles.get("Table").dxf.bigfont = "gbcbig.shx"
    doc.styles.add("宋体", font="simsun.ttf")

    block = doc.blocks.new("Frame", base_point=(1, 2))
    block.add_lwpolyline([(0, 0), (20, 0), (20, 10), (0, 10)], close=True)
    block.add_circle((10, 5), 3)
    block.add_attdef("TAG", (1, 1), dxfattribs={"height": 2.5})

    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 0), dxfattribs={"layer": "Sideline"})
    msp.add_line((0, -10), (100, -10), dxfattribs={"layer": "Inline", "color": 5})
    msp.add_text("表格标题", dxfattribs={"layer": "文字", "style": "Table", "height": 3.5}
                 ).set_placement((50, -5), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    msp.add_text("Left text", dxfattribs={"height": 2.5}).set_placement((5, -20))
    msp.add_mtext("多行文字\\P第二行 MText", dxfattribs={"char_height": 2.5, "style": "宋体"}
                  ).set_location((0, 30))
    msp.add_arc((50, 50), 10, 30, 120)
    msp.add_lwpolyline([(0, 60, 0, 0, 0.5), (20, 60, 0, 0, 0), (20, 70)], format="xyseb")
    msp.add_polyline3d([(0, 0, 0), (10, 10, 5), (20, 0, 10)])
    ref = msp.add_blockref("Frame", (120, 0), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 30})
    ref.add_attrib("TAG", "图号 A-1", (121, 1))
    dim = msp.add_linear_dim(base=(0, 20), p1=(0, 0), p2=(100, 0), dimstyle="EZDXF")
    dim.render()
    hatch = msp.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 80), (30, 80), (30, 100), (0, 100)], is_closed=True)
    doc.layouts.get("Layout1").add_text("图纸空间", dxfattribs={"height": 5}).set_placement((10, 10))
    doc.saveas(path, encoding="utf-8")


if __name__ == "__main__":
    main("ezdxf_sample.dxf")
    gbk_r2000("ezdxf_gbk_r2000.dxf")
    r12("ezdxf_r12.dxf")
