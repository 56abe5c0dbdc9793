#!/usr/bin/env python3
"""Compares what the programs link in with the licences a package ships, both ways: every
library found inside a program needs its licence in the package, and every licence shipped
needs its library in a program. A library is found by a symbol only it defines (nm, demangled),
so a library added to the link without its licence fails here. THIRD-PARTY.txt, when given,
must name each library found. Prints one line per fault; exit status 1 when there is one.

    check_licences.py deb COPYRIGHT PROGRAM...        Debian copyright file (its Files: names)
    check_licences.py zip ZIP [THIRD-PARTY] PROGRAM...    the licenses folder of the zip
    check_licences.py msi MSI [THIRD-PARTY] PROGRAM...    the licenses folder of the installer
(Windows programs need x86_64-w64-mingw32-nm, and their unstripped build copies.)
"""
import re
import subprocess
import sys
import zipfile

# name, symbol defined only by that library, its name in the Debian copyright file, its licence
# file on Windows, how THIRD-PARTY.txt names it.
LIBRARIES = [
    ("pugixml", r"pugi::xml_document::load_buffer", "pugixml", "pugixml-MIT.txt", "pugixml"),
    ("nlohmann-json", r"nlohmann::", "nlohmann-json", "nlohmann-json-MIT.txt", "nlohmann-json"),
    ("GCC runtime", r"^__cxa_throw$", "gcc-runtime", "gcc-runtime.txt", "libstdc++"),
    ("GLFW", r"^glfwInit$", "glfw", "GLFW-zlib.txt", "GLFW"),
    ("FreeType", r"^FT_Init_FreeType$", "freetype", "FreeType-FTL.txt", "FreeType"),
    ("MinGW-w64 runtime", r"^__mingw_", "mingw-w64", "mingw-w64-runtime.txt", "MinGW-w64"),
]


def defined_symbols(program, windows):
    nm = "x86_64-w64-mingw32-nm" if windows else "nm"
    out = subprocess.run([nm, "-C", "--defined-only", program], capture_output=True, text=True,
                         check=True).stdout
    return [line.split(" ", 2)[-1] for line in out.splitlines() if line.strip()]


def linked(programs, windows):
    symbols = [s for p in programs for s in defined_symbols(p, windows)]
    return {lib[0] for lib in LIBRARIES if any(re.search(lib[1], s) for s in symbols)}


def shipped_deb(copyright_file):
    names = set()
    for line in open(copyright_file, encoding="utf-8"):
        if line.startswith("Files:"):
            names.update(line.split()[1:])
    return names


def shipped_windows(kind, package):
    if kind == "zip":
        files = zipfile.ZipFile(package).namelist()
    else:
        table = subprocess.run(["msiinfo", "export", package, "File"], capture_output=True,
                               text=True, check=True).stdout.splitlines()[3:]
        directory = {row.split("\t")[0]: row.split("\t")[2] for row in subprocess.run(
            ["msiinfo", "export", package, "Component"], capture_output=True, text=True,
            check=True).stdout.splitlines()[3:]}
        # FileName is "SHORT~1.TXT|Long name.txt"; the licences' component lies in licenses.
        files = [f"{directory[row.split(chr(9))[1]]}/{row.split(chr(9))[2].split('|')[-1]}"
                 for row in table]
        files = [f.replace("LICENSESDIR/", "varnix/licenses/") for f in files]
    return {f.rsplit("/", 1)[-1] for f in files if "/licenses/" in f and not f.endswith("/")}


def main():
    kind, package, rest = sys.argv[1], sys.argv[2], sys.argv[3:]
    third_party = rest.pop(0) if rest and rest[0].endswith(".txt") else None
    windows = kind != "deb"
    found = linked(rest, windows)
    if kind == "deb":
        shipped, column = shipped_deb(package), 2
    else:
        shipped, column = shipped_windows(kind, package) - {"THIRD-PARTY.txt"}, 3
    faults = []
    for lib in LIBRARIES:
        name, licence = lib[0], lib[column]
        if name in found and licence not in shipped:
            faults.append(f"{package}: {name} is linked in, its licence {licence} is not shipped")
        if name not in found and licence in shipped:
            faults.append(f"{package}: {licence} is shipped, but no program links {name}")
    known = {lib[column] for lib in LIBRARIES}
    faults += [f"{package}: {s} is shipped for no library known here" for s in shipped - known
               if kind != "deb" or s != "*"]
    if third_party:
        text = open(third_party, encoding="utf-8", errors="replace").read()
        faults += [f"{third_party} does not name {lib[4]}" for lib in LIBRARIES
                   if lib[0] in found and lib[4] not in text]
    for fault in faults:
        print(fault)
    if not found:
        print("no library found in the programs: were they stripped?")
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
