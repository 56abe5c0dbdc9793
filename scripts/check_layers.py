#!/usr/bin/env python3
"""Checks that every #include of the program's own folders points down the layers.

    app -> forms -> gui -> toolkit -> host -> util,  geo beside forms,  include/ for all
    formats (outside file formats) beside forms, on geo, host and util
    inside app: cli -> pages -> jobs (jobs use no window: not forms, gui or toolkit)

and that no files of app/ include each other in a circle (a.cpp includes b.hpp while b.cpp
includes a.hpp, or longer rounds).

A folder may include its own headers and those of the folders below it; include/ (headers
that several folders share) may be included by every folder and itself uses only util/.
Window-system and operating-system headers belong to host/ and toolkit/; OpenGL and FreeType
to gui/ and toolkit/. Tests, fuzz targets and benchmarks are not checked: they include what
they need. Prints file:line for each include that breaks a rule; exit status 1 when any does.

    python3 scripts/check_layers.py [ROOT]
"""
import re
import sys
from pathlib import Path

BELOW = {
    "util": set(),
    "include": {"util"},
    "host": {"include", "util"},
    "toolkit": {"host", "include", "util"},
    "gui": {"toolkit", "host", "include", "util"},
    "geo": {"host", "include", "util"},
    "formats": {"geo", "host", "include", "util"},
    "forms": {"gui", "toolkit", "host", "include", "util"},
    "app/jobs": {"formats", "geo", "host", "include", "util"},
    "app/pages": {"app/jobs", "forms", "formats", "geo", "gui", "toolkit", "host", "include",
                  "util"},
    "app/cli": {"app/pages", "app/jobs", "formats", "geo", "host", "include", "util"},
    # A file directly in app/ belongs to no room: it may use them all.
    "app": {"app/cli", "app/pages", "app/jobs", "forms", "formats", "geo", "gui", "toolkit",
            "host", "include", "util"},
}
ORDER = ("app (cli -> pages -> jobs) -> forms -> gui -> toolkit -> host -> util, geo beside "
         "forms, formats on geo")
TOP = ["util", "include", "host", "toolkit", "gui", "geo", "formats", "forms", "app"]


def layer_of(rel):
    """The layer of a path relative to the root: app/<room> for a room of app/, else its top
    folder; None for a file at the root."""
    parts = rel.split("/")
    if len(parts) < 2:
        return None
    if parts[0] == "app" and len(parts) > 2 and f"app/{parts[1]}" in BELOW:
        return f"app/{parts[1]}"
    return parts[0]

# iconv and langinfo come with glibc but not with every system: they are OS services too.
SYSTEM = re.compile(
    r"(X11|GLFW|wayland|linux|sys|fontconfig)/|wayland-|(windows|unistd|fcntl|dlfcn|spawn|poll|"
    r"signal|pwd|dirent|iconv|langinfo|termios)\.h$")
GRAPHICS = re.compile(r"(GL|freetype)/|ft2build\.h$|^FT_")
SYSTEM_HOME = {"host", "toolkit"}
# The form engine is a library: the application's shared state stays out of it.
ENGINE = {"forms", "gui", "toolkit"}
APP_STATE = "include/common_data.hpp"
GRAPHICS_HOME = {"gui", "toolkit"}

INCLUDE = re.compile(r'^\s*#\s*include\s*(?:"([^"]+)"|<([^>]+)>|([A-Z_][A-Z0-9_]*))')
SOURCES = {".cpp", ".hpp", ".h", ".cc", ".inc"}


def check(root):
    faults = []
    graph = {}  # app's modules (paths without extension) and the app headers each includes
    for top in TOP:
        for path in sorted((root / top).rglob("*")):
            if path.suffix not in SOURCES or not path.is_file():
                continue
            rel = path.relative_to(root)
            folder = layer_of(rel.as_posix())
            module = rel.with_suffix("").as_posix()
            text = path.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                own, system, macro = m.groups()
                where = f"{rel}:{number}:"
                if own is not None:
                    target = layer_of(own) if "/" in own else folder
                    if top == "app" and own.startswith("app/"):
                        graph.setdefault(module, set()).add(str(Path(own).with_suffix("")))
                    if target in BELOW and target != folder and target not in BELOW[folder]:
                        faults.append(f"{where} {folder}/ may not include {own} ({ORDER})")
                    elif own == APP_STATE and folder in ENGINE:
                        faults.append(f"{where} the form engine reads no application state "
                                      "(hand it over through a hook)")
                    continue
                name = system or macro
                shown = f"<{system}>" if system else macro
                if SYSTEM.search(name) and folder not in SYSTEM_HOME:
                    faults.append(f"{where} {shown} is a window-system or OS header: "
                                  "it belongs in host/ or toolkit/")
                elif GRAPHICS.search(name) and folder not in GRAPHICS_HOME:
                    faults.append(f"{where} {shown} is an OpenGL or FreeType header: "
                                  "it belongs in gui/ or toolkit/")
    return faults + circles(graph) + map_faults(root)


def map_faults(root):
    """The map for newcomers states the layers as they are checked."""
    page = root / "docs" / "architecture.md"
    if page.is_file() and ORDER not in page.read_text(encoding="utf-8"):
        return [f"docs/architecture.md: does not state the layers as checked ({ORDER})"]
    return []


def circles(graph):
    """Each round of app's modules that include one another, once, as "a -> b -> a"."""
    found, done = [], set()

    def visit(node, path):
        if node in path:
            loop = path[path.index(node):] + [node]
            key = frozenset(loop)
            if key not in done:
                done.add(key)
                found.append(f"{node}: include circle: {' -> '.join(loop)}")
            return
        if node in finished:
            return
        for nxt in sorted(graph.get(node, ())):
            if nxt != node:
                visit(nxt, path + [node])
        finished.add(node)

    finished = set()
    for node in sorted(graph):
        visit(node, [])
    return found


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    faults = check(root)
    for f in faults:
        print(f, file=sys.stderr)
    if faults:
        print(f"layer check: {len(faults)} include(s) out of place", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
