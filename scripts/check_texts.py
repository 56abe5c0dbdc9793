#!/usr/bin/env python3
"""Checks that every text the program shows has its entry in the language catalogues.

The program writes English and translates where a text leaves it (util/i18n.hpp): a text with
no catalogue entry would reach a French or German pilot in English. This collects the string
literals of the program's sources that read as words (a blank and a word of three letters),
leaving out diagnostics, logs and file contents (which stay English), and the texts of the form
definition file; each must be part of an English key of data/lang/fr.txt (a key's literal
pieces, between its placeholders), and each form text a key of its own. The test of util/
holds French and German to the same keys. Prints file:line: text for each text without an
entry; exit status 1 when there is one.

    python3 scripts/check_texts.py [ROOT]
"""
import re
import sys
from pathlib import Path

FOLDERS = ["app", "formats", "host", "forms", "gui", "geo", "toolkit"]
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
CHARACTER = re.compile(r"'(?:[^'\\\n]|\\.)'")
# Where a text is cut: a "/" (a message's line break), a printf conversion and a catalogue
# placeholder "{1}" (parts).
CUTS = re.compile(r"/|%[-+ 0-9.]*[a-z]|\{[1-9]\}")
WORDS = re.compile(r"[A-Za-z]{3}")
# Calls whose texts stay English: diagnostics, the logs, and what is written into files.
NOT_SHOWN = re.compile(r"\b(diag|log_message|log_message_f|run_log_line|log\.line|log\.item|"
                       r"log_error|cup_\.write|out\.write|fpl_\.write)\s*\(")
# Files of names rather than texts (key names, font names, registry and file formats), and
# lines that are the log's own words.
SKIP_FILES = {"host/keys.cpp", "toolkit/fc_fonts.cpp", "host/reg_file.cpp", "geo/UTM.cpp",
              "gui/form_window.cpp", "host/messages.cpp"}
SKIP_TEXTS = [
    "Software\\\\Microsoft\\\\Windows",  # a registry key
    "Volaro version:",                   # the simulator's own log line
    " install path: ",                   # log lines
    "-----Related Tasks-----",           # .cup file content
    "Window Title", "create_form window",  # form file keys and a diagnostic
    "ERROR OPENING", "multiple definition", "too many ", "type undefined", "name undefined",
    "inpt_min, inpt_max", "invalid dependency", "invalid position", "invalid size",  # form log
    "Volatile Environment",              # a registry key
    "Orig_e, orig_n",                    # a diagnostic
    ", limit",                           # form log
]


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def catalogue_keys(path):
    keys, expect_key = [], True
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("= "):
            continue
        key = line.strip()
        keys.append(key[1:] if key.startswith("\\") else key)
    return keys


def shown_texts(root):
    for folder in FOLDERS:
        for path in sorted((root / folder).rglob("*.cpp")):
            rel = path.relative_to(root).as_posix()
            if rel in SKIP_FILES:
                continue
            in_skipped_call = 0
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                code = line.split("//")[0] if not line.lstrip().startswith("//") else ""
                if code.lstrip().startswith("#"):
                    continue
                # A skipped call's continuation lines are skipped too.
                if NOT_SHOWN.search(code):
                    in_skipped_call = code.count("(") - code.count(")")
                    continue
                if in_skipped_call > 0:
                    in_skipped_call += code.count("(") - code.count(")")
                    continue
                for m in LITERAL.finditer(CHARACTER.sub("", code)):
                    if any(s in m.group(1) for s in SKIP_TEXTS):
                        continue
                    for piece in CUTS.split(unescape(m.group(1))):
                        piece = piece.strip()
                        if " " in unescape(m.group(1)).strip() and WORDS.search(piece):
                            yield f"{rel}:{number}", piece


def form_texts(root):
    for path in sorted((root / "data").glob("*.frm")):
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            for m in re.finditer(r"[{;]\s*(Txt|Title)=(\"[^\"]*\"|[^;}]*)", line):
                value = m.group(2).strip('"')
                for text in value.split(","):
                    text = text.strip()
                    # Item names (OC1) are replaced before they are seen.
                    if text and not re.fullmatch(r"[A-Z]+[0-9]*", text):
                        yield f"{path.relative_to(root)}:{number}", text


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    keys = catalogue_keys(root / "data" / "lang" / "fr.txt")
    pieces = "\0".join(re.sub(r"\{[1-9]\}", "\0", k) for k in keys)
    missing = [(where, text) for where, text in shown_texts(root) if text not in pieces]
    missing += [(where, text) for where, text in form_texts(root) if text not in keys]
    for where, text in missing:
        print(f"{where}: no catalogue entry for {text!r}")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
