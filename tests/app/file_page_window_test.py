#!/usr/bin/env python3
"""The window's file page driven as a user would: varnix -gui FILE opens it, keys choose and
convert, every output is compared byte for byte with what the command line writes for the same
choices, and Escape closes it. Message boxes go to standard error (VARNIX_NO_DIALOGS=1), and
file dialogs return nothing, as Cancel does. The window keeps its logs in the user's state
folder: none is left beside the files or in the home folder.

file_page_window_test.py VARNIX SOURCE_DIR     on a private X server (exit 77: tools missing)
file_page_window_test.py VARNIX SOURCE_DIR WINDOWS_EXE WINE_PREFIX SCREENSHOT.png
    the first row with varnixw.exe under Wine on $DISPLAY, in English, French and German,
    opened as Explorer's "Open with" opens a file (`wine start /unix`: the file its only operand).
"""
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.dont_write_bytecode = True  # nothing left in the source tree
sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "gui"))
from window_interaction_test import SKIP, check, failures, private_display, wait_for, xlib  # noqa


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20).stdout


def red_pixels(win):
    rgb = subprocess.run(["import", "-window", win, "-depth", "8", "rgb:-"],
                         capture_output=True, check=False).stdout
    return sum(rgb[k] > 180 and max(rgb[k + 1:k + 3]) < 60 for k in range(0, len(rgb) - 2, 3))


def geometry(win):
    return {k: int(v) for k, v in (f.split("=") for f in
                                   xdo("getwindowgeometry", "--shell", win).split())}


def picture(out):
    """The picture as the last drawing left it (VARNIX_DEBUG=1 prints it): its area (x0, y0,
    x1, y1 from the bottom left) and its labels (set, rank, box, text)."""
    lines = [ln.split(" ", 11)[3:] for ln in out.read_text("cp1252").splitlines()
             if ln.startswith(" picture 1 ")]
    end = max((k for k, ln in enumerate(lines) if ln[0] == "area"), default=None)
    if end is None:
        return None, []
    start = max(k for k in range(end) if lines[k][0] == "view")
    labels = [(int(ln[1]), int(ln[3]), tuple(map(int, ln[4:8])), ln[8] if len(ln) > 8 else "")
              for ln in lines[start:end] if ln[0] == "label"]
    return tuple(map(int, lines[end][1:5])), labels


def shot(win, area):
    """The picture's pixels inside its frame and focus line, as RGB bytes."""
    height = geometry(win)["HEIGHT"]
    x0, y0, x1, y1 = area
    crop = f"{x1 - x0 - 8}x{y1 - y0 - 8}+{x0 + 4}+{height - y1 + 4}"
    return subprocess.run(["import", "-window", win, "-crop", crop, "-depth", "8", "rgb:-"],
                          capture_output=True, check=False).stdout


def leg_pixels(rgb):  # the legs' strong colour, 0xC0008C
    return sum(abs(rgb[k] - 0xC0) < 40 and rgb[k + 1] < 60 and abs(rgb[k + 2] - 0x8C) < 40
               for k in range(0, len(rgb) - 2, 3))


def fpl_legs_km(fpl):
    """Leg lengths from the turnpoints' X/Y the command line writes: the reference."""
    v = dict(ln.split("=", 1) for ln in fpl.read_text("cp1252").split() if "=" in ln)
    xy = [(float(v[f"TPPosX{k}"]), float(v[f"TPPosY{k}"])) for k in range(99)
          if f"TPPosX{k}" in v]
    return [math.dist(a, b) / 1000 for a, b in zip(xy, xy[1:])]


def picture_rows(varnix, source, tmp):
    """The file page's picture: resized, zoomed, panned and fitted again; its labels asked."""
    work = Path(tmp, "picture")
    work.mkdir()
    shutil.copy(source / "tests/app/data/tasks.cup", work / "tasks.cup")
    random.seed(1)
    with open(work / "big.cup", "w", newline="\r\n") as f:
        f.write("name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\n")
        for k in range(100000):
            lat, lon = 46.2 + random.random() * 0.6, 9.0 + random.random() * 0.6
            f.write('"P%d",P%d,CH,%02d%06.3fN,%03d%06.3fE,500m,1,,,,\n'
                    % (k, k, int(lat), lat % 1 * 60, int(lon), lon % 1 * 60))
        f.write("-----Related Tasks-----\n\"Five\",\"P1\",\"P1\",\"P20\",\"P300\",\"P1\",\"P1\"\n")
    subprocess.run([varnix, "-batch", "-task", "1", "Demo", "tasks.cup", "ref.fpl"], cwd=work,
                   capture_output=True, check=False)
    reference = fpl_legs_km(work / "ref.fpl")

    def opened(file):
        out = work / (file + ".out")
        proc = subprocess.Popen([varnix, "-gui", str(work / file)], cwd=work,
                                env=dict(os.environ, VARNIX_DEBUG="1"), stdout=out.open("w"),
                                stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        wait_for(lambda: xdo("search", "--onlyvisible", "--pid", str(proc.pid)).split(), 30)
        win = xdo("search", "--onlyvisible", "--pid", str(proc.pid)).split()[-1]
        xdo("windowfocus", "--sync", win)
        wait_for(lambda: picture(out)[0] is not None, 30)
        time.sleep(0.5)
        return proc, win, out

    def act(win, out, *steps):
        """Steps: "key:NAME", "wheel:N" at the picture's middle, "drag:DX,DY" from it."""
        area = picture(out)[0]
        height = geometry(win)["HEIGHT"]
        mx, my = (area[0] + area[2]) // 2, height - (area[1] + area[3]) // 2
        for step in steps:
            kind, arg = step.split(":")
            if kind == "key":
                xdo("key", "--window", win, arg)
            elif kind == "wheel":
                n = int(arg)
                xdo("mousemove", "--window", win, str(mx), str(my), "click", "--repeat",
                    str(abs(n)), "4" if n > 0 else "5")
            else:
                dx, dy = map(int, arg.split(","))
                xdo("mousemove", "--window", win, str(mx), str(my), "mousedown", "1")
                xdo("mousemove", "--window", win, str(mx + dx), str(my + dy))
                xdo("mouseup", "1")
            time.sleep(0.6)

    def labels_sound(name, out, task_points, legs):
        area, labels = picture(out)
        boxes = [b for _, _, b, _ in labels]
        check(all(area[0] <= b[0] and area[1] <= b[1] and b[2] <= area[2] and b[3] <= area[3]
                  for b in boxes), name + ": no label crosses the picture's edge")
        check(not any(a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]
                      for i, a in enumerate(boxes) for b in boxes[i + 1:]),
              name + ": no two labels overlap")
        named = sorted(t for s, _, _, t in labels if s == 0)
        check(len(named) == task_points, f"{name}: the task's {task_points} points named {named}")
        km = sorted(float(t.split()[0]) for s, _, _, t in labels if s == 1)
        check(legs is None or len(km) == len(legs) and all(abs(a - b) < 0.051 for a, b in zip(km, sorted(legs))),
              f"{name}: leg lengths {km} as the X/Y of the points give them"
              f" {legs and [round(x, 2) for x in legs]}")

    # name, file, what is done and checked
    rows = ["the window resized", "wheel, drag and Home", "labels", "100,000 points"]
    for name in rows:
        file = "big.cup" if name.startswith("100,000") else "tasks.cup"
        proc, win, out = opened(file)
        try:
            if name == "the window resized":
                before, g = picture(out)[0], geometry(win)
                xdo("windowsize", win, str(g["WIDTH"] + 200), str(g["HEIGHT"] + 120))
                time.sleep(1)
                after = picture(out)[0]
                check(after[2] - after[0] == before[2] - before[0] + 200
                      and after[3] - after[1] == before[3] - before[1] + 120,
                      f"{name}: the picture grows with it ({before} -> {after})")
                labels_sound(name, out, 3, reference)
            elif name == "wheel, drag and Home":
                area = picture(out)[0]
                first = shot(win, area)
                act(win, out, "wheel:2")
                zoomed = shot(win, area)
                act(win, out, "drag:60,40")
                dragged = shot(win, area)
                act(win, out, "key:Home")
                check(first != zoomed and zoomed != dragged and shot(win, area) == first,
                      f"{name}: the picture changes, then Home shows it as at first")
                act(win, out, "key:plus", "key:Left", "key:Home")
                check(shot(win, area) == first, f"{name}: + and an arrow, then Home")
            elif name == "labels":
                act(win, out, "wheel:-1", "key:Home")
                labels_sound(name, out, 3, reference)
            else:
                check(leg_pixels(shot(win, picture(out)[0])) > 200,
                      f"{name}: the task's legs still show in their colour")
                labels_sound(name, out, 3, None)
        finally:
            proc.kill()
            proc.wait()


def main():
    wine = len(sys.argv) == 6
    if len(sys.argv) not in (3, 6) or not all(map(shutil.which, ("Xvfb", "xdotool", "import"))):
        print("skipped: needs Xvfb, xdotool and ImageMagick")
        return SKIP
    varnix, source = os.path.abspath(sys.argv[1]), Path(sys.argv[2]).resolve()
    os.environ.update(VARNIX_REGISTRY=str(source / "data/demo/user.reg"), VARNIX_NO_DIALOGS="1")
    if wine:
        os.environ.update(WINEPREFIX=str(Path(sys.argv[4]).resolve()), WINEDEBUG="-all",
                          LANG="C.UTF-8")
        start = ["wine", "start", "/unix", os.path.abspath(sys.argv[3])]
    else:
        server, start = private_display(), [varnix, "-gui"]
        with xlib() as (x11, dpy):
            x11.XAutoRepeatOff(dpy)
    lodz = "\u0141\u00f3d\u017a"
    def edit_tasks(gui):  # the second task deleted in an editor after the file was opened
        text = (gui / "tasks.cup").read_text("cp1252")
        (gui / "tasks.cup").write_text(text[:text.rindex("\n", 0, len(text) - 1) + 1], "cp1252")

    tick_cup = (116, 404)
    state, home = (Path(tempfile.mkdtemp()) for _ in "sh")
    if not wine:
        os.environ.update(HOME=str(home), XDG_STATE_HOME=str(state))
    browse = (514, 513)  # the input file's "..." button
    warnings = (0.38, 20)  # the Warnings button: x a share of the width
    # lines 3 to 31 repeat the number of line 2: a warning each
    many = "Landscape=Demo\n" + "".join(f"1 P{k} 46.5 9.25 100\n" for k in range(30))
    # name, file opened, keys (a pair: a click; a function: done to the inputs' folder), command
    # line, its output, a text the box holds (a list: texts the Warnings list copies to the
    # clipboard with Ctrl+C; "!": a text no box may hold); then what the row adds: files written
    # first, the environment, files that must keep their bytes, files that must not appear
    cases = [
        ("the first task by Enter", "tasks.cup", ["Return"],
         "-task 1 Demo tasks.cup tasks.fpl", "tasks.fpl", None),
        ("the second task chosen by keys", "tasks.cup", [(120, 455), "Down", "Return", "Return"],
         "-task 2 Demo tasks.cup tasks.fpl", "tasks.fpl", None),
        ("a name outside Windows-1252", lodz + ".cup", ["Return"],
         f"-task 1 Demo {lodz}.cup {lodz}.fpl", lodz + ".fpl", None),
        ("a bad line shown in a box", "bad.txt", ["Return"], "Demo bad.txt bad.fpl", None,
         "line 3"),
        ("a plan back to .cup", "plan.fpl", ["Return"], "Demo plan.fpl plan.cup", "plan.cup",
         None),
        ("the replace question names the .cup written; No keeps it", "tasks.cup",
         [tick_cup, "Return"], None, None, "tasks_Demo.cup",
         {"files": {"tasks_Demo.cup": "mine"}, "env": {"VARNIX_NO_DIALOGS": "no"},
          "kept": ["tasks_Demo.cup", "tasks.cup"], "absent": ["tasks.fpl"]}),
        ("a file edited after opening is read again, not converted", "tasks.cup",
         [edit_tasks, "Return"], None, None, None, {"absent": ["tasks.fpl"]}),
        ("a task that lost a point is refused", "broken.cup", ["Return"], None, None,
         "lost a point", {"absent": ["broken.fpl"]}),
        ("Cancel in the dialog, no box", "tasks.cup", [browse], None, None, "!No file"),
        ("the Warnings list holds every line", "many.txt", ["Return", warnings, "ctrl+c"],
         "Demo many.txt many.fpl", "many.fpl",
         [f"line {n}:" for n in range(3, 32)] + [f"All of them are in {state}/varnix/Varnix.log"]),
    ]
    try:
        with tempfile.TemporaryDirectory() as tmp:
            inputs = Path(tmp, "inputs")
            inputs.mkdir()
            for copy in ("tasks.cup", lodz + ".cup"):
                shutil.copy(source / "tests/app/data/tasks.cup", inputs / copy)
            (inputs / "broken.cup").write_text(
                "name,code,country,lat,lon,elev,style\n\"A\",A,,4630.000N,00915.000E,1m,1\n"
                "\"B\",B,,99XX.000N,00915.000E,1m,1\n-----Related Tasks-----\n"
                "\"T\",\"A\",\"B\",\"A\"\n")
            (inputs / "bad.txt").write_text(
                "Landscape=Demo\n1 Start 46.5 9.25 1250\n2 Broken 46,5 9.30 900 extra\n")
            (inputs / "many.txt").write_text(many)
            # a flight plan as the command line makes it
            subprocess.run([varnix, "-batch", "-task", "1", "Demo", "tasks.cup", "plan.fpl"],
                           cwd=inputs, capture_output=True, check=False)
            for log in inputs.glob("*.log"):  # the command line's: no window's
                log.unlink()
            (inputs / "Logfile.txt").unlink(missing_ok=True)
            # Under Wine the first row in English, French and German, as a pilot's desktop
            # starts it.
            runs = ([(lang, cases[0]) for lang in ("C.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8")]
                    if wine else [(None, case) for case in cases])
            for row, (lang, case) in enumerate(runs):
                name, file, keys, cli, output, box = case[:6]
                extra = case[6] if len(case) > 6 else {}
                if lang:
                    name += f" ({lang[:2]})"
                gui, cli_dir = (shutil.copytree(inputs, Path(tmp, f"{row}{d}")) for d in "gc")
                if cli:
                    subprocess.run([varnix, "-batch", *cli.split(" ")], cwd=cli_dir,
                                   capture_output=True, check=False)
                for f, text in extra.get("files", {}).items():
                    (gui / f).write_text(text)
                kept_bytes = {f: (gui / f).read_bytes() for f in extra.get("kept", [])}
                with (gui / "window.err").open("w") as err:
                    env = dict(os.environ, LANG=lang, LC_ALL=lang) if lang else None
                    proc = subprocess.Popen([*start, str(gui / file)], cwd=gui, stderr=err,
                                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                            env={**(env or os.environ), **extra.get("env", {})})
                find = ["--name", "tasks\\.cup$"] if wine else ["--pid", str(proc.pid)]
                windows = lambda: xdo("search", "--onlyvisible", *find).split()  # noqa: E731
                wait_for(windows, 30)
                win = windows()[-1]
                xdo("windowfocus", "--sync", win)
                time.sleep(1)  # the first frame
                if row == 0:
                    title = xdo("getwindowname", win).strip()
                    check(title == "Varnix \u2014 tasks.cup", f"the title names the file ({title})")
                    check(wait_for(lambda: red_pixels(win) > 10),
                          "points outside the landscape drawn red")
                height = int(dict(v.split("=") for v in
                                  xdo("getwindowgeometry", "--shell", win).split())["HEIGHT"])
                width = int(dict(v.split("=") for v in
                                 xdo("getwindowgeometry", "--shell", win).split())["WIDTH"])
                for k in keys:  # a pair is a click, y up from the bottom as the form file has it
                    if callable(k):
                        k(gui)
                        continue
                    x = str(int(k[0] * width if k[0] < 1 else k[0])) if isinstance(k, tuple) else 0
                    xdo(*(["mousemove", "--window", win, x, str(height - k[1]), "click", "1"]
                          if isinstance(k, tuple) else ["key", "--window", win, k]))
                    time.sleep(0.5)
                wait_for(lambda: output is None or (gui / output).exists())
                time.sleep(1)
                check(bool(windows()), name + ": the window stays open")
                if isinstance(box, list):
                    clip = subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                                          capture_output=True, text=True, check=False).stdout
                    lost = [text for text in box if text not in clip]
                    check(not lost, f"{name}: {lost or 'all'} in the list")
                    subprocess.run(["import", "-window", win, str(Path(tmp, "warnings.png"))],
                                   check=False)
                    xdo("key", "--window", win, "Escape")  # closes the list, not the page
                    time.sleep(0.5)
                if wine:
                    shot = sys.argv[5] if row == 0 else sys.argv[5].replace(".png",
                                                                            f"-{lang[:2]}.png")
                    subprocess.run(["import", "-window", "root", shot], check=False)
                # Typed on the focused window: an Escape sent to the window now and then never
                # reached the toolkit on a server without a window manager.
                xdo("windowfocus", "--sync", win)
                xdo("key", "Escape")
                check(wait_for(lambda: not windows(), 10), name + ": Escape closes it")
                proc.kill()
                if output:
                    got = gui / output
                    check(got.exists() and got.read_bytes() == (cli_dir / output).read_bytes(),
                          f"{name}: {output} as the command line writes it")
                told = (gui / "window.err").read_text("cp1252")
                if isinstance(box, str) and box.startswith("!"):
                    check(box[1:] not in told, f"{name}: no box says {box[1:]} ({told.strip()})")
                elif box and isinstance(box, str):
                    check(box in told, f"{name}: the box names {box}")
                logs = ("Logfile.txt", "Varnix.log", "frm_forms.log")
                left = [str(d / log) for d in ((gui,) if wine else (gui, home)) for log in logs
                        if (d / log).exists()]
                check(not left, f"{name}: no log beside the files or at home {left}")
                kept = (list(Path(os.environ["WINEPREFIX"], "drive_c/users").glob(
                    "*/AppData/Local/Varnix/frm_forms.log")) if wine
                    else [state / "varnix/frm_forms.log"])
                check(any(p.exists() for p in kept), name + ": the logs in the state folder")
                for f, before in kept_bytes.items():
                    check((gui / f).read_bytes() == before, f"{name}: {f} kept as it was")
                for f in extra.get("absent", []):
                    check(not (gui / f).exists(), f"{name}: no {f} written")
            if not wine:
                picture_rows(varnix, source, tmp)
    finally:
        if not wine:
            server.terminate()
        for folder in (state, home):
            shutil.rmtree(folder, ignore_errors=True)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
