#!/usr/bin/python3
"""The table editor inside the host's window, run as programs under a real X server (Xvfb) with
a window manager (openbox), driven from outside with xdotool as a drafter drives them:

- the host starts with VexTable loaded by a start script (/b); VEXOPENTABLE typed on the host's
  command line shows the editor over the host's window, which keeps the input; texts are typed
  into its grid cells, three cells are merged with the format toolbar's button, Draw hides the
  editor and a click in the drawing puts the table there (saved with SAVEAS and read with
  ezdxf: the texts and the rules are there);
- VEXEDITTABLE with a crossing window around the drawn table puts the editor away while the
  window is dragged (the host's window stays) and shows it again where it was, with the same
  texts and merges (the editor's Save writes the table, which `vextable dump` reads); a text is
  changed, Draw and Enter at the placing prompt replace the table in place: the old texts are
  gone, the rules lie where they lay;
- `vextable edit` on its own: typing, Draw, the drawing file named in the file dialog, a DXF
  that ezdxf audits clean.

What the screen shows is read from Xvfb's frame buffer; screenshots of each step are kept as PNG
in the work folder when a check fails (or always with VEXTABLE_KEEP_SCREENSHOTS=1).

Usage: xvfb_editor_test.py CADHOST VEXTABLE_ARX VEXTABLE
Exits 0 when all went as expected, 1 otherwise, 77 when Xvfb, xdotool or openbox is missing.
"""

import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

import ezdxf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cadhost_ui"))
from xvfb_window_test import BACKGROUND, Screen, Session  # noqa: E402

TIMEOUT = 20.0
EDITOR_TITLE = "^VexTable$"  # the editor's title in the English pack
# The blank table VEXOPENTABLE shows: 6 x 6 cells of 5 x 15 mm, drawn at plot scale 1.
ROW_MM, COL_MM = 5.0, 15.0
TABLE_AT = (10.0, 50.0)  # where the drafter clicks the table's top-left corner
TEXTS = {(0, 0): "Pos", (0, 2): "Name", (1, 0): "A1", (1, 1): "B2", (2, 3): "Pipe"}


def write_png(path, width, height, rgb_rows):
    """A PNG of 8-bit RGB rows (bytes of 3 * width each)."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    raw = b"".join(b"\x00" + row for row in rgb_rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        f.write(chunk(b"IEND", b""))


def screenshot(screen, path, box=None):
    """Writes the screen (or the box x0, y0, x1, y1 of it) as a PNG."""
    s = screen.grab()
    x0, y0, x1, y1 = box or (0, 0, s.width, s.height)
    x0, y0 = max(0, x0), max(0, y0)
    x1, y1 = min(s.width, x1), min(s.height, y1)
    rows = []
    for y in range(y0, y1):
        o = y * s.bpl
        line = s.data[o + 4 * x0:o + 4 * x1]
        if s.order == 0:  # BGRX
            row = bytearray(3 * (x1 - x0))
            row[0::3], row[1::3], row[2::3] = line[2::4], line[1::4], line[0::4]
        else:  # XRGB
            row = bytearray(3 * (x1 - x0))
            row[0::3], row[1::3], row[2::3] = line[1::4], line[2::4], line[3::4]
        rows.append(bytes(row))
    write_png(path, x1 - x0, y1 - y0, rows)


class EditorSession(Session):
    """The host's session with a window manager, the plug-in's editor and screenshots."""

    def __init__(self, cadhost, work):
        super().__init__(cadhost, work)
        self.shots = 0
        # A drafter's desktop has a window manager: minimising and restoring are its work.
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.wait_for_wm()
        except RuntimeError:
            self.stop()
            raise

    def wait_for_wm(self):
        end = time.time() + TIMEOUT
        while time.time() < end:
            out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            if "window id" in out.stdout:
                return
            time.sleep(0.1)
        raise RuntimeError("openbox did not start")

    def shot(self, name, box=None):
        self.shots += 1
        path = os.path.join(self.work, "%02d-%s.png" % (self.shots, name))
        screenshot(self.screen, path, box)
        return path

    def check(self, ok, what):
        if not ok:
            self.shot("failed")
        return super().check(ok, what)

    def find(self, title, visible=True, timeout=TIMEOUT):
        """The id of the first window whose name matches `title`, waiting for it; None after
        the timeout."""
        args = ["xdotool", "search", "--sync"] + (["--onlyvisible"] if visible else []) + ["--name", title]
        try:
            out = subprocess.run(args, env=self.env, stdout=subprocess.PIPE, text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            return None
        ids = out.stdout.split()
        return ids[0] if ids else None

    def geometry(self, window):
        """The window's client area as (x, y, width, height) on the screen (xwininfo's: xdotool
        adds the frame's offset once more to a window a window manager framed)."""
        out = subprocess.run(["xwininfo", "-id", window], env=self.env, stdout=subprocess.PIPE,
                             text=True, check=True).stdout
        g = {}
        for line in out.splitlines():
            key, _, value = line.strip().partition(":")
            g[key] = value.strip()
        return (int(g["Absolute upper-left X"]), int(g["Absolute upper-left Y"]), int(g["Width"]),
                int(g["Height"]))

    def state(self, window):
        """The window's WM_STATE as the window manager sets it: "Normal", "Iconic" or ""
        (withdrawn: hidden)."""
        out = subprocess.run(["xprop", "-id", window, "WM_STATE"], env=self.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True).stdout
        for state in ("Normal", "Iconic"):
            if "window state: " + state in out:
                return state
        return ""

    def wait_state(self, window, states, what):
        end = time.time() + TIMEOUT
        while time.time() < end:
            if self.state(window) in states:
                return True
            time.sleep(0.1)
        return self.check(False, "%s (WM_STATE is %r)" % (what, self.state(window)))

    def active(self):
        out = subprocess.run(["xdotool", "getactivewindow"], env=self.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True).stdout.split()
        return out[0] if out else None

    def wait_dialog(self, behind, what):
        """Waits until a window other than `behind` has the input (a dialog opened over it)."""
        end = time.time() + TIMEOUT
        while time.time() < end:
            active = self.active()
            if active is not None and active != behind:
                time.sleep(0.3)  # its line edit takes the focus once it is shown
                return True
            time.sleep(0.1)
        return self.check(False, what)

    def name_file(self, path, behind):
        """Types `path` into the file dialog that has the input and ends it with ENTER; waits
        for the file. An ENTER taken by the name field's completion list (other folders in /tmp
        match as the path is typed) is given again while the dialog is still there."""
        self.type_text(path)
        time.sleep(0.2)
        for _ in range(3):
            self.xdo("key", "Return")
            end = time.time() + TIMEOUT / 3
            while time.time() < end and not os.path.exists(path):
                time.sleep(0.1)
                if self.active() == behind:
                    break
            if os.path.exists(path) or self.active() == behind:
                break
        end = time.time() + TIMEOUT
        while time.time() < end and not os.path.exists(path):
            time.sleep(0.1)
        return os.path.exists(path)

    def click_at(self, x, y, button="1"):
        self.xdo("mousemove", str(int(x)), str(int(y)))
        time.sleep(0.1)
        self.xdo("click", button)
        time.sleep(0.2)

    def drag(self, start, end):
        self.xdo("mousemove", *map(str, map(int, start)))
        self.xdo("mousedown", "1")
        time.sleep(0.2)
        self.xdo("mousemove", *map(str, map(int, end)))
        time.sleep(0.2)
        self.xdo("mouseup", "1")
        time.sleep(0.3)

    def stop(self):
        super().stop()
        if self.wm.poll() is None:
            self.wm.kill()
        self.wm.wait()


def differs(a, b, by=60):
    return a is not None and b is not None and sum(abs(x - y) for x, y in zip(a, b)) > by


class Editor:
    """The editor window seen from outside: where its grid and buttons are on the screen."""

    def __init__(self, session, window):
        self.s, self.window = session, window
        self.x, self.y, self.w, self.h = session.geometry(window)

    def centre(self):
        return self.x + self.w // 2, self.y + self.h // 2

    def draw_button(self):
        # Draw and Cancel sit at the bottom right, 80 x 24 each: Draw, 30 pixels, Cancel,
        # 28 pixels and the 2-pixel margin.
        return self.x + self.w - 2 - 28 - 80 - 30 - 40, self.y + self.h - 2 - 12

    def cancel_button(self):
        return self.x + self.w - 2 - 28 - 40, self.y + self.h - 2 - 12

    def merge_button(self):
        """The merge button of the format toolbar: the first button right of the text-height
        box, the lower of the two boxes (the zoom box is on the file toolbar above it). Found
        on the screen: the boxes are the long white runs of the toolbars."""
        sc = self.s.screen.grab()
        white = (255, 255, 255)
        runs = {}  # y -> (x0, x1) of the longest white run of that row
        for y in range(self.y, self.y + 100):
            best, x = None, self.x
            while x < self.x + self.w:
                if sc.pixel(x, y) == white:
                    x0 = x
                    while x < self.x + self.w and sc.pixel(x, y) == white:
                        x += 1
                    # A box's white field: longer than a toolbar button, shorter than a cell.
                    if 25 <= x - x0 <= 60 and (best is None or x - x0 > best[1] - best[0]):
                        best = (x0, x)
                x += 1
            if best:
                runs[y] = best
        # Rows through a box's text split its field: the rows of one box share the field's left
        # edge instead.
        boxes = {}
        for y, (x0, _) in runs.items():
            boxes.setdefault(x0, []).append(y)
        boxes = sorted((ys for ys in boxes.values() if len(ys) >= 4), key=min)
        if len(boxes) < 2:
            return None
        box = boxes[1]
        yc = (min(box) + max(box)) // 2
        x0 = runs[box[0]][0]
        # The box is 60 pixels wide with its frame; right of it a separator, then the button.
        x = x0 + 60
        background = sc.pixel(x + 3, yc - 10)

        def ink(col):
            return any(differs(sc.pixel(col, yy), background, 90) for yy in range(yc - 6, yc + 7))
        while x < self.x + self.w:
            if ink(x):
                first = x
                while x < self.x + self.w and ink(x):
                    x += 1
                if x - first >= 6:  # an icon, not the separator's line
                    return (first + x) // 2, yc
            x += 1
        return None


def make_start_script(work, arx):
    script = os.path.join(work, "start.scr")
    with open(script, "w") as f:
        f.write("APPLOAD\n%s\n" % arx)
    return script


def dump_table(vextable, path):
    out = subprocess.run([vextable, "dump", path], stdout=subprocess.PIPE, text=True)
    return json.loads(out.stdout) if out.returncode == 0 else None


def texts_and_lines(path):
    """The texts (text -> insertion point) and the rules (sorted end points) of a drawing, and
    its audit's error count."""
    doc = ezdxf.readfile(path)
    errors = len(doc.audit().errors)
    texts, lines = {}, []
    for e in doc.modelspace():
        if e.dxftype() == "TEXT":
            p = e.dxf.align_point if (e.dxf.halign or e.dxf.valign) else e.dxf.insert
            texts[e.dxf.text] = (round(p.x, 2), round(p.y, 2))
        elif e.dxftype() == "LINE":
            a = (round(e.dxf.start.x, 2), round(e.dxf.start.y, 2))
            b = (round(e.dxf.end.x, 2), round(e.dxf.end.y, 2))
            lines.append(tuple(sorted((a, b))))
    return texts, sorted(lines), errors


def table_cells(dump):
    """(texts by (row, column), merged blocks) of a table as `vextable dump` prints it."""
    texts = {}
    for r, row in enumerate(dump["Cells"]):
        for c, cell in enumerate(row):
            if cell.get("strText"):
                texts[(r, c)] = cell["strText"]
    return texts, dump.get("MergeRows", []), dump.get("MergeCols", [])


class HostRun:
    """The steps of the drafter's session in the host's window."""

    def __init__(self, s, vextable):
        self.s, self.vextable = s, vextable
        self.editor_id = None

    def zoom(self):
        # A known view: the window from (-10,-10) to (130,80) fills it.
        s = self.s
        view = None

        def shown(screen):
            nonlocal view
            view = screen.box_of(BACKGROUND)
            return view is not None and view[2] - view[0] > 200
        if not s.wait_for(shown, "the drawing view shows"):
            return False
        s.type("ZOOM")
        s.type("W")
        s.type("-10,-10")
        s.type("130,80")
        x0, y0, x1, y1 = view
        self.cx, self.cy = (x0 + x1 + 1) / 2, (y0 + y1 + 1) / 2
        self.scale = min((x1 - x0 + 1) / 140.0, (y1 - y0 + 1) / 90.0)
        time.sleep(0.5)
        return True

    def at(self, x, y):
        return int(round(self.cx + (x - 60) * self.scale)), int(round(self.cy - (y - 35) * self.scale))

    def type_cells(self, editor, texts):
        """Types each text into its cell: a click into the grid, then the keys a drafter uses."""
        s = self.s
        s.click_at(*editor.centre())
        for (r, c), text in sorted(texts.items()):
            s.xdo("key", "ctrl+Home")
            for _ in range(r):
                s.xdo("key", "Down")
            for _ in range(c):
                s.xdo("key", "Right")
            s.type_text(text)
            s.xdo("key", "Return")
            time.sleep(0.1)

    def wait_editor(self, what):
        window = self.editor_id or self.s.find(EDITOR_TITLE)
        if not self.s.check(window is not None, what):
            return None
        self.editor_id = window
        if not self.s.wait_state(window, ("Normal",), what):
            return None
        time.sleep(0.5)
        return Editor(self.s, window)


def check_editor_placement(s, editor):
    """The editor lies over the host's window, its frame wholly on the screen, above the host."""
    hx, hy, hw, hh = s.geometry(s.window)
    out = subprocess.run(["xprop", "-id", editor.window, "_NET_FRAME_EXTENTS", "WM_TRANSIENT_FOR"], env=s.env,
                         stdout=subprocess.PIPE, text=True).stdout
    s.check("WM_TRANSIENT_FOR(WINDOW): window id # 0x%x" % int(s.window) in out,
            "the editor is a window of the host's main window (WM_TRANSIENT_FOR): %s" % out.strip())
    extents = [0, 0, 0, 0]
    for line in out.splitlines():
        if line.startswith("_NET_FRAME_EXTENTS"):
            extents = [int(v) for v in line.split("=")[1].split(",")]
    left, right, top, bottom = extents
    s.check(editor.x - left >= 0 and editor.y - top >= 0,
            "the editor's frame and title bar are on the screen: client at %d,%d, frame %s"
            % (editor.x, editor.y, extents))
    ex, ey = editor.centre()
    s.check(hx <= ex <= hx + hw and hy <= ey <= hy + hh,
            "the editor opens over the host's window: editor centre %d,%d, host %s" % (ex, ey, (hx, hy, hw, hh)))


def run_host(s, arx, vextable, work):
    run = HostRun(s, vextable)
    first_dxf, second_dxf = os.path.join(work, "first.dxf"), os.path.join(work, "second.dxf")
    read_vtf = os.path.join(work, "read.vtf")
    s.start("/b", make_start_script(work, arx))
    if not run.zoom():
        return
    # VEXOPENTABLE on the command line: the blank editor, above the host, which keeps the input.
    s.type("VEXOPENTABLE")
    editor = run.wait_editor("VEXOPENTABLE shows the editor")
    if editor is None:
        return
    s.shot("editor-opened")
    check_editor_placement(s, editor)
    s.check(s.active() == s.window, "the host's window keeps the input after VEXOPENTABLE")
    before = s.screen.grab().pixel(*editor.centre())
    s.check(before is not None and before != BACKGROUND, "the editor is shown above the drawing view")
    run.type_cells(editor, TEXTS)
    # Row 3 of the table, columns 1 to 3: a merged block.
    s.xdo("key", "ctrl+Home")
    s.xdo("key", "Down", "Down", "shift+Right", "shift+Right")
    merge = editor.merge_button()
    if not s.check(merge is not None, "the merge button is found on the format toolbar"):
        return
    s.click_at(*merge)
    s.shot("typed-and-merged")
    # Draw: the editor goes, the table follows the cursor; a click puts it down.
    s.click_at(*editor.draw_button())
    s.wait_state(editor.window, ("",), "Draw hides the editor")
    corner = run.at(TABLE_AT[0] + 6 * COL_MM, TABLE_AT[1] - 6 * ROW_MM)
    s.xdo("mousemove", *map(str, run.at(*TABLE_AT)))
    # The table follows the cursor once the posted command asks for the point.
    s.wait_for(lambda sc: sc.lit_near(*corner), "the table follows the cursor")
    s.xdo("click", "1")
    time.sleep(0.5)
    s.shot("drawn")
    s.check(s.state(editor.window) == "" and s.state(s.window) == "Normal" and s.active() == s.window,
            "once the table is placed the editor stays away and the host's window has the input")
    s.wait_for(lambda sc: sc.lit_near(*corner), "the drawn table shows in the view")
    save_as(s, first_dxf)
    if not s.check(os.path.exists(first_dxf), "the drawing with the table was saved"):
        return
    texts1, lines1, errors1 = texts_and_lines(first_dxf)
    s.check(errors1 == 0, "ezdxf audits the drawing clean: %d errors" % errors1)
    s.check(sorted(texts1) == sorted(TEXTS.values()), "the typed texts are drawn: %s" % sorted(texts1))
    # The outer frame at the clicked corner: 90 x 30 mm.
    xs = [p[0] for l in lines1 for p in l]
    ys = [p[1] for l in lines1 for p in l]
    # A click is as exact as a pixel of the view: a few tenths of a millimetre here.
    expected_frame = (TABLE_AT[0], TABLE_AT[1], TABLE_AT[0] + 6 * COL_MM, TABLE_AT[1] - 6 * ROW_MM)
    s.check(lines1 and all(abs(a - b) < 0.5 for a, b in zip((min(xs), max(ys), max(xs), min(ys)), expected_frame)),
            "the table's frame lies where it was clicked: %s" % (((min(xs), max(ys), max(xs), min(ys)),) if lines1 else None))
    # The merged block has no rules between its cells.
    x0, y_mid = min(xs), max(ys) - 2.5 * ROW_MM
    inner = [l for l in lines1 if l[0][0] == l[1][0] and any(abs(l[0][0] - x0 - k * COL_MM) < 0.01 for k in (1, 2))
             and min(l[0][1], l[1][1]) < y_mid < max(l[0][1], l[1][1])]
    s.check(not inner, "no rule crosses the merged block: %s" % inner)

    # VEXEDITTABLE: the editor is restored first as a drafter does, then minimised while a
    # crossing window (right to left) is dragged around the table, and shown with it.
    first_at = (editor.x, editor.y)
    s.type("VEXOPENTABLE")
    editor = run.wait_editor("VEXOPENTABLE restores the editor")
    if editor is None:
        return
    s.check((editor.x, editor.y) == first_at, "VEXOPENTABLE shows the editor where it was: at %d,%d, before at %d,%d"
            % (editor.x, editor.y, first_at[0], first_at[1]))
    # A selection cancelled with Escape brings the editor back as it was.
    s.type("VEXEDITTABLE")
    s.wait_state(editor.window, ("",), "VEXEDITTABLE takes the editor away")
    time.sleep(0.3)
    s.xdo("key", "Escape")
    editor = run.wait_editor("a cancelled selection brings the editor back")
    if editor is None:
        return
    s.type("VEXEDITTABLE")
    # Out of the way while the drafter selects; the host's window stays (a window manager
    # iconifies an owned window together with its owner).
    s.wait_state(editor.window, ("",), "VEXEDITTABLE takes the editor away while the table is selected")
    s.check(s.state(s.window) == "Normal", "the host's window stays while the table is selected")
    time.sleep(0.3)
    s.shot("selecting")
    s.drag(run.at(TABLE_AT[0] + 6 * COL_MM + 5, TABLE_AT[1] + 5), run.at(TABLE_AT[0] - 5, TABLE_AT[1] - 6 * ROW_MM - 5))
    s.xdo("key", "Return")
    opened_at = (editor.x, editor.y)
    editor = run.wait_editor("VEXEDITTABLE shows the editor again with the table read")
    if editor is None:
        return
    s.shot("read-back")
    s.check((editor.x, editor.y) == opened_at, "the editor comes back where it was: at %d,%d, before at %d,%d"
            % (editor.x, editor.y, opened_at[0], opened_at[1]))
    # The editor's Save writes what it shows: the same texts and merges.
    s.click_at(*editor.centre())
    s.xdo("key", "ctrl+s")
    s.wait_dialog(editor.window, "the editor's Save asks for the file")
    s.name_file(read_vtf, editor.window)
    dumped = dump_table(vextable, read_vtf) if os.path.exists(read_vtf) else None
    if s.check(dumped is not None, "the editor saved the table it read"):
        texts, merge_rows, merge_cols = table_cells(dumped)
        s.check(texts == TEXTS, "the texts read back are the typed ones: %s" % texts)
        # Row 2, columns 0 to 2: the block merged in the editor.
        s.check(merge_rows == [[2, 0, 2]] and merge_cols == [],
                "the merge read back: rows %s, columns %s" % (merge_rows, merge_cols))
    # A changed text, Draw, Enter at the placing prompt: the table replaced where it was.
    run.type_cells(editor, {(0, 0): "Item"})
    s.click_at(*editor.draw_button())
    s.wait_state(editor.window, ("",), "Draw hides the editor")
    end = time.time() + 5
    while time.time() < end and s.active() != s.window:
        time.sleep(0.1)
    s.check(s.active() == s.window, "after Draw the host's window has the input")
    # The old table is gone and the new one follows the cursor; ENTER puts it in the old place.
    s.xdo("mousemove", *map(str, run.at(TABLE_AT[0] + 20, TABLE_AT[1] + 10)))
    moved = run.at(TABLE_AT[0] + 20 + 6 * COL_MM, TABLE_AT[1] + 10 - 6 * ROW_MM)
    s.wait_for(lambda sc: sc.lit_near(*moved), "the edited table follows the cursor")
    s.xdo("key", "Return")
    time.sleep(0.5)
    s.shot("replaced")
    save_as(s, second_dxf)
    if not s.check(os.path.exists(second_dxf), "the drawing with the replaced table was saved"):
        return
    texts2, lines2, errors2 = texts_and_lines(second_dxf)
    s.check(errors2 == 0, "ezdxf audits the second drawing clean: %d errors" % errors2)
    expected = dict(texts1)
    expected["Item"] = expected.pop("Pos")
    s.check(texts2 == expected, "the old texts are gone, the new at their places: %s, expected %s" % (texts2, expected))
    s.check(lines2 == lines1, "the rules lie where they lay, once each: %d now, %d before" % (len(lines2), len(lines1)))
    s.xdo("windowfocus", "--sync", s.window)
    s.type("QUIT")
    try:
        status = s.host.wait(timeout=TIMEOUT)
        s.check(status == 0, "the host ends with status 0 at QUIT, not %s" % status)
    except subprocess.TimeoutExpired:
        s.check(False, "the host ends at QUIT")


def save_as(s, path):
    s.xdo("windowfocus", "--sync", s.window)
    s.type("SAVEAS")
    if not s.wait_dialog(s.window, "SAVEAS asks for the file"):
        return
    s.name_file(path, s.window)
    time.sleep(0.2)


def run_standalone(s, vextable, work):
    """`vextable edit` on its own: typing, Draw, the drawing file named, a clean DXF."""
    dxf = os.path.join(work, "standalone.dxf")
    log = open(os.path.join(work, "edit.log"), "w")
    program = subprocess.Popen([vextable, "edit", "--ini", os.path.join(work, "edit", "VexTable.ini")],
                               env=s.env, stdout=log, stderr=subprocess.STDOUT)
    try:
        window = s.find(EDITOR_TITLE)
        if not s.check(window is not None, "vextable edit opens the editor"):
            return
        time.sleep(0.5)
        editor = Editor(s, window)
        s.xdo("windowfocus", "--sync", window)
        run = HostRun(s, vextable)
        run.type_cells(editor, {(0, 0): "Alone", (1, 1): "Drawn"})
        s.shot("standalone")
        s.click_at(*editor.draw_button())
        if not s.wait_dialog(window, "Draw asks for the drawing"):
            return
        s.name_file(dxf, window)
        s.wait_dialog(window, "the editor says where it drew")
        s.xdo("key", "Return")
        if s.check(os.path.exists(dxf), "vextable edit drew into the named drawing"):
            texts, lines, errors = texts_and_lines(dxf)
            s.check(errors == 0, "ezdxf audits vextable edit's drawing clean: %d errors" % errors)
            s.check(sorted(texts) == ["Alone", "Drawn"], "its texts: %s" % sorted(texts))
            s.check(len(lines) > 0, "its rules are there")
        time.sleep(0.3)
        s.click_at(*editor.cancel_button())
        try:
            status = program.wait(timeout=TIMEOUT)
            s.check(status == 0, "vextable edit ends with status 0 at Cancel, not %s" % status)
        except subprocess.TimeoutExpired:
            s.check(False, "vextable edit ends at Cancel")
    finally:
        if program.poll() is None:
            program.kill()
        log.close()


def main(cadhost, arx, vextable):
    missing = [p for p in ("Xvfb", "xdotool", "openbox", "xprop", "xwininfo") if not shutil.which(p)]
    if missing:
        print("%s missing (scripts/install-deps.sh installs them): skipped" % ", ".join(missing))
        return 77
    work = tempfile.mkdtemp(prefix="vextable-xvfb-")
    os.makedirs(os.path.join(work, "install", "Sys16"))
    os.makedirs(os.path.join(work, "edit"))
    installed = os.path.join(work, "install", "Sys16", "VexTable.arx")
    shutil.copy(arx, installed)
    s = EditorSession(cadhost, work)
    try:
        run_host(s, installed, vextable, work)
        if s.host.poll() is None:
            s.host.kill()
        run_standalone(s, vextable, work)
    finally:
        s.stop()
    if s.failures:
        print("%d check(s) failed; the work folder %s is kept, with screenshots" % (len(s.failures), work))
        return 1
    if os.environ.get("VEXTABLE_KEEP_SCREENSHOTS"):
        print("screenshots in", work)
    else:
        shutil.rmtree(work, ignore_errors=True)
    print("the editor ran inside the host's window and on its own under Xvfb as a drafter drives it")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3]))
