#!/usr/bin/python3
"""The host's window run as a program under a real X server (Xvfb), driven from outside with
xdotool as a drafter drives it: open a drawing and see it, draw a LINE by two clicks, select it
by a window, MOVE it by a drag (watching the preview), undo and redo, load VexTable.arx through
Tools > Load Application, save, quit. What the screen shows is read from Xvfb's frame buffer;
the saved drawing is read with ezdxf.

Usage: xvfb_window_test.py CADHOST VEXTABLE_ARX
Exits 0 when all went as expected, 1 otherwise, 77 when Xvfb or xdotool is missing.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

import ezdxf

BACKGROUND = (33, 40, 48)  # the view's background
TIMEOUT = 20.0


class Screen:
    """The frame buffer of an Xvfb screen, read as it is now (an XWD file)."""

    def __init__(self, path):
        self.path = path

    def grab(self):
        data = open(self.path, "rb").read()
        h = struct.unpack(">25I", data[:100])
        size, width, height, order, bpl, ncolors = h[0], h[4], h[5], h[7], h[12], h[19]
        self.width, self.height = width, height
        self.order, self.bpl = order, bpl
        self.data = data[size + ncolors * 12:]
        return self

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        o = y * self.bpl + x * 4
        b = self.data[o:o + 4]
        return (b[2], b[1], b[0]) if self.order == 0 else (b[1], b[2], b[3])

    def box_of(self, colour):
        """The bounding box of the pixels of one colour, as (x0, y0, x1, y1), or None."""
        xs, ys = [], []
        for y in range(0, self.height, 2):
            row = [x for x in range(0, self.width, 2) if self.pixel(x, y) == colour]
            if row:
                xs += [row[0], row[-1]]
                ys.append(y)
        return (min(xs), min(ys), max(xs), max(ys)) if xs else None

    def lit_near(self, x, y, reach=2):
        return any(self.pixel(x + dx, y + dy) not in (None, BACKGROUND)
                   for dx in range(-reach, reach + 1) for dy in range(-reach, reach + 1))


class Session:
    def __init__(self, cadhost, work):
        self.cadhost, self.work = cadhost, work
        self.failures = []
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x960x24", "-nolisten", "tcp",
             "-fbdir", work], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        # Xvfb writes the number of the display it chose, then a line break.
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                break
            number += chunk
        os.close(read)
        number = number.decode().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=":" + number, CADHOST_REGISTRY_DIR=work + "/registry")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.screen = Screen(os.path.join(work, "Xvfb_screen0"))
        self.host = None

    def check(self, ok, what):
        if not ok:
            self.failures.append(what)
            print("FAILED: " + what, flush=True)
        return ok

    def xdo(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, stdout=subprocess.PIPE)

    def start(self, *args):
        self.log = open(os.path.join(self.work, "host.log"), "w")
        self.host = subprocess.Popen([self.cadhost, *args], env=self.env, stdout=self.log,
                                     stderr=subprocess.STDOUT)
        out = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "CADHOST"],
                             env=self.env, stdout=subprocess.PIPE, text=True, timeout=TIMEOUT)
        self.window = out.stdout.split()[0]
        self.xdo("windowfocus", "--sync", self.window)

    def wait_for(self, condition, what):
        """Polls `condition(screen)` until it holds; records a failure after the timeout."""
        end = time.time() + TIMEOUT
        while time.time() < end:
            if condition(self.screen.grab()):
                return True
            time.sleep(0.1)
        return self.check(False, what)

    def type_text(self, text):
        # From standard input: a text like "-20,-20" is no option of xdotool's.
        subprocess.run(["xdotool", "type", "--delay", "20", "--file", "-"], input=text.encode(),
                       env=self.env, check=True, stdout=subprocess.PIPE)

    def type(self, text):
        self.type_text(text)
        self.xdo("key", "Return")

    def stop(self):
        if self.host and self.host.poll() is None:
            self.host.kill()
        self.xvfb.kill()
        self.xvfb.wait()


def make_drawing(cadhost, path, work):
    script = os.path.join(work, "make.scr")
    with open(script, "w") as f:
        f.write("LINE 0,0 100,0 100,60 0,60 C\nSAVEAS\n%s\n" % path)
    env = dict(os.environ, CADHOST_REGISTRY_DIR=work + "/registry")
    env.pop("DISPLAY", None)
    subprocess.run([cadhost, "--script", script], env=env, check=True, stdout=subprocess.DEVNULL)


def main(cadhost, arx):
    if not shutil.which("Xvfb") or not shutil.which("xdotool"):
        print("Xvfb or xdotool missing: skipped")
        return 77
    work = tempfile.mkdtemp(prefix="cadhost-xvfb-")
    drawing = os.path.join(work, "frame.dxf")
    saved = os.path.join(work, "saved.dxf")
    # The plug-in as installed: loading it sets up its folders beside Sys16/, which shows from
    # outside that it was loaded.
    os.makedirs(os.path.join(work, "install", "Sys16"))
    installed = os.path.join(work, "install", "Sys16", "VexTable.arx")
    shutil.copy(arx, installed)
    make_drawing(cadhost, drawing, work)
    s = Session(cadhost, work)
    try:
        s.start(drawing)
        # The view is the area of its background colour; the frame shows in it.
        view = None

        def shown(screen):
            nonlocal view
            view = screen.box_of(BACKGROUND)
            return view is not None and view[2] - view[0] > 200
        if not s.wait_for(shown, "the drawing view shows"):
            return 1
        # A known view: the window from (-20,-20) to (120,80) fills it.
        s.type("ZOOM")
        s.type("W")
        s.type("-20,-20")
        s.type("120,80")
        x0, y0, x1, y1 = view
        cx, cy = (x0 + x1 + 1) / 2, (y0 + y1 + 1) / 2
        scale = min((x1 - x0 + 1) / 140.0, (y1 - y0 + 1) / 100.0)

        def at(x, y):
            return int(round(cx + (x - 50) * scale)), int(round(cy - (y - 30) * scale))

        s.wait_for(lambda sc: sc.lit_near(*at(50, 0)) and sc.lit_near(*at(100, 30)),
                   "the frame of the drawing shows after ZOOM W")

        def click(x, y):
            s.xdo("mousemove", *map(str, at(x, y)))
            time.sleep(0.1)
            s.xdo("click", "1")
            time.sleep(0.2)

        # LINE by two clicks, away from the frame so that no snap moves them.
        s.type("LINE")
        time.sleep(0.3)
        click(20, 20)
        click(35, 45)
        s.xdo("key", "Return")
        s.wait_for(lambda sc: sc.lit_near(*at(27.5, 32.5)), "the new line shows")
        # A window from left to right around it: press, drag, release.
        s.xdo("mousemove", *map(str, at(15, 15)))
        s.xdo("mousedown", "1")
        time.sleep(0.2)
        s.xdo("mousemove", *map(str, at(40, 50)))
        time.sleep(0.2)
        s.xdo("mouseup", "1")
        time.sleep(0.3)
        # MOVE takes the selection; the base point, then the line follows the cursor.
        s.type("MOVE")
        time.sleep(0.3)
        click(30, 52)
        s.xdo("mousemove", *map(str, at(60, 47)))
        s.wait_for(lambda sc: sc.lit_near(*at(57.5, 27.5)), "the drag preview follows the cursor")
        s.xdo("click", "1")
        s.wait_for(lambda sc: sc.lit_near(*at(57.5, 27.5)) and not sc.lit_near(*at(27.5, 32.5)),
                   "the line moved")
        s.xdo("key", "ctrl+z")
        s.wait_for(lambda sc: sc.lit_near(*at(27.5, 32.5)) and not sc.lit_near(*at(57.5, 27.5)),
                   "undo puts the line back")
        s.xdo("key", "ctrl+y")
        s.wait_for(lambda sc: sc.lit_near(*at(57.5, 27.5)) and not sc.lit_near(*at(27.5, 32.5)),
                   "redo moves it again")
        # Tools > Load Application: the dialog takes the path; Enter loads, Escape closes.
        s.xdo("key", "alt+t")
        time.sleep(0.3)
        s.xdo("key", "l")
        time.sleep(0.8)
        s.type_text(installed)
        s.xdo("key", "Return")
        time.sleep(0.8)
        s.xdo("key", "Escape")
        time.sleep(0.3)
        s.xdo("windowfocus", "--sync", s.window)
        # Save As: the file dialog takes the name.
        s.type("SAVEAS")
        time.sleep(1.0)
        s.type_text(saved)
        s.xdo("key", "Return")
        end = time.time() + TIMEOUT
        while time.time() < end and not os.path.exists(saved):
            time.sleep(0.1)
        s.check(os.path.exists(saved), "the drawing was saved")
        s.xdo("windowfocus", "--sync", s.window)
        s.type("QUIT")
        try:
            status = s.host.wait(timeout=TIMEOUT)
            s.check(status == 0, "the host ends with status 0 at QUIT, not %s" % status)
        except subprocess.TimeoutExpired:
            s.check(False, "the host ends at QUIT")
        s.log.close()
        s.check(os.path.exists(os.path.join(work, "install", "Language", "English.ini")),
                "VexTable.arx was loaded: it wrote its language packs")
        if os.path.exists(saved):
            doc = ezdxf.readfile(saved)
            lines = [(round(e.dxf.start.x), round(e.dxf.start.y), round(e.dxf.end.x),
                      round(e.dxf.end.y)) for e in doc.modelspace().query("LINE")]
            s.check(len(lines) == 5, "four lines of the frame and the new one: %s" % lines)
            moved = [l for l in lines if abs(l[0] - 50) <= 1 and abs(l[1] - 15) <= 1
                     and abs(l[2] - 65) <= 1 and abs(l[3] - 40) <= 1]
            s.check(len(moved) == 1, "the new line saved where it was moved: %s" % lines)
    finally:
        s.stop()
    if s.failures:
        print("%d check(s) failed; the work folder %s is kept" % (len(s.failures), work))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("the window ran under Xvfb as a drafter drives it")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
