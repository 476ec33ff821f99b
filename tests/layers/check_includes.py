#!/usr/bin/env python3
"""Checks that every include of the tree points down the layers.

Each source folder of the system may include from the folders of its own layer and of the
layers below it (the host's folders are checked by tests/cadhost/check_layers.py);
Qt may be used only by the window layers, the programs, and the window files of the core
(named *_dialog.*, *_toolbar.*, *_box.*), which are built into the window library and may
use its folders as well. Prints each wrong include and exits 1 when there is
one. Run from CTest with the project root as its argument.
"""
import pathlib
import re
import sys

PLATFORM = {"platform"}
HOST_SDK = {"cadhost/sdk"}
MODEL = PLATFORM | {"model"}
CORE_FOLDERS = {"settings", "files", "pictures", "draw", "recognize", "excel", "update"}
CORE = MODEL | HOST_SDK | CORE_FOLDERS
UI = CORE | {"editor", "widgets"}

# The folders (or folder prefixes) each folder may include from, and whether it may use Qt.
# The host's own folders have a finer check of their own (tests/cadhost/check_layers.py).
RULES = [
    ("platform", PLATFORM, False),
    ("model", MODEL, False),
] + [(f, CORE, False) for f in sorted(CORE_FOLDERS)] + [
    ("editor", UI, True),
    ("widgets", UI, True),
    ("plugin", UI | {"plugin"}, True),
    ("loader", CORE | {"loader"}, True),
    ("setup", CORE | {"setup", "widgets"}, True),
    ("cli", UI | {"cli"}, True),
]

WINDOW_FILE = re.compile(r"_(dialog|toolbar|box)\.(h|cpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT = re.compile(r"^Qt|^Q[A-Z]")


def rule_for(rel):
    best = None
    for folder, allowed, qt in RULES:
        if rel == folder or rel.startswith(folder + "/"):
            if best is None or len(folder) > len(best[0]):
                best = (folder, allowed, qt)
    return best


def allowed_target(target, allowed):
    return any(target == a or target.startswith(a + "/") for a in allowed)


def main(root):
    root = pathlib.Path(root)
    faults = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        rel = path.relative_to(root).as_posix()
        if rel.startswith(("build", "tests/", "bench/", ".")):
            continue
        rule = rule_for(rel)
        if rule is None:
            continue
        folder, allowed, qt = rule
        window_file = bool(WINDOW_FILE.search(rel))
        may_use_qt = qt or window_file
        if window_file and folder in CORE_FOLDERS:
            allowed = UI
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, target = m.groups()
            if kind == "<":
                if QT.match(target) and not may_use_qt:
                    faults.append(f"{rel}:{number}: {folder}/ must not use Qt ({target})")
                continue
            if "/" not in target:
                continue  # a file of the same folder
            if not allowed_target(target, allowed):
                faults.append(f"{rel}:{number}: {folder}/ must not include {target}")
    for f in faults:
        print(f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
