#!/usr/bin/env python3
"""A file opened with varnix.exe as Explorer opens it (`wine start /unix`: a console of its own,
the file its only operand): the file page opens titled with the file's name, Enter writes the
flight plan the Linux build writes for the same choices, byte for byte, and Escape closes.

file_page_window.py LINUX_VARNIX WINDOWS_EXE WINE_PREFIX SCREENSHOT.png
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

LINUX, WINDOWS = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
PREFIX, SHOT = Path(sys.argv[3]).resolve(), sys.argv[4]
ROOT = Path(__file__).resolve().parents[2]


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20).stdout


def wait(found, tries=50):
    """found()'s first true answer, asked every 0.2 s; its last one when none comes."""
    for _ in range(tries):
        if got := found():
            return got
        time.sleep(0.2)
    return got


def main():
    env = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG="-all", VARNIX_NO_DIALOGS="1",
               VARNIX_REGISTRY=str(ROOT / "data/demo/user.reg"), LANG="C.UTF-8")
    window = lambda: xdo("search", "--onlyvisible", "--name", "tasks\\.cup$").split()
    with tempfile.TemporaryDirectory(prefix="varnix-files-") as tmp:
        gui, cli = Path(tmp, "gui"), Path(tmp, "cli")
        for d in (gui, cli):
            d.mkdir()
            shutil.copy(ROOT / "tests/app/data/tasks.cup", d)
        subprocess.run([LINUX, "-batch", "-task", "1", "Demo", "tasks.cup", "tasks.fpl"], cwd=cli,
                       env=env, capture_output=True, check=False)
        # start returns at once; the program keeps nothing of ours open.
        subprocess.Popen(["wine", "start", "/unix", WINDOWS, str(gui / "tasks.cup")], cwd=gui,
                         env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
        win = (wait(window, 150) or [None])[0]
        title = xdo("getwindowname", win).strip() if win else None
        if win:
            time.sleep(1)  # the first frame
            xdo("windowfocus", "--sync", win)
            xdo("key", "--window", win, "Return")
            wait((gui / "tasks.fpl").exists)
            time.sleep(0.5)
            subprocess.run(["import", "-window", "root", SHOT], timeout=30, check=False)
            xdo("key", "--window", win, "Escape")
        got, want = gui / "tasks.fpl", cli / "tasks.fpl"
        problems = [p for p, ok in [
            (f"title {title!r}, not Varnix \u2014 tasks.cup", title == "Varnix \u2014 tasks.cup"),
            ("tasks.fpl differs from the Linux build's",
             got.exists() and got.read_bytes() == want.read_bytes()),
            ("Escape did not close the window", win and wait(lambda: not window()))] if not ok]
    for p in problems:
        print(f"FAIL file page under Wine: {p}")
    print(f"{0 if problems else 1} passed, {1 if problems else 0} failed (screenshot: {SHOT})")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
