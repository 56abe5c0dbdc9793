#!/usr/bin/env python3
"""The Windows programs as built (logs never lost, the pilot's language) and as msiexec installs,
repairs, upgrades and removes them.

installer.py WINDOWS_BUILD WINE_PREFIX   (after compare_cli.py: it needs C:\\Volaro2 with Demo)
"""
import os
import re
import shlex
import subprocess
import sys
import tempfile
from pathlib import Path

BUILD, PREFIX = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
MSI = BUILD / "varnix-windows-x86_64.msi"
STAGE = BUILD / "zip/varnix"  # the files the installer was made from
DRIVE_C = PREFIX / "drive_c"
INSTALLED = DRIVE_C / "Program Files/Varnix"
PROGRAM_FILES = ["varnix.exe", "varnixw.exe", "Varnix_form.frm", "Varnix_files.frm", "README.txt",
                 "file-page.png"] + ["licenses/" + f for f in [
                     "FreeType-FTL.txt", "GLFW-zlib.txt", "THIRD-PARTY.txt",
                     "mingw-w64-runtime.txt", "gcc-runtime.txt", "pugixml-MIT.txt",
                     "nlohmann-json-MIT.txt"]]
CLASSES = r"HKLM\Software\Classes"
# Registry values an installation sets and an uninstallation removes: key, value, data (None:
# any). Open with for each type, never its default program.
REGISTRY = [(rf"{CLASSES}\{ext}\OpenWithProgids", "Varnix.File", None)
            for ext in [".cup", ".fpl", ".txt", ".tsk", ".gpx", ".xctsk"]] + [
    (rf"{CLASSES}\Varnix.File\shell\open\command", None,
     '"C:\\Program Files\\Varnix\\varnixw.exe" "%1"'),
    (rf"{CLASSES}\Applications\varnixw.exe", "FriendlyAppName", "Varnix")]
POINTS = "Landscape=Demo\r\n1 Start 46.5 9.25 1250\r\n2 Col 4630.500N 00915.000E 2500.5\r\n"
CLUB = ("name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
        "\"Home\",HOM,CH,4630.000N,00915.000E,1250.0m,1,,,,\r\n"
        "\"Peak\",PEA,CH,4631.000N,00920.000E,3100m,1,,,,\r\n"
        "-----Related Tasks-----\r\n"
        "\"Out and back\",\"Home\",\"Home\",\"Peak\",\"Home\",\"Home\"\r\n")
ENV = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG="-all", VARNIX_NO_DIALOGS="1",
           LANG="C.UTF-8", LC_ALL="C.UTF-8",
           # Wine would copy the shortcut and the file types into the desktop of this machine.
           WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
ENV.pop("VARNIX_REGISTRY", None)
failures = []


def check(ok, what, detail=""):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok or not detail else f": {detail!r}"))
    failures.extend([] if ok else [what])
    return ok


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def wine(*args, cwd=None, lang="C.UTF-8"):
    """Status, standard output and error (files, not pipes: see compare_cli.py)."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(["wine", *args], cwd=cwd, env=dict(ENV, LANG=lang, LC_ALL=lang),
                                stdout=out, stderr=err, stdin=subprocess.DEVNULL,
                                timeout=300).returncode
        return status, *(f.seek(0) or f.read().decode("cp1252", "replace") for f in (out, err))


def msiexec(*args, lang="C.UTF-8"):
    return wine("msiexec", *[windows_path(a) if isinstance(a, Path) else a for a in args],
                lang=lang)[0]


def reg_value(key, name=None):
    """The value's data, or None when the key or the value is missing."""
    status, out, _ = wine("reg", "query", key, *(["/v", name] if name else ["/ve"]))
    for line in out.splitlines() if status == 0 else []:
        parts = re.split(r"\s{2,}|\t", line.strip(), maxsplit=2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            return parts[2] if len(parts) == 3 else ""
    return None


def entry(msi):
    """The product's name in the list of installed programs, or None."""
    out = subprocess.run(["msiinfo", "export", str(msi), "Property"], capture_output=True,
                         text=True, check=True).stdout
    code = re.search(r"^ProductCode\t(\S+)", out, re.M).group(1)
    return reg_value(rf"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{code}",
                     "DisplayName")


def shortcuts():  # per machine: in the common Start menu on Windows, in the user's under Wine
    return [p for menu in ("ProgramData", "users/*/AppData/Roaming") for p in
            DRIVE_C.glob(menu + "/Microsoft/Windows/Start Menu/Programs/Varnix*.lnk")]


def the_programs(tmp):
    for exe, subsystem in [("varnix.exe", "Windows CUI"), ("varnixw.exe", "Windows GUI")]:
        path = BUILD / "app" / exe
        header = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(path)],
                                capture_output=True, text=True, check=True).stdout
        check(f"({subsystem})" in header, f"{exe} is a {subsystem} program")
        data = path.read_bytes()
        text = b"".join(re.findall(rb"<assembly .*?</assembly>", data, re.S)).decode()
        for needle in ["PerMonitorV2", "<longPathAware", "Microsoft.Windows.Common-Controls",
                       "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
                       "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]:  # Windows 10 and 11
            check(needle in text, f"{exe}: the manifest names {needle}")
        for field in ["CompanyName", "LegalCopyright"]:
            check(field.encode("utf-16-le") in data, f"{exe}: the version resource has {field}")
    # The GUI program answers as the console one does when its output is redirected.
    for args in [["Demo", "46.5", "9.25"], ["Demo", "46,5", "9.25"], ["-help"]]:
        runs = [(s, o.replace("varnixw", "varnix"), e) for s, o, e in (
            wine(str(BUILD / f"app/{exe}.exe"), *args, cwd=tmp) for exe in ("varnix", "varnixw"))]
        check(runs[0] == runs[1], f"varnixw.exe {' '.join(args)}: as varnix.exe ({runs[0][0]})")
    # In a console (a terminal under Wine: its console speaks UTF-8) a name outside the console's
    # code page comes out whole, and the code page the user had is back after the run.
    cup, bat = Path(tmp) / "tasks.cup", Path(tmp) / "console.cmd"
    cup.write_text(CLUB.replace("Peak", "Šoštanj"), encoding="utf-8", newline="")
    bat.write_bytes(f"@echo off\r\nchcp 850\r\n{windows_path(BUILD / 'app/varnix.exe')} -tasks "
                    f"{windows_path(cup)}\r\nchcp\r\n".encode("cp1252"))
    out = in_console(bat)[1]
    check("Home > Šoštanj > Home" in out, "console: the task's names as typed")
    check(out.count("Active code page: 850") == 2, "console: its code page put back at the end")


def logs_and_language(tmp):
    """A run in a folder that cannot be written ("chattr +i" as root, whom modes do not stop)."""
    exe, locked = str(BUILD / "app/varnix.exe"), Path(tmp) / "locked"
    logfile = next(DRIVE_C.glob("users/*/AppData/Local")) / "Varnix/Logfile.txt"
    logfile.unlink(missing_ok=True)
    locked.mkdir()
    (locked / "points.txt").write_text(POINTS, newline="")
    lock = (lambda on: subprocess.run(["chattr", "+i" if on else "-i", locked],
                                      capture_output=True).returncode == 0) \
        if os.geteuid() == 0 else (lambda on: locked.chmod(0o555 if on else 0o755) or True)
    if not lock(True):  # as the module tests do on a file system that cannot lock a folder
        print("skip a folder that cannot be written: chattr cannot lock one here")
    else:
        try:
            point = wine(exe, "Demo", "46.5", "9.25", cwd=locked)
            log = logfile.read_bytes() if logfile.exists() else b""
            listing = sorted(os.listdir(locked))
            status, _, err = wine(exe, "points.txt", cwd=locked)
        finally:
            lock(False)
        check(point[0] == 0 and point[1].startswith("TPPosX="),
              "a point converts in a folder that cannot be written", point)
        check(b"Volaro 2 install path" in log and log.endswith(b"\r\n") and
              b"\n" not in log.replace(b"\r\n", b""),
              "its log is in %LOCALAPPDATA%\\Varnix with CR LF line ends", log)
        check(listing == ["points.txt"], "and nothing in the folder", listing)
        check(status == 2 and "points.fpl ***\r\n" in err and "STOP" in err and
              err.split("\r\n")[1].strip() != "",
              "an output that cannot be opened names Windows' reason", err)
    for lang, words in [("fr_FR.UTF-8", "STOP Paysage Nowhere : impossible"),
                        ("de_DE.UTF-8", "STOP Landschaft Nowhere: Koordinatenumrechnung")]:
        status, _, err = wine(exe, "Nowhere", "46.5", "9.25", cwd=tmp, lang=lang)
        check(status == 2 and words in err, f"a stop in {lang[:2]}", err)


def in_console(bat):
    """Status and screen of a cmd script run in a console, as a user at a keyboard runs it (a
    terminal under Wine: its console speaks UTF-8)."""
    run = subprocess.run(["script", "-qec", f"wine cmd /c {shlex.quote(windows_path(bat))}",
                          "/dev/null"], cwd=bat.parent, env=ENV, stdin=subprocess.DEVNULL,
                         capture_output=True, timeout=120)
    return run.returncode, run.stdout.decode("utf-8", "replace")


def readme_examples(tmp):
    """The readme's cmd examples from the installed program in a console, each in a cmd script
    of its own so that a failure names its line and shows the screen."""
    docs = Path(tmp) / "profile/Documents"
    docs.mkdir(parents=True)
    (docs / "points.txt").write_text(POINTS, newline="")
    (docs / "club.cup").write_text(CLUB, newline="")
    lines = [line.split("cmd> ", 1)[1] for line in
             (STAGE / "README.txt").read_text(encoding="utf-8").splitlines()
             if line.startswith("  cmd> ")]
    check(len(lines) > 5 and lines[0].startswith("cd "),
          f"the readme has {len(lines)} cmd examples")
    bat, outputs = Path(tmp) / "example.cmd", []
    for line in lines[1:]:
        # cmd reads a script in the console's OEM code page, as Wine's English locale has it.
        bat.write_bytes("\r\n".join(["@echo off", f"set USERPROFILE={windows_path(docs.parent)}",
                                     lines[0], line, "exit /b %ERRORLEVEL%", ""]).encode("cp437"))
        status, out = in_console(bat)
        # -clip needs a clipboard, which Wine has only with a display.
        allowed = {0, 1} if "-clip" in line and not os.environ.get("DISPLAY") else {0}
        check(status in allowed, f"readme: {line} (status {status})", out)
        outputs.append(re.findall(r"TPPos[XY]=\S+", out))
    check(outputs[0] == outputs[1] and len(outputs[0]) == 2,
          "readme: 46.5 9.25 and \"46°30'N\" \"9°15'E\" give the same point", outputs[:2])
    check((docs / "route.fpl").exists() and (docs / "route.cup").exists(),
          "readme: the batch example wrote route.fpl and route.cup")


def installed(present, what):
    """Everything msiexec /i puts in place is there (present) or gone."""
    left = sorted(str(p.relative_to(INSTALLED)) for p in INSTALLED.rglob("*"))
    check(all((INSTALLED / f).is_file() for f in PROGRAM_FILES) if present
          else not INSTALLED.exists(),
          f"{what}: programs, form files, readme and licences in Program Files\\Varnix {left}")
    check(len(shortcuts()) == present, f"{what}: the Start-menu shortcut {shortcuts()}")
    for key, name, data in REGISTRY:
        got = reg_value(key, name)
        default = key.endswith("OpenWithProgids") and \
            reg_value(key.rsplit("\\", 1)[0]) == "Varnix.File"
        check((got is not None and data in (None, got) and not default) if present
              else got is None, f"{what}: {key} {name or ''} ({got})")
    check((entry(MSI) == "Varnix") == present, f"{what}: the entry in the installed programs")


def make_msi(tmp, name, later=0):
    """The installer again, as the build makes it, its version's last part raised by later."""
    wxs = re.sub(r'(<Product [^>]*Version="[\d.]*\.)(\d+)', lambda m: m[1] + str(int(m[2]) + later),
                 (BUILD / "app/varnix.wxs").read_text(encoding="utf-8"), count=1)
    source, msi = Path(tmp) / f"{name}.wxs", Path(tmp) / f"{name}.msi"
    source.write_text(wxs, encoding="utf-8")
    subprocess.run(["bash", str(Path(__file__).resolve().parents[2] / "scripts/make_msi.sh"),
                    str(source), str(msi), str(STAGE)], check=True, capture_output=True)
    return msi


def upgrades(tmp):
    rebuilt, newer = make_msi(tmp, "rebuilt"), make_msi(tmp, "newer", 1)
    log = Path(tmp) / "older.log"
    for what, msi, old, ok in [
            ("a rebuilt installer of the same version replaces it", rebuilt, MSI, True),
            ("a newer version replaces the older one", newer, rebuilt, True),
            ("an older version is refused", MSI, newer, False)]:
        kept, gone = (msi, old) if ok else (old, msi)
        # The refusal in a French session: its message in French.
        extra, lang = (["/l*v", log], "fr_FR.UTF-8") if not ok else ([], "C.UTF-8")
        check((msiexec("/i", msi, "/qn", *extra, lang=lang) == 0) == ok and
              entry(kept) == "Varnix" and entry(gone) is None, what)
    newer_text = "Une version plus récente de Varnix est déjà installée."
    check(log.is_file() and f"VARNIXNEWER = {newer_text}".encode("cp1252") in log.read_bytes(),
          "the refusal's message in the user's language")
    check(msiexec("/x", newer, "/qn") == 0, "the newer version uninstalls")


def shortcut_languages():
    """The Start-menu shortcut's tooltip follows the user's language."""
    for lang, tip in [("fr_FR.UTF-8", "Latitude/longitude en X/Y du paysage"),
                      ("de_DE.UTF-8", "Breite/Länge in X/Y der Landschaft"),
                      ("C.UTF-8", "Latitude/longitude to landscape X/Y")]:
        installed_ok = msiexec("/i", MSI, "/qn", lang=lang) == 0
        lnk = shortcuts()
        data = lnk[0].read_bytes() if len(lnk) == 1 else b""
        check(installed_ok and (tip.encode("utf-16-le") in data or tip.encode("cp1252") in data),
              f"{lang}: one Start-menu shortcut, its tooltip {tip!r}", [str(p) for p in lnk])
        check(msiexec("/x", MSI, "/qn", lang=lang) == 0, f"{lang}: uninstalled")


def licences():
    """Every library linked into the programs has its licence in the zip and the installer."""
    programs = [str(BUILD / "app" / exe) for exe in ("varnix.exe", "varnixw.exe")]
    script = Path(__file__).resolve().parents[2] / "scripts/check_licences.py"
    for kind, package in [("zip", BUILD / "varnix-windows-x86_64.zip"), ("msi", MSI)]:
        run = subprocess.run([sys.executable, str(script), kind, str(package),
                              str(STAGE / "licenses/THIRD-PARTY.txt"), *programs],
                             capture_output=True, text=True)
        check(run.returncode == 0, f"the {kind}'s licences match the libraries linked in",
              run.stdout + run.stderr)


def main():
    msiexec("/x", MSI, "/qn")  # a copy left by an interrupted run
    with tempfile.TemporaryDirectory(prefix="varnix-msi-") as tmp:
        the_programs(tmp)
        logs_and_language(tmp)
        check(msiexec("/i", MSI, "/qn") == 0, "msiexec /i /qn")
        installed(True, "msiexec /i")
        readme_examples(tmp)
        check(msiexec("/i", MSI, "/qn") == 0 and len(shortcuts()) == 1,
              "the installer run twice: still one installation")
        (INSTALLED / "varnixw.exe").unlink()
        # What msiexec /fa does (Wine's msiexec has no /f).
        check(msiexec("/i", MSI, "REINSTALL=ALL", "REINSTALLMODE=amus", "/qn") == 0 and
              (INSTALLED / "varnixw.exe").is_file(), "a repair puts back a deleted program")
        # Logs of runs started in the program's folder (a user allowed to write there).
        wine(str(INSTALLED / "varnix.exe"), "-batch", "Demo", "missing.txt", cwd=INSTALLED)
        check(msiexec("/x", MSI, "/qn") == 0, "msiexec /x /qn")
        installed(False, "msiexec /x")
        check(msiexec("/i", MSI, "/qn") == 0, "installed again")
        upgrades(tmp)
        installed(False, "after the upgrades")
        shortcut_languages()
        licences()
    print(f"installer: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
