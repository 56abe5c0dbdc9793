#!/usr/bin/env python3
"""Reads varnix outputs back with independent parsers.

read_back.py fpl FILE  -> the flight-plan fragment under a section header, through configparser:
                          one "key=value" line per key, in file order.
read_back.py cup FILE  -> the waypoint file through the csv module: one line per record, the
                          fields joined by "|".
read_back.py task FILE -> each task line as open readers take it: the fields between take-off
                          (field 2) and landing (the last), printed "start > ... > finish".
Both files are Windows-1252 with CR LF line ends; output is UTF-8.
"""
import configparser
import csv
import io
import sys

kind, name = sys.argv[1], sys.argv[2]
raw = open(name, "rb").read()
assert b"\n" not in raw.replace(b"\r\n", b""), "bare line feed"
text = raw.decode("cp1252")
if kind == "fpl":
    ini = configparser.ConfigParser(interpolation=None, strict=False)
    ini.optionxform = str  # keys keep their case
    ini.read_string("[Task]\r\n" + text)
    for key, value in ini["Task"].items():
        print(f"{key}={value}")
elif kind == "task":
    tasks = text.split("-----Related Tasks", 1)[1:]
    for row in csv.reader(io.StringIO("".join(tasks), newline="")):
        if row[1:] and not row[0].startswith(("Options", "ObsZone=", "Point=", "STARTS=")):
            print(" > ".join(row[2:-1]))
else:
    for row in csv.reader(io.StringIO(text, newline="")):
        print("|".join(row))
