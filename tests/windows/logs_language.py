#!/usr/bin/env python3
"""varnix.exe under Wine: logs that are never lost, an output's reason, the pilot's language.

logs_language.py WINDOWS_EXE WINE_PREFIX     (after compare_cli.py, whose installation it uses)

A run in a folder that cannot be written ("chattr +i" as root) still converts, and its log goes
to %LOCALAPPDATA%\\Varnix with CR LF line ends; a batch whose output cannot be opened there
names Windows' reason; a stop comes in the user's display language (French, German).
"""
import os
import subprocess
import sys
import tempfile
from pathlib import Path

EXE = os.path.abspath(sys.argv[1])
PREFIX = Path(sys.argv[2]).resolve()


def run(args, cwd, lang="C.UTF-8"):
    env = dict(os.environ, LANG=lang, LC_ALL=lang, VARNIX_NO_DIALOGS="1",
               WINEPREFIX=str(PREFIX), WINEDEBUG="-all")
    env.pop("VARNIX_REGISTRY", None)
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(["wine", EXE] + args, cwd=cwd, env=env, stdout=out, stderr=err,
                                stdin=subprocess.DEVNULL, timeout=60).returncode
        out.seek(0)
        err.seek(0)
        return status, out.read().decode("cp1252"), err.read().decode("cp1252")


def lock(folder, on):
    if os.geteuid() == 0:
        return subprocess.run(["chattr", "+i" if on else "-i", folder]).returncode == 0
    os.chmod(folder, 0o555 if on else 0o755)
    return True


def main():
    failures = []

    def check(what, ok, detail=""):
        print(("ok   " if ok else "FAIL ") + what + ("" if ok else f": {detail!r}"))
        if not ok:
            failures.append(what)

    logs = list(PREFIX.glob("drive_c/users/*/AppData/Local"))
    if not logs:
        print("FAIL no AppData\\Local in the prefix")
        return 1
    logfile = logs[0] / "Varnix" / "Logfile.txt"
    if logfile.exists():
        logfile.unlink()
    with tempfile.TemporaryDirectory(prefix="varnix-locked-") as tmp:
        (Path(tmp) / "points.txt").write_bytes(b"Landscape=Demo\r\n1 Start 46.5 9.25 1250\r\n")
        if not lock(tmp, True):
            print("FAIL the folder could not be locked")
            return 1
        try:
            status, out, err = run(["Demo", "46.5", "9.25"], tmp)
            check("a point converts in a folder that cannot be written",
                  status == 0 and out.startswith("TPPosX="), (status, out, err))
            log = logfile.read_bytes() if logfile.exists() else b""
            check("its log is in %LOCALAPPDATA%\\Varnix", b"Volaro 2 install path" in log, log)
            check("with CR LF line ends", log.endswith(b"\r\n") and b"\n" not in
                  log.replace(b"\r\n", b""), log)
            check("and nothing in the folder", sorted(os.listdir(tmp)) == ["points.txt"],
                  os.listdir(tmp))
            status, out, err = run(["points.txt"], tmp)
            check("an output that cannot be opened names Windows' reason",
                  status == 2 and "points.fpl ***\r\n" in err and "STOP" in err and
                  err.split("\r\n")[1].strip() != "", err)
        finally:
            lock(tmp, False)

    for lang, words in [("fr_FR.UTF-8", "STOP Paysage Nowhere : impossible"),
                        ("de_DE.UTF-8", "STOP Landschaft Nowhere: Koordinatenumrechnung")]:
        with tempfile.TemporaryDirectory(prefix="varnix-lang-") as tmp:
            status, out, err = run(["Nowhere", "46.5", "9.25"], tmp, lang)
            check(f"a stop in {lang[:2]}", status == 2 and words in err, err)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
