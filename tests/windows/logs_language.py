#!/usr/bin/env python3
"""varnix.exe under Wine: logs that are never lost, an output's reason, the pilot's language.

logs_language.py WINDOWS_EXE WINE_PREFIX     (after compare_cli.py, whose installation it uses)
"""
import os
import subprocess
import sys
import tempfile
from pathlib import Path

EXE, PREFIX = os.path.abspath(sys.argv[1]), Path(sys.argv[2]).resolve()
LOGFILE = next(PREFIX.glob("drive_c/users/*/AppData/Local")) / "Varnix/Logfile.txt"


def run(args, cwd, lang="C.UTF-8"):
    env = dict(os.environ, LANG=lang, LC_ALL=lang, VARNIX_NO_DIALOGS="1",
               WINEPREFIX=str(PREFIX), WINEDEBUG="-all")
    env.pop("VARNIX_REGISTRY", None)
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(["wine", EXE] + args, cwd=cwd, env=env, stdout=out, stderr=err,
                                stdin=subprocess.DEVNULL, timeout=60).returncode
        return status, *(f.seek(0) or f.read().decode("cp1252") for f in (out, err))


def lock(folder, on):
    """A folder that cannot be written: "chattr +i" as root, whom modes do not stop."""
    if os.geteuid() == 0:
        subprocess.run(["chattr", "+i" if on else "-i", folder], check=True)
    else:
        os.chmod(folder, 0o555 if on else 0o755)


def main():
    LOGFILE.unlink(missing_ok=True)
    with tempfile.TemporaryDirectory(prefix="varnix-locked-") as tmp:
        (Path(tmp) / "points.txt").write_bytes(b"Landscape=Demo\r\n1 Start 46.5 9.25 1250\r\n")
        lock(tmp, True)
        try:
            point = run(["Demo", "46.5", "9.25"], tmp)
            log = LOGFILE.read_bytes() if LOGFILE.exists() else b""
            listing = sorted(os.listdir(tmp))
            batch = run(["points.txt"], tmp)
        finally:
            lock(tmp, False)
    err = batch[2]
    cases = [
        ("a point converts in a folder that cannot be written",
         point[0] == 0 and point[1].startswith("TPPosX="), point),
        ("its log is in %LOCALAPPDATA%\\Varnix with CR LF line ends",
         b"Volaro 2 install path" in log and log.endswith(b"\r\n") and
         b"\n" not in log.replace(b"\r\n", b""), log),
        ("and nothing in the folder", listing == ["points.txt"], listing),
        ("an output that cannot be opened names Windows' reason",
         batch[0] == 2 and "points.fpl ***\r\n" in err and "STOP" in err and
         err.split("\r\n")[1].strip() != "", err)]
    for lang, words in [("fr_FR.UTF-8", "STOP Paysage Nowhere : impossible"),
                        ("de_DE.UTF-8", "STOP Landschaft Nowhere: Koordinatenumrechnung")]:
        with tempfile.TemporaryDirectory(prefix="varnix-lang-") as tmp:
            stop = run(["Nowhere", "46.5", "9.25"], tmp, lang)
        cases.append((f"a stop in {lang[:2]}", stop[0] == 2 and words in stop[2], stop[2]))
    for what, ok, detail in cases:
        print(("ok   " if ok else "FAIL ") + what + ("" if ok else f": {detail!r}"))
    return 0 if all(ok for _, ok, _ in cases) else 1


if __name__ == "__main__":
    sys.exit(main())
