#!/usr/bin/python3
"""Fails when libcadhost.so exports more, or less, than its API.

The API is what cadhost/sdk/*.h and cadhost/host/host_control.h declare. Internals (the
database store, the DXF tag level and reader, the host's state, platform/ code) must stay
inside: a plug-in that binds to them breaks with every change of the host. The other way round,
the API must stay whole: desc() of every class with the cast() helpers, the typeinfo of every
polymorphic class (plug-ins dynamic_cast and catch them), and every symbol the plug-ins given
with --client need at load time.

Usage: check_exports.py LIBRARY SOURCE_ROOT [--client PLUGIN.arx ...]
"""

import ctypes
import glob
import os
import re
import subprocess
import sys

# Prefixes nm -C puts before the entity a symbol belongs to.
SPECIAL = re.compile(r"^(typeinfo name for |typeinfo for |vtable for |VTT for |"
                     r"construction vtable for |guard variable for |non-virtual thunk to |"
                     r"virtual thunk to |covariant return thunk to |reference temporary #\d+ for |"
                     r"TLS init function for |TLS wrapper function for |transaction clone for )")
# Outermost names that are not ours to judge: the standard library's own templates, instantiated
# over API types, are exported like any template of a default-visible header.
FOREIGN = {"std", "__gnu_cxx", "__cxxabiv1"}
NOT_FUNCTIONS = {"if", "for", "while", "switch", "return", "sizeof", "alignof", "decltype",
                 "noexcept", "static_assert", "defined", "__attribute__", "catch", "throw"}
PUSH = "#pragma GCC visibility push(default)"
POP = "#pragma GCC visibility pop"


def public_headers(root):
    return sorted(glob.glob(os.path.join(root, "cadhost", "sdk", "*.h"))) + [
        os.path.join(root, "cadhost", "host", "host_control.h")]


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def public_names(text):
    """Names the public headers declare: classes, enums, functions, namespaces, aliases.

    Classes only declared ahead ("class DatabaseImpl;") and never defined there are internals
    the headers merely point at, so they do not count.
    """
    text = strip_comments(text)
    names = set(re.findall(
        r"\b(?:class|struct|union|enum(?:\s+class|\s+struct)?)\s+(\w+)\s*(?:final\s*)?"
        r"(?=\{|:(?!:))", text))
    names |= set(re.findall(r"\b([A-Za-z_]\w*)\s*\(", text)) - NOT_FUNCTIONS
    names |= set(re.findall(r"\bnamespace\s+(\w+)", text))
    names |= set(re.findall(r"\busing\s+(\w+)\s*=", text))
    names |= set(re.findall(r"\btypedef\b[^;]*?\b(\w+)\s*;", text))
    names |= set(re.findall(r"\bextern\s+[^;(]*?\b(\w+)\s*;", text))
    return names


def classes_with_members(text):
    """Classes declared with ACRX_DECLARE_MEMBERS: their desc() backs cast() and isA()."""
    return set(re.findall(r"ACRX_DECLARE_MEMBERS\((\w+)\)", strip_comments(text))) - {"CLASS"}


def defined_classes(text):
    return set(re.findall(r"\b(?:class|struct)\s+(\w+)\s*(?:final\s*)?(?=\{|:(?!:))",
                          strip_comments(text)))


def header_problems(path, text):
    """A header that declares anything must wrap it in push(default) ... pop."""
    code = [l for l in strip_comments(text).splitlines()
            if l.strip() and not l.lstrip().startswith("#")]
    if not code:
        return []
    if PUSH not in text or POP not in text or text.index(PUSH) > text.index(POP):
        return [f"{path}: declarations without '{PUSH}' ... '{POP}' around them are hidden"]
    return []


def entity(symbol):
    """The symbol without the prefixes nm -C adds for typeinfo, vtables, thunks, guards."""
    while True:
        m = SPECIAL.match(symbol)
        if not m:
            return symbol
        symbol = symbol[m.end():]


def symbol_problems(symbol, public):
    """Why an exported symbol is an internal one; [] when it belongs to the API."""
    e = entity(symbol)
    if "vex::" in e:
        return [f"VexTable code leaves the library: {symbol}"]
    if "(anonymous namespace)" in e:
        return [f"file-local code leaves the library: {symbol}"]
    problems = []
    for name in sorted(set(re.findall(r"\bcadhost::(\w+)", e))):
        if name not in public:
            problems.append(f"internal cadhost::{name} leaves the library: {symbol}")
    m = re.match(r"([A-Za-z_]\w*)(?:::|\(|<|$)", e)
    if m and m.group(1) not in FOREIGN | {"cadhost"} and m.group(1) not in public:
        problems.append(f"internal {m.group(1)} leaves the library: {symbol}")
    return problems


def missing_exports(exported, member_classes, polymorphic_classes):
    """API symbols that must be exported but are not."""
    have = set(exported)
    problems = []
    for c in sorted(member_classes):
        if f"{c}::desc()" not in have:
            problems.append(f"{c}::desc() is hidden: cast() and isA() of plug-ins need it")
    for c in sorted(polymorphic_classes):
        if f"typeinfo for {c}" not in have:
            problems.append(f"typeinfo for {c} is hidden: plug-ins dynamic_cast and catch it")
    return problems


def nm(args, library):
    out = subprocess.run(["nm", *args, "--defined-only", "-C", library], capture_output=True,
                         text=True)
    if out.returncode != 0:
        return None
    symbols = []
    for line in out.stdout.splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3:
            symbols.append(parts[2])
    return symbols


# Libraries the host's own library must never need: Qt belongs to the window above it.
WINDOW_LIBRARIES = re.compile(r"^libQt\d?\w*\.so")


def needed_libraries(library):
    """The DT_NEEDED entries of a shared object, or None when objdump cannot read it."""
    out = subprocess.run(["objdump", "-p", library], capture_output=True, text=True)
    if out.returncode != 0:
        return None
    return [line.split()[1] for line in out.stdout.splitlines()
            if line.strip().startswith("NEEDED") and len(line.split()) > 1]


def needed_problems(needed):
    """Why the library's dependencies break the layers: a window library among them."""
    return [f"the library needs {n}: the host's services stay below the window (Qt)"
            for n in needed if WINDOW_LIBRARIES.match(n)]


def load_in_this_process(library, clients):
    """Loads each client with every symbol bound now, as a strict host would."""
    problems = []
    try:
        ctypes.CDLL(os.path.abspath(library), mode=os.RTLD_NOW | os.RTLD_GLOBAL)
    except OSError as e:
        return [f"the library itself does not load: {e}"]
    for c in clients:
        try:
            ctypes.CDLL(os.path.abspath(c), mode=os.RTLD_NOW | os.RTLD_LOCAL)
        except OSError as e:
            problems.append(f"{c} does not load against the library's exports: {e}")
    return problems


def client_problems(library, clients, needed):
    """Loads the clients in a child process: a sanitizer build can only be loaded into a
    process whose first library is the sanitizer's runtime, so the child gets it preloaded
    (and does not judge the interpreter's own leaks)."""
    env = dict(os.environ)
    runtime = next((n for n in needed or [] if n.startswith("libasan.so")), None)
    if runtime:
        path = subprocess.run(["gcc", f"-print-file-name={runtime}"], capture_output=True,
                              text=True).stdout.strip()
        env["LD_PRELOAD"] = path
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
    args = [sys.executable, os.path.abspath(__file__), "--load-only", library]
    for c in clients:
        args += ["--client", c]
    out = subprocess.run(args, capture_output=True, text=True, env=env)
    problems = [line for line in out.stdout.splitlines() if line.strip()]
    if out.returncode != 0 and not problems:
        problems.append(f"loading the clients failed: {out.stderr.strip()[:400]}")
    return problems


def main(argv):
    args = argv[1:]
    clients = []
    while "--client" in args:
        i = args.index("--client")
        clients.append(args[i + 1])
        del args[i:i + 2]
    if args[:1] == ["--load-only"] and len(args) == 2:
        problems = load_in_this_process(args[1], clients)
        for p in problems:
            print(p)
        return 1 if problems else 0
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    library, root = args
    problems = []
    text = ""
    headers = public_headers(root)
    if not all(os.path.isfile(h) for h in headers) or len(headers) < 2:
        print(f"the public headers are not all under {root}: wrong source root?")
        return 1
    for h in headers:
        with open(h, encoding="utf-8") as f:
            t = f.read()
        problems += header_problems(os.path.relpath(h, root), t)
        text += t + "\n"
    public = public_names(text)

    exported = nm(["-D"], library)
    if not exported:
        print(f"no exported symbols read from {library}")
        return 1
    for s in exported:
        problems += symbol_problems(s, public)

    # The full symbol table says which API classes have a vtable, and so typeinfo, in the
    # library; a stripped library skips that part.
    every = nm([], library) or []
    vtables = {s[len("vtable for "):] for s in every if s.startswith("vtable for ")}
    problems += missing_exports(exported, classes_with_members(text),
                                defined_classes(text) & vtables)
    needed = needed_libraries(library)
    problems += client_problems(library, clients, needed)
    if needed is None:
        problems.append(f"the dependencies of {library} cannot be read")
    else:
        problems += needed_problems(needed)

    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} problem(s) with what {os.path.basename(library)} exports")
        return 1
    print(f"{len(exported)} exported symbols, all of them API")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
