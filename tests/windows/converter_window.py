#!/usr/bin/env python3
"""The converter window of varnix.exe under Wine, driven with xdotool on the X server of DISPLAY.

converter_window.py LINUX_VARNIX WINDOWS_EXE WINE_PREFIX SCREENSHOT.png

It opens; a latitude and longitude typed into it convert to the X/Y the Linux build prints for
the same point; Copy puts that result on the clipboard; Close ends the program with status 0.
The screenshot after Convert is kept.
"""
import os
import re
import subprocess
import sys
import tempfile
import time
from pathlib import Path

LINUX, WINDOWS = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
PREFIX, SHOT = Path(sys.argv[3]).resolve(), sys.argv[4]
STORE = Path(__file__).resolve().parent.parent.parent / "data/demo/user.reg"
LAT, LON = "4630.500N", "00915.000E"
# Where to click, from the window's top-left (data/Varnix_form.frm's layout).
LAT_BOX, LON_BOX = (225, 141), (225, 169)
CONVERT, COPY, CLOSE = (49, 261), (145, 261), (335, 261)


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20).stdout


def find_window(proc):
    for _ in range(100):
        if proc.poll() is not None:
            sys.exit(f"converter_window: varnix.exe ended at start with status {proc.returncode}")
        ids = xdo("search", "--onlyvisible", "--name", "^Varnix$").split()
        if ids:
            return ids[0]
        time.sleep(0.2)
    sys.exit("converter_window: no window named Varnix appeared")


def click(win, at):
    xdo("mousemove", "--window", win, str(at[0]), str(at[1]), "click", "1")
    time.sleep(0.4)


def main():
    env = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG="-all", VARNIX_REGISTRY=str(STORE),
               VARNIX_NO_DIALOGS="1", LANG="C.UTF-8")
    expected = subprocess.run([LINUX, "Demo", LAT, LON], env=env, capture_output=True,
                              text=True, check=True).stdout
    want = [float(v) for v in re.findall(r"TPPos[XY]=(\S+)", expected)]
    subprocess.run(["xclip", "-selection", "clipboard", "-i", "/dev/null"], timeout=10)
    # The choices of an earlier run would come back; start from the defaults.
    for dat in PREFIX.glob("drive_c/users/*/AppData/Roaming/Varnix/Varnix_form.dat"):
        dat.unlink()

    with tempfile.TemporaryDirectory(prefix="varnix-window-") as cwd, \
            tempfile.TemporaryFile() as log:
        proc = subprocess.Popen(["wine", WINDOWS], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                stdout=log, stderr=log)
        try:
            win = find_window(proc)
            time.sleep(1)  # the first frame
            click(win, LAT_BOX)
            xdo("type", "--delay", "40", LAT)
            click(win, LON_BOX)
            xdo("type", "--delay", "40", LON)
            click(win, CONVERT)
            time.sleep(0.5)
            subprocess.run(["import", "-window", "root", SHOT], timeout=30, check=True)
            click(win, COPY)
            clip = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                                  text=True, timeout=10).stdout
            click(win, CLOSE)
            status = proc.wait(timeout=20)
        finally:
            if proc.poll() is None:
                proc.kill()
        log.seek(0)
        output = log.read().decode("utf-8", "replace")

    got = [float(v) for v in re.findall(r"[XY]=(-?[0-9.]+)", clip)]
    problems = []
    if len(got) != 2 or any(abs(g - w) > 0.0051 for g, w in zip(got, want)):
        problems.append(f"clipboard {clip!r}, the Linux build gives {want}")
    if status != 0:
        problems.append(f"Close ended with status {status}")
    for p in problems:
        print(f"FAIL converter window: {p}\n{output}")
    print(f"{0 if problems else 1} passed, {1 if problems else 0} failed (screenshot: {SHOT})")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
