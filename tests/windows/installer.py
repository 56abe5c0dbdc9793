#!/usr/bin/env python3
"""The Windows programs as built, and as the installer puts them in place, under Wine.

installer.py WINDOWS_BUILD WINE_PREFIX

1. varnix.exe is a console program, varnixw.exe a GUI-subsystem one; both carry the manifest
   and the version resource's company and copyright; varnixw.exe answers as varnix.exe does;
   a console gets the names whole and its code page back.
2. msiexec /i ... /qn puts the programs, the form file, the readme and the licences in
   Program Files\\Varnix, the Start-menu shortcut and the Open-with entries in place (never a
   type's default program); the installed varnix.exe runs the readme's cmd examples. Installed
   twice; a repair puts back a deleted program; a newer version replaces it and an older one is
   refused. msiexec /x removes every program file, the logs a run wrote there, the shortcut and
   the registry entries.
Needs the simulator installation compare_cli.py leaves in the prefix (C:\\Volaro2 with Demo).
"""
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
BUILD = Path(sys.argv[1]).resolve()
PREFIX = Path(sys.argv[2]).resolve()
MSI = BUILD / "varnix-windows-x86_64.msi"
STAGE = BUILD / "zip/varnix"  # the files the installer was made from
DRIVE_C = PREFIX / "drive_c"
INSTALLED = DRIVE_C / "Program Files/Varnix"
PROGRAM_FILES = ["varnix.exe", "varnixw.exe", "Varnix_form.frm", "Varnix_files.frm", "README.txt",
                 "file-page.png",
                 "licenses/FreeType-FTL.txt", "licenses/GLFW-zlib.txt",
                 "licenses/THIRD-PARTY.txt", "licenses/mingw-w64-runtime.txt",
                 "licenses/gcc-runtime.txt"]
EXTENSIONS = [".cup", ".fpl", ".txt", ".tsk", ".gpx", ".xctsk"]
# Per-machine shortcuts land in the common Start menu on Windows, in the user's under Wine.
START_MENUS = [DRIVE_C / "ProgramData/Microsoft/Windows/Start Menu/Programs",
               *DRIVE_C.glob("users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")]
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


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def wine(*args, cwd=None):
    """Runs a Windows program; status, standard output and error (files: see compare_cli.py)."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(["wine", *args], cwd=cwd, env=ENV, stdout=out, stderr=err,
                                stdin=subprocess.DEVNULL, timeout=300).returncode
        out.seek(0)
        err.seek(0)
        return status, out.read().decode("cp1252", "replace"), err.read().decode("cp1252", "replace")


def msiexec(*args):
    return wine("msiexec", *args)[0]


def reg_value(key, name=None):
    """The value's data, or None when the key or the value is missing."""
    status, out, _ = wine("reg", "query", key, *(["/v", name] if name else ["/ve"]))
    if status != 0:
        return None
    for line in out.splitlines():
        parts = re.split(r"\s{2,}|\t", line.strip(), maxsplit=2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            return parts[2] if len(parts) == 3 else ""
    return None


def product_code(msi):
    out = subprocess.run(["msiinfo", "export", str(msi), "Property"], capture_output=True,
                         text=True, check=True).stdout
    return re.search(r"^ProductCode\t(\S+)", out, re.M).group(1)


def uninstall_entry(code):
    return reg_value(rf"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{code}",
                     "DisplayName")


def shortcuts():
    return [p for menu in START_MENUS for p in menu.glob("Varnix*.lnk")]


def the_programs():
    objdump = "x86_64-w64-mingw32-objdump"
    for exe, subsystem in [("varnix.exe", "Windows CUI"), ("varnixw.exe", "Windows GUI")]:
        path = BUILD / "app" / exe
        header = subprocess.run([objdump, "-p", str(path)], capture_output=True, text=True,
                                check=True).stdout
        check(re.search(rf"^Subsystem\s+\S+\s+\({subsystem}\)", header, re.M) is not None,
              f"{exe} is a {subsystem} program")
        data = path.read_bytes()
        manifest = re.search(rb"<assembly .*?</assembly>", data, re.S)
        text = manifest.group(0).decode() if manifest else ""
        for what, needle in [("per-monitor DPI awareness v2", "PerMonitorV2"),
                             ("long paths", "<longPathAware"),
                             ("common controls 6", "Microsoft.Windows.Common-Controls"),
                             ("Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"),
                             ("Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")]:
            check(needle in text, f"{exe}: the manifest names {what}")
        for field in ["CompanyName", "LegalCopyright"]:
            check(field.encode("utf-16-le") in data, f"{exe}: the version resource has {field}")
    # The GUI program answers as the console one does when its output is redirected.
    with tempfile.TemporaryDirectory(prefix="varnixw-") as tmp:
        for args in [["Demo", "46.5", "9.25"], ["Demo", "46,5", "9.25"], ["-help"]]:
            runs = [wine(str(BUILD / "app" / exe), *args, cwd=tmp)
                    for exe in ("varnix.exe", "varnixw.exe")]
            runs = [(s, o.replace("varnixw", "varnix"), e) for s, o, e in runs]
            check(runs[0] == runs[1], f"varnixw.exe {' '.join(args)}: as varnix.exe "
                  f"(status {runs[0][0]})")


def the_console(tmp):
    """In a console (a terminal under Wine: its console speaks UTF-8) a name outside the console's
    code page comes out whole, and the code page the user had is back after the run."""
    cup = Path(tmp) / "tasks.cup"
    cup.write_text(CLUB.replace("Peak", "Šoštanj"), encoding="utf-8", newline="")
    bat = Path(tmp) / "console.cmd"
    bat.write_bytes(f"@echo off\r\nchcp 850\r\n{windows_path(BUILD / 'app/varnix.exe')} -tasks "
                    f"{windows_path(cup)}\r\nchcp\r\n".encode("cp1252"))
    out = subprocess.run(["script", "-qec", f"wine cmd /c {shlex.quote(windows_path(bat))}",
                          "/dev/null"],
                         cwd=tmp, env=ENV, stdin=subprocess.DEVNULL, capture_output=True,
                         timeout=120).stdout.decode("utf-8", "replace")
    check("Home > Šoštanj > Home" in out, "console: the task's names as typed")
    check(out.count("Active code page: 850") == 2, "console: its code page put back at the end")


def readme_examples(tmp):
    """The readme's cmd examples, in one cmd script, from the installed program."""
    home = Path(tmp) / "profile"
    (home / "Documents").mkdir(parents=True)
    (home / "Documents/points.txt").write_text(POINTS, newline="")
    (home / "Documents/club.cup").write_text(CLUB, newline="")
    lines = [line.split("cmd> ", 1)[1] for line in
             (STAGE / "README.txt").read_text(encoding="utf-8").splitlines()
             if line.startswith("  cmd> ")]
    script = ["@echo off", f"set USERPROFILE={windows_path(home)}"]
    for line in lines:
        script += [line, "echo ==status %ERRORLEVEL%"]
    bat = Path(tmp) / "examples.cmd"
    # cmd reads a script in the console's OEM code page, as Wine's English locale has it.
    bat.write_bytes("\r\n".join(script + [""]).encode("cp437"))
    status, out, err = wine("cmd", "/c", windows_path(bat), cwd=tmp)
    results = re.findall(r"^==status (\d+)", out, re.M)
    outputs = re.split(r"^==status \d+\r?\n", out, flags=re.M)
    check(len(results) == len(lines), f"the readme's {len(lines)} cmd examples ran")
    for line, result in zip(lines, results):
        # -clip needs a clipboard, which Wine has only with a display.
        allowed = {"0", "1"} if "-clip" in line and not os.environ.get("DISPLAY") else {"0"}
        check(result in allowed, f"readme: {line} (status {result})")
    if len(outputs) > 3:
        check(outputs[1] == outputs[2] and "TPPosX=" in outputs[1],
              "readme: 46.5 9.25 and \"46°30'N\" \"9°15'E\" give the same point")
    check((home / "Documents/route.fpl").exists() and (home / "Documents/route.cup").exists(),
          "readme: the batch example wrote route.fpl and route.cup")


def installed(tmp):
    check(all((INSTALLED / f).is_file() for f in PROGRAM_FILES),
          "msiexec /i: programs, form files, readme and licences in Program Files\\Varnix")
    check(len(shortcuts()) == 1, f"msiexec /i: a Start-menu shortcut ({shortcuts()})")
    for ext in EXTENSIONS:
        key = rf"HKLM\Software\Classes\{ext}"
        check(reg_value(key + r"\OpenWithProgids", "Varnix.File") is not None and
              reg_value(key) != "Varnix.File", f"msiexec /i: Open with for {ext}, not the default")
    command = reg_value(r"HKLM\Software\Classes\Varnix.File\shell\open\command")
    check(command == '"C:\\Program Files\\Varnix\\varnixw.exe" "%1"',
          f"msiexec /i: Open with runs varnixw.exe ({command})")
    check(reg_value(r"HKLM\Software\Classes\Applications\varnixw.exe", "FriendlyAppName") ==
          "Varnix", "msiexec /i: varnixw.exe registered as Varnix")
    check(uninstall_entry(product_code(MSI)) == "Varnix",
          "msiexec /i: an entry in the list of installed programs")
    status, out, _ = wine(str(INSTALLED / "varnix.exe"), "Demo", "46.5", "9.25", cwd=tmp)
    check(status == 0 and "TPPosX=20817.031" in out, "the installed varnix.exe converts a point")
    readme_examples(tmp)


def make_msi(tmp, name, version=None):
    """The installer again, as the build makes it, at another version when given."""
    wxs = (BUILD / "app/varnix.wxs").read_text(encoding="utf-8")
    if version:
        wxs = re.sub(r'(<Product [^>]*Version=")[^"]*"', rf'\g<1>{version}"', wxs, count=1)
    source = Path(tmp) / f"{name}.wxs"
    source.write_text(wxs, encoding="utf-8")
    msi = Path(tmp) / f"{name}.msi"
    subprocess.run(["bash", str(HERE.parent.parent / "scripts/make_msi.sh"), str(source),
                    str(msi), str(STAGE)], check=True, capture_output=True)
    return msi


def upgrades(tmp):
    """A rebuilt installer and a newer one replace the installed version; an older one is
    refused."""
    rebuilt = make_msi(tmp, "rebuilt")
    check(msiexec("/i", windows_path(rebuilt), "/qn") == 0 and
          uninstall_entry(product_code(MSI)) is None and
          uninstall_entry(product_code(rebuilt)) == "Varnix",
          "a rebuilt installer of the same version replaces the installed one")
    version = re.search(r'<Product [^>]*Version="(\d+)\.(\d+)\.(\d+)"',
                        (BUILD / "app/varnix.wxs").read_text(encoding="utf-8")).groups()
    newer = make_msi(tmp, "newer", f"{version[0]}.{version[1]}.{int(version[2]) + 1}")
    check(msiexec("/i", windows_path(newer), "/qn") == 0 and
          uninstall_entry(product_code(rebuilt)) is None and
          uninstall_entry(product_code(newer)) == "Varnix",
          "a newer version replaces the older one: one entry")
    check(msiexec("/i", windows_path(MSI), "/qn") != 0 and
          uninstall_entry(product_code(newer)) == "Varnix" and
          uninstall_entry(product_code(MSI)) is None, "an older version is refused")
    check(msiexec("/x", windows_path(newer), "/qn") == 0, "the newer version uninstalls")


def uninstalled():
    left = [str(p.relative_to(DRIVE_C)) for p in INSTALLED.rglob("*")] if INSTALLED.exists() \
        else []
    check(not INSTALLED.exists(), f"msiexec /x: nothing left in Program Files\\Varnix {left}")
    check(not shortcuts(), "msiexec /x: the shortcut is gone")
    check(all(reg_value(rf"HKLM\Software\Classes\{ext}\OpenWithProgids", "Varnix.File") is None
              for ext in EXTENSIONS) and
          reg_value(r"HKLM\Software\Classes\Applications\varnixw.exe", "FriendlyAppName") is None
          and reg_value(r"HKLM\Software\Classes\Varnix.File\shell\open\command") is None,
          "msiexec /x: the Open-with entries are gone")
    check(uninstall_entry(product_code(MSI)) is None, "msiexec /x: no entry in the list")


def main():
    the_programs()
    with tempfile.TemporaryDirectory(prefix="varnix-console-") as tmp:
        the_console(tmp)
    msi = windows_path(MSI)
    msiexec("/x", msi, "/qn")  # a copy left by an interrupted run
    with tempfile.TemporaryDirectory(prefix="varnix-msi-") as tmp:
        check(msiexec("/i", msi, "/qn") == 0, "msiexec /i /qn")
        installed(tmp)
        check(msiexec("/i", msi, "/qn") == 0 and len(shortcuts()) == 1,
              "the installer run twice: still one installation")
        (INSTALLED / "varnixw.exe").unlink()
        # What msiexec /fa does (Wine's msiexec has no /f).
        check(msiexec("/i", msi, "REINSTALL=ALL", "REINSTALLMODE=amus", "/qn") == 0 and
              (INSTALLED / "varnixw.exe").is_file(), "a repair puts back a deleted program")
        # Logs of runs started in the program's folder (a user allowed to write there).
        wine(str(INSTALLED / "varnix.exe"), "-batch", "Demo", "missing.txt", cwd=INSTALLED)
        logs = sorted(p.name for p in INSTALLED.glob("*.*") if p.suffix in (".log", ".txt")
                      and p.name != "README.txt")
        check(msiexec("/x", msi, "/qn") == 0, f"msiexec /x /qn (logs written there: {logs})")
        uninstalled()
        check(msiexec("/i", msi, "/qn") == 0, "installed again")
        upgrades(tmp)
        uninstalled()
    print(f"installer: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
