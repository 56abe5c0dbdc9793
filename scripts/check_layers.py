#!/usr/bin/env python3
"""Checks that every #include of the program's own folders points down the layers.

    app -> forms -> gui -> toolkit -> host -> util,  geo beside forms,  include/ for all
    formats (outside file formats) beside forms, on geo, host and util

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
    "app": {"forms", "formats", "geo", "gui", "toolkit", "host", "include", "util"},
}
ORDER = "app -> forms -> gui -> toolkit -> host -> util, geo beside forms, formats on geo"

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
    for folder in BELOW:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in SOURCES or not path.is_file():
                continue
            rel = path.relative_to(root)
            text = path.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                own, system, macro = m.groups()
                where = f"{rel}:{number}:"
                if own is not None:
                    target = own.split("/", 1)[0] if "/" in own else folder
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
    return faults


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
