#!/usr/bin/env python3
"""A file opened with varnix.exe as Explorer opens it: under Wine, `wine start /unix` gives the
program a console of its own with the file as its only operand. The window's file page opens on
it, titled with the file's name; Enter converts, and the flight plan is the one the Linux build
writes for the same choices, byte for byte.

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
ROOT = Path(__file__).resolve().parent.parent.parent
STORE = ROOT / "data/demo/user.reg"
TASKS = ROOT / "tests/app/data/tasks.cup"


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20).stdout


def find_window(title):
    for _ in range(150):
        ids = xdo("search", "--onlyvisible", "--name", title).split()
        if ids:
            return ids[0]
        time.sleep(0.2)
    return None


def main():
    env = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG="-all", VARNIX_REGISTRY=str(STORE),
               VARNIX_NO_DIALOGS="1", LANG="C.UTF-8")
    problems = []
    with tempfile.TemporaryDirectory(prefix="varnix-files-") as tmp:
        gui, cli = Path(tmp, "gui"), Path(tmp, "cli")
        for d in (gui, cli):
            d.mkdir()
            shutil.copy(TASKS, d)
        subprocess.run([LINUX, "-batch", "-task", "1", "Demo", "tasks.cup", "tasks.fpl"], cwd=cli,
                       env=env, capture_output=True, check=False)
        # start returns at once; the program keeps nothing of ours open.
        subprocess.Popen(["wine", "start", "/unix", WINDOWS, str(gui / "tasks.cup")], cwd=gui,
                         env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
        win = find_window("tasks\\.cup$")
        if win is None:
            problems.append("no window titled with tasks.cup appeared")
        else:
            title = xdo("getwindowname", win).strip()
            if title != "Varnix \u2014 tasks.cup":
                problems.append(f"title {title!r}")
            time.sleep(1)  # the first frame
            xdo("windowfocus", "--sync", win)
            xdo("key", "--window", win, "Return")
            for _ in range(50):
                if (gui / "tasks.fpl").exists():
                    break
                time.sleep(0.2)
            time.sleep(0.5)
            subprocess.run(["import", "-window", "root", SHOT], timeout=30, check=False)
            got, want = gui / "tasks.fpl", cli / "tasks.fpl"
            if not got.exists() or got.read_bytes() != want.read_bytes():
                problems.append("tasks.fpl differs from the Linux build's")
            xdo("key", "--window", win, "Escape")
            for _ in range(50):
                if not xdo("search", "--onlyvisible", "--name", "tasks\\.cup$").split():
                    break
                time.sleep(0.2)
            else:
                problems.append("Escape did not close the window")
    for p in problems:
        print(f"FAIL file page under Wine: {p}")
    print(f"{0 if problems else 1} passed, {1 if problems else 0} failed (screenshot: {SHOT})")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
