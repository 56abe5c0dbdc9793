#!/usr/bin/env python3
"""The same command lines on the Linux build and on varnix.exe under Wine, compared.

compare_cli.py LINUX_VARNIX WINDOWS_EXE WINE_PREFIX

Both builds find the simulator through the Wine prefix's registry: the Windows program through
Wine's registry calls, the Linux one through the prefix's user.reg. Each row runs in a fresh
folder per build holding the same input files; standard output, standard error, the exit status
and every file the run leaves in its folder (Logfile.txt aside, which holds the time) must be
the same byte for byte, the console's encoding (code page 1252 and CR LF on Windows, UTF-8 and LF
on Linux), the run log's line ends, the program's own path in the usage lines, and where the
registry was read and the host folders it maps to in the no-installation messages aside. With DISPLAY set, the clipboard
after a -clip run is compared too.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

LINUX, WINDOWS = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
PREFIX = Path(sys.argv[3]).resolve()
HERE = Path(__file__).resolve().parent
DEMO_TRN = HERE.parent.parent / "data/demo/Volaro2/Landscapes/Demo/Demo.trn"
INSTALL = PREFIX / "drive_c/Volaro2"

POINTS = ("Landscape=Demo\r\n"
          "1 Start       46.5       9.25       1250\r\n"
          "2 'Col, high' 4630.500N  00915.000E 2500.5\r\n"
          "3 Summit      \"46°31'N\"  \"9°20'E\"   3100\r\n"
          "4 Kraków      46.45      9.3        900\r\n")
CUP = ("name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
       "\"Start\",STA,CH,4630.000N,00915.000E,1250.0m,1,,,,\r\n"
       "\"Łódź\",LDZ,PL,4628.000N,00918.000E,3000ft,1,,,,\r\n"
       "* a comment\r\n"
       "\"Summit\",SUM,CH,4631.000N,00920.000E,3100m,1,,,,\"top\"\r\n")
# Large enough to be converted on two threads, with a line skipped in the first block.
BIG_CUP = CUP.split("\r\n")[0] + "\r\n" + "".join(
    f"\"P{i}\",P,CH,{'bad' if i == 100 else '4630.000N'},00915.000E,{i % 3000}m,1,,,,\r\n"
    for i in range(10000))
FILES = {
    "points.txt": POINTS,
    "big.cup": BIG_CUP,
    "my.points.txt": POINTS,
    "Łódź 東京.txt": POINTS,
    "turn.cup": CUP,
    "noland.txt": "1 Start 46.5 9.25 1250\r\n",
    "comma.txt": "Landscape=Demo\r\n1 Start 46,5 9,25 1250\r\n",
    "badline.txt": "Landscape=Demo\r\n1 Start 46.5 9.25 1250\r\n2 Bad 91.5 9.25 100\r\n",
}

# name, arguments; every failure row of the command line ends with its status.
ROWS = [
    ("decimal degrees", ["Demo", "46.5", "9.25"]),
    ("degree sign, seconds", ["Demo", "46°30'15\"N", "9°15'00\"E"]),
    ("degree sign, decimal minutes", ["Demo", "46°30.25'N", "009°15.5'E"]),
    ("degree sign, decimal degrees", ["Demo", "46.504°N", "9.3°E"]),
    ("waypoint-file notation", ["Demo", "4630.500N", "00915.000E"]),
    ("waypoint-file variants", ["Demo", "46.30.500N", "00915000E"]),
    ("separate operands", ["Demo", "46", "30", "N", "9", "15", "E"]),
    ("separate operands, seconds", ["Demo", "46", "30", "15", "N", "9", "15", "0", "E"]),
    ("landscape name in other case", ["demo", "46.5", "9.25"]),
    ("outside the landscape", ["Demo", "-46.5", "-9.25"]),
    ("-conv:0 accepted", ["-conv:0", "Demo", "46.5", "9.25"]),
    ("landscape outside Windows-1252", ["東京", "46.5", "9.25"]),
    ("landscape with Polish letters", ["Łódź", "46.5", "9.25"]),
    ("-clip", ["-clip", "Demo", "46.5", "9.25"]),
    ("batch named alone", ["points.txt"]),
    ("batch, output from the first dot", ["my.points.txt"]),
    ("batch to .fpl and .cup", ["-batch", "-cup", "Demo", "points.txt", "route.fpl"]),
    ("batch, names outside Windows-1252", ["-batch", "-cup", "Demo", "Łódź 東京.txt", "東京.fpl"]),
    (".cup input", ["-batch", "Demo", "turn.cup"]),
    (".cup input to .cup", ["-batch", "-cup", "Demo", "turn.cup", "out.fpl"]),
    ("large .cup input to .cup", ["-batch", "-cup", "Demo", "big.cup", "big.fpl"]),
    ("-help", ["-help"]),
    ("stop: -conv below 0", ["-conv:-1", "Demo", "46.5", "9.25"]),
    ("stop: options only", ["-line", "-cup"]),
    ("stop: -batch with one operand", ["-batch", "Demo"]),
    ("stop: two operands", ["Demo", "46.5"]),
    ("stop: seven operands, no hemisphere", ["Demo", "46", "30", "15", "9", "15", "0"]),
    ("stop: coordinates not recognised", ["Demo", "46,5", "9.25"]),
    ("stop: no landscape in the batch", ["noland.txt"]),
    ("stop: landscape not installed", ["Nowhere", "46.5", "9.25"]),
    ("stop: batch file missing", ["-batch", "Demo", "missing.txt"]),
    ("stop: decimal comma in a batch", ["comma.txt"]),
    ("stop: latitude out of range in a batch", ["badline.txt"]),
    ("stop: output is the input", ["-batch", "Demo", "points.txt", "points.txt"]),
]

# Rows on another registry: InstallDir of Software\Volaro2, or None for no key at all.
REGISTRY_ROWS = [
    ("stop: install folder missing", ["Demo", "46.5", "9.25"], r"C:\Nowhere"),
    ("stop: no installation", ["Demo", "46.5", "9.25"], None),
]

USAGE_PATH = re.compile(r"^( 1 WP : | Batch: | Plan : | -tasks +)\S*varnix(\.exe)? ", re.M)
# Where the registry was read (a store file on Linux, the system's registry on Windows) and the
# host folder an InstallDir maps to are each platform's own; the reasons must agree.
REGISTRY_SOURCE = re.compile(r"^Registry (store )?read: .*$", re.M)
MAPPED_FOLDER = re.compile(r"^(Volaro\d InstallDir .*) = .*: ", re.M)


def console(raw, windows):
    """The console text as the user reads it."""
    text = raw.decode("cp1252", "replace").replace("\r\n", "\n") if windows else \
        raw.decode("utf-8", "replace")
    text = USAGE_PATH.sub(r"\1varnix ", text)
    text = REGISTRY_SOURCE.sub("Registry read: (this platform's)", text)
    return MAPPED_FOLDER.sub(r"\1 = (this platform's folder): ", text)


def clipboard():
    r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, timeout=10)
    return r.stdout.decode("utf-8", "replace").replace("\r\n", "\n") if r.returncode == 0 else None


def run(args, cwd, windows):
    env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", VARNIX_NO_DIALOGS="1",
               WINEPREFIX=str(PREFIX), WINEDEBUG="-all")
    env.pop("VARNIX_REGISTRY", None)
    if os.environ.get("DISPLAY"):
        subprocess.run(["xclip", "-selection", "clipboard", "-i", "/dev/null"], timeout=10)
    cmd = ["wine", WINDOWS] + args if windows else ["varnix"] + args
    exe = None if windows else LINUX
    # Files, not pipes: Wine's own processes started by this run inherit the handles and
    # would hold a pipe open long after the program ended.
    for attempt in range(2):
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            status = subprocess.run(cmd, executable=exe, cwd=cwd, env=env, stdout=out,
                                    stderr=err, stdin=subprocess.DEVNULL, timeout=60).returncode
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read(), err.read()
        # Wine that could not start the program at all (seen now and then on a loaded
        # machine) says nothing and fails: once more. The program never ends so in silence.
        if not (windows and status != 0 and not stdout and not stderr):
            break
    files = {p.name: p.read_bytes() for p in sorted(Path(cwd).iterdir())
             if p.is_file() and p.name != "Logfile.txt"}
    if "Varnix.log" in files:  # a log in the system's own line ends
        files["Varnix.log"] = files["Varnix.log"].replace(b"\r\n", b"\n")
    clip = clipboard() if "-clip" in args and os.environ.get("DISPLAY") else None
    return {"status": status, "stdout": console(stdout, windows),
            "stderr": console(stderr, windows), "files": files, "clipboard": clip}


def set_registry(install_dir):
    """Software\\Volaro2's InstallDir in Wine's registry (None: no key), also in user.reg."""
    env = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG="-all")
    key = r"HKCU\Software\Volaro2"
    cmd = ["wine", "reg", "delete", key, "/f"] if install_dir is None else \
        ["wine", "reg", "add", key, "/v", "InstallDir", "/d", install_dir, "/f"]
    subprocess.run(cmd, env=env, capture_output=True, stdin=subprocess.DEVNULL,
                   check=install_dir is not None)
    # The Linux build reads user.reg, which wineserver writes when it stops.
    subprocess.run(["wineserver", "-k"], env=env)
    subprocess.run(["wineserver", "-w"], env=env)
    subprocess.run(["wineserver", "-p"], env=env)
    subprocess.run(["wine", "cmd", "/c", "exit"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)  # Wine's services up


def set_up_installation():
    """Version 2 in C:\\Volaro2 with Demo, 東京 and Łódź, named by the real Wine registry."""
    shutil.rmtree(INSTALL, ignore_errors=True)
    (INSTALL / "Logs").mkdir(parents=True)
    (INSTALL / "Volaro.exe").write_bytes(b"")
    (INSTALL / "Logs/Logfile.txt").write_bytes(b"Volaro version: 2150\r\nstarted\r\n")
    for name in ["Demo", "東京", "Łódź"]:
        (INSTALL / "Landscapes" / name).mkdir(parents=True)
        shutil.copy(DEMO_TRN, INSTALL / "Landscapes" / name / f"{name}.trn")
    set_registry(r"C:\Volaro2")
    if "Volaro2" not in (PREFIX / "user.reg").read_text(encoding="utf-8", errors="replace"):
        sys.exit("compare_cli: the registry value did not reach user.reg")


def main():
    set_up_installation()
    failed = 0
    rows = [(name, args, r"C:\Volaro2") for name, args in ROWS] + REGISTRY_ROWS
    with tempfile.TemporaryDirectory(prefix="varnix-compare-") as tmp:
        registry = r"C:\Volaro2"
        for i, (name, args, install_dir) in enumerate(rows):
            if install_dir != registry:
                set_registry(install_dir)
                registry = install_dir
            results = []
            for windows in (False, True):
                cwd = Path(tmp) / f"{i:02d}-{'windows' if windows else 'linux'}"
                cwd.mkdir()
                for fname, text in FILES.items():
                    (cwd / fname).write_bytes(text.encode("utf-8"))
                results.append(run(args, cwd, windows))
            lin, win = results
            diffs = [k for k in lin if lin[k] != win[k]]
            if "-clip" in args and os.environ.get("DISPLAY") and lin["clipboard"] is None:
                diffs.append("clipboard")  # nothing to compare: the clipboard stayed empty
            if diffs:
                failed += 1
                print(f"FAIL {name}: {' '.join(args)}")
                for k in diffs:
                    a, b = lin[k], win[k]
                    if k == "files":
                        names = sorted(n for n in set(a) | set(b) if a.get(n) != b.get(n))
                        a, b = ({n: d.get(n) for n in names} for d in (a, b))
                    print(f"  {k}:\n    linux:   {a!r}\n    windows: {b!r}")
            else:
                print(f"ok   {name} (status {lin['status']})")
    set_registry(r"C:\Volaro2")
    print(f"{len(rows) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
