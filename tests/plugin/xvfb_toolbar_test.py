#!/usr/bin/python3
"""The floating toolbar in the host's window under a real X server (Xvfb), driven from outside
with xdotool: it shows when VexTable loads, 300 pixels left of the host window's right edge;
its settings button opens the settings dialog; it is dragged by its handle; its close mark
closes it with its message; VEXTABLE shows it again where it was left.

Usage: xvfb_toolbar_test.py CADHOST VEXTABLE_ARX
Exits 0 when all went as expected, 1 otherwise, 77 when Xvfb or xdotool is missing.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cadhost_ui"))
from xvfb_window_test import Session as HostSession  # noqa: E402

TIMEOUT = 20.0
GEAR = (70, 80, 100)       # the settings button's picture
CLOSE_MARK = (150, 20, 20)  # the close mark


def frame_buffer(path):
    data = open(path, "rb").read()
    h = struct.unpack(">25I", data[:100])
    size, width, height, order, bpl, ncolors = h[0], h[4], h[5], h[7], h[12], h[19]
    pixels = data[size + ncolors * 12:]

    def pixel(x, y):
        o = y * bpl + x * 4
        b = pixels[o:o + 4]
        return (b[2], b[1], b[0]) if order == 0 else (b[1], b[2], b[3])
    return width, height, pixel


class Session(HostSession):
    """The host window's session, with what the toolbar's checks need: windows by name, their
    geometry and spots of a colour on the screen."""

    def __init__(self, cadhost, work):
        super().__init__(cadhost, work)
        self.fb = os.path.join(work, "Xvfb_screen0")

    def xdo(self, *args, timeout=TIMEOUT):
        out = subprocess.run(["xdotool", *args], env=self.env, stdout=subprocess.PIPE, text=True,
                             timeout=timeout)
        return out.stdout

    def find(self, name, timeout=TIMEOUT):
        """The visible windows named `name` (waiting up to `timeout` for one)."""
        end = time.time() + timeout
        while time.time() < end:
            ids = self.xdo("search", "--onlyvisible", "--name", "^%s$" % name).split()
            if ids:
                return ids
            time.sleep(0.1)
        return []

    def geometry(self, window):
        out = self.xdo("getwindowgeometry", "--shell", window)
        g = dict(line.split("=") for line in out.split() if "=" in line)
        return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])

    def spot_of(self, colour, box):
        """The middle of the pixels of `colour` inside box (x, y, w, h) on the screen."""
        _, _, pixel = frame_buffer(self.fb)
        x0, y0, w, h = box
        hits = [(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w) if pixel(x, y) == colour]
        if not hits:
            return None
        return (sum(p[0] for p in hits) // len(hits), sum(p[1] for p in hits) // len(hits))

    def click(self, x, y):
        self.xdo("mousemove", str(x), str(y))
        time.sleep(0.15)
        self.xdo("click", "1")
        time.sleep(0.3)


def dump(fb, out):
    """The screen as a PNG, to look at when a check fails."""
    import zlib
    w, h, pixel = frame_buffer(fb)
    raw = b"".join(b"\0" + bytes(c for x in range(w) for c in pixel(x, y)) for y in range(h))
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xffffffff)
    open(out, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                          + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main(cadhost, arx):
    if not shutil.which("Xvfb") or not shutil.which("xdotool"):
        print("Xvfb or xdotool missing: skipped")
        return 77
    work = tempfile.mkdtemp(prefix="vextable-toolbar-")
    os.makedirs(os.path.join(work, "install", "Sys16"))
    installed = os.path.join(work, "install", "Sys16", "VexTable.arx")
    shutil.copy(arx, installed)
    script = os.path.join(work, "load.scr")
    with open(script, "w") as f:
        f.write("ARX\nL\n%s\n" % installed)
    s = Session(cadhost, work)
    try:
        log = open(os.path.join(work, "host.log"), "w")
        s.host = subprocess.Popen([cadhost, "--gui", "/b", script], env=s.env, stdout=log,
                                  stderr=subprocess.STDOUT)
        hosts = s.find("CADHOST.*")
        if not s.check(bool(hosts), "the host's window shows"):
            return 1
        toolbars = s.find("VexTable toolbar")
        if not s.check(bool(toolbars), "the toolbar shows when VexTable loads"):
            return 1
        time.sleep(0.5)
        hx, hy, hw, hh = s.geometry(hosts[0])
        # The command line's input, at the foot of the host's window.
        command_line = (hx + hw // 2, hy + hh - 40)
        tx, ty, tw, th = s.geometry(toolbars[0])
        s.check(abs(tx + tw - (hx + hw - 300)) <= 2 and abs(ty - hy) <= 2,
                "the toolbar's right edge 300 pixels left of the host's, level with its top: "
                "host %s, toolbar %s" % ((hx, hy, hw, hh), (tx, ty, tw, th)))

        # The settings button opens the settings dialog through its command.
        gear = s.spot_of(GEAR, (tx, ty, tw, th))
        if s.check(gear is not None, "the settings button shows"):
            s.click(*gear)
            dialogs = s.find("VexTable Setting")
            if s.check(bool(dialogs), "the settings button opens the settings dialog"):
                s.xdo("windowfocus", "--sync", dialogs[0])
                s.xdo("key", "Escape")
                end = time.time() + TIMEOUT
                while time.time() < end and s.find("VexTable Setting", timeout=0.2):
                    time.sleep(0.1)

        # Dragged by its handle (its left end).
        grip = (tx + 8, ty + th // 2)
        s.xdo("mousemove", str(grip[0]), str(grip[1]))
        s.xdo("mousedown", "1")
        time.sleep(0.2)
        s.xdo("mousemove", str(grip[0] - 150), str(grip[1] + 60))
        time.sleep(0.2)
        s.xdo("mousemove", str(grip[0] - 200), str(grip[1] + 100))
        time.sleep(0.2)
        s.xdo("mouseup", "1")
        time.sleep(0.5)
        mx, my, _, _ = s.geometry(toolbars[0])
        s.check((mx, my) == (tx - 200, ty + 100), "dragged by its handle to %s, not %s" % ((tx - 200, ty + 100), (mx, my)))

        # The close mark closes it; VEXTABLE brings it back where it was.
        mark = s.spot_of(CLOSE_MARK, (mx, my, tw, th))
        if s.check(mark is not None, "the close mark shows"):
            s.click(*mark)
            end = time.time() + TIMEOUT
            while time.time() < end and s.find("VexTable toolbar", timeout=0.2):
                time.sleep(0.1)
            s.check(not s.find("VexTable toolbar", timeout=0.5), "the close mark closes the toolbar")
            s.xdo("windowfocus", "--sync", hosts[0])
            s.click(*command_line)
            s.type("VEXTABLE")
            again = s.find("VexTable toolbar")
            if s.check(bool(again), "VEXTABLE shows the toolbar again"):
                time.sleep(0.5)
                ax, ay, _, _ = s.geometry(again[0])
                s.check((ax, ay) == (mx, my), "back where it was closed: %s, not %s" % ((mx, my), (ax, ay)))
        # The toolbar's place was written when it closed; the host is simply ended.
        log.close()
        ini = open(os.path.join(work, "install", "VexTable.ini"), encoding="utf-8").read()
        s.check("[MAIN_TOOLBAR]" in ini, "the toolbar's place is kept in the settings file")
    finally:
        if s.failures and os.path.exists(s.fb):
            dump(s.fb, os.path.join(work, "screen.png"))
        s.stop()
    if s.failures:
        print("%d check(s) failed; the work folder %s is kept" % (len(s.failures), work))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("the toolbar ran under Xvfb as a drafter drives it")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
