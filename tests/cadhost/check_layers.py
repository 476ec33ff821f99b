#!/usr/bin/python3
"""Fails when an #include under cadhost/ points against the host's layers.

The layers and what each may include are written down in cadhost/CMakeLists.txt; LAYERS below
is the same table. Usage: check_layers.py SOURCE_ROOT
"""

import os
import re
import sys

# Folder (relative to the source root) -> what its files may include besides their own folder.
# The most specific folder wins: cadhost/dxf/tags/ is below the database, cadhost/dxf/ above it.
LAYERS = {
    "cadhost/sdk/": [],
    "cadhost/dxf/tags/": ["platform/"],
    "cadhost/db/": ["cadhost/sdk/", "cadhost/dxf/tags/", "platform/"],
    "cadhost/dxf/": ["cadhost/sdk/", "cadhost/dxf/tags/", "cadhost/db/", "platform/"],
    "cadhost/host/": ["cadhost/sdk/", "cadhost/db/", "platform/"],
    "cadhost/ui/": ["cadhost/sdk/", "cadhost/host/host_control.h", "platform/"],
    "cadhost/app/": ["cadhost/sdk/", "cadhost/host/host_control.h", "cadhost/ui/", "platform/"],
}

# Layers that never include Qt: the API plug-ins see, the database and its files, the services.
# Only the window (ui/) and the program use it.
WITHOUT_QT = ["cadhost/sdk/", "cadhost/dxf/", "cadhost/db/", "cadhost/host/"]
QT_HEADER = re.compile(r"^(Q[A-Za-z0-9]*|Qt[A-Za-z]*/.*|qt[a-z0-9_]*\.h)$")

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(path):
    """The most specific folder of LAYERS holding `path`, or None."""
    best = None
    for folder in LAYERS:
        if path.startswith(folder) and (best is None or len(folder) > len(best)):
            best = folder
    return best


def project_path(root, including, quote, name):
    """The include as a path from the source root, or None for a header from outside the tree.

    Quoted includes are looked up beside the including file first, as the compiler does, so a
    "../db/x.h" is no way round the rules. Anything whose first folder is a folder of the tree
    counts as the tree's, in angle brackets too.
    """
    if quote == '"':
        beside = os.path.normpath(os.path.join(os.path.dirname(including), name))
        if os.path.isfile(os.path.join(root, beside)):
            return beside.replace(os.sep, "/")
    first = name.split("/", 1)[0]
    if "/" in name and os.path.isdir(os.path.join(root, first)):
        return os.path.normpath(name).replace(os.sep, "/")
    return None


def check_file(root, path):
    """Violations of one file (path relative to root) as "path:line: reason" strings."""
    folder = layer_of(path)
    if folder is None:
        return [f"{path}:1: folder not in the host's layer table (add it to LAYERS and "
                "cadhost/CMakeLists.txt)"]
    allowed = [folder] + LAYERS[folder]
    problems = []
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            if folder in WITHOUT_QT and QT_HEADER.match(m.group(2)):
                problems.append(f"{path}:{number}: includes Qt ({m.group(2)}); {folder} is "
                                "below the window and never uses Qt")
                continue
            target = project_path(root, path, m.group(1), m.group(2))
            if target is None:
                continue
            # A file of a deeper layer inside this folder (dxf/tags/ inside dxf/) is judged as
            # its own layer, so "own folder" means files whose layer is this one.
            if layer_of(target) == folder or any(
                    target.startswith(a) for a in LAYERS[folder]):
                continue
            problems.append(f"{path}:{number}: includes {target}; {folder} may include only "
                            + ", ".join(allowed))
    return problems


def check_tree(root):
    problems = []
    count = 0
    for dirpath, _dirs, files in os.walk(os.path.join(root, "cadhost")):
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                rel = os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, "/")
                problems += check_file(root, rel)
                count += 1
    return count, problems


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    count, problems = check_tree(argv[1])
    for p in problems:
        print(p)
    if count == 0:
        print("no source files under cadhost/: wrong source root?")
        return 1
    if problems:
        print(f"{len(problems)} include(s) against the host's layers")
        return 1
    print(f"{count} files checked: the host's includes point down")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
