#!/usr/bin/env python3
"""The window's file page driven as a user would, on a private X server: varnix -gui FILE opens
it, keys choose and convert, and every output is compared byte for byte with what the command
line writes for the same choices. Message boxes go to standard error (VARNIX_NO_DIALOGS=1).

Usage: file_page_window_test.py VARNIX SOURCE_DIR   (exit 77 = skipped: tools missing)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def run(*args):
    return subprocess.run(args, capture_output=True, check=False).stdout.decode().strip()


def private_display():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as number:
        os.environ["DISPLAY"] = ":" + number.readline().strip()
    run("xset", "r", "off")
    return server


class Page:
    """varnix -gui FILE in its own folder, and its window."""

    def __init__(self, varnix, folder, name):
        self.err_path = os.path.join(folder, "window.err")
        self.proc = subprocess.Popen([varnix, "-gui", os.path.join(folder, name)], cwd=folder,
                                     stdout=subprocess.DEVNULL, stderr=open(self.err_path, "w"))
        found = run("xdotool", "search", "--sync", "--onlyvisible", "--pid", str(self.proc.pid))
        self.win = found.split()[-1]
        run("xdotool", "windowfocus", "--sync", self.win)
        time.sleep(0.5)
        geometry = run("xdotool", "getwindowgeometry", "--shell", self.win)
        self.height = int(dict(l.split("=") for l in geometry.split())["HEIGHT"])

    def keys(self, *keys):
        for k in keys:
            run("xdotool", "key", "--window", self.win, k)
            time.sleep(0.4)

    def click(self, x, y):  # definition-file coordinates: y up from the bottom
        run("xdotool", "mousemove", "--window", self.win, str(x), str(self.height - y), "click", "1")
        time.sleep(0.5)

    def red_pixels(self):
        shot = subprocess.run(["import", "-window", self.win, "-depth", "8", "rgb:-"],
                              capture_output=True, check=False).stdout
        return sum(1 for k in range(0, len(shot) - 2, 3)
                   if shot[k] > 180 and shot[k + 1] < 60 and shot[k + 2] < 60)

    def close(self):
        if self.proc.poll() is None:
            self.keys("Escape")
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        with open(self.err_path, encoding="cp1252") as f:
            return f.read()


def same_files(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


def main():
    if len(sys.argv) != 3 or not all(shutil.which(t) for t in ("Xvfb", "xdotool", "import")):
        print("skipped: needs Xvfb, xdotool and ImageMagick")
        return SKIP
    varnix, source = sys.argv[1], sys.argv[2]
    os.environ["VARNIX_REGISTRY"] = os.path.join(source, "data/demo/user.reg")
    os.environ["VARNIX_NO_DIALOGS"] = "1"
    server = private_display()
    tasks = os.path.join(source, "tests/app/data/tasks.cup")
    bad_batch = "Landscape=Demo\n1 Start 46.5 9.25 1250\n2 Broken 46,5 9.30 900 extra\n"
    # name, input file (copied, or text), keys (a click first when given), command line, output,
    # a text the error box must hold.
    cases = [
        ("the first task by Enter", "tasks.cup", None, None, ["Return"],
         ["-batch", "-task", "1", "Demo", "tasks.cup", "tasks.fpl"], "tasks.fpl", None),
        ("the second task chosen by keys", "tasks.cup", None, (120, 455), ["Down", "Return",
                                                                          "Return"],
         ["-batch", "-task", "2", "Demo", "tasks.cup", "tasks.fpl"], "tasks.fpl", None),
        ("a name outside Windows-1252", "\u0141\u00f3d\u017a.cup", None, None, ["Return"],
         ["-batch", "-task", "1", "Demo", "\u0141\u00f3d\u017a.cup", "\u0141\u00f3d\u017a.fpl"],
         "\u0141\u00f3d\u017a.fpl", None),
        ("a bad line shown in a box", "bad.txt", bad_batch, None, ["Return"],
         ["-batch", "Demo", "bad.txt", "bad.fpl"], None, "line 3"),
        ("a plan back to .cup", "plan.fpl", "from-cli", None, ["Return"],
         ["-batch", "Demo", "plan.fpl", "plan.cup"], "plan.cup", None),
    ]
    try:
        with tempfile.TemporaryDirectory() as tmp:
            for name, file, text, click, keys, cli, output, error_text in cases:
                gui_dir, cli_dir = os.path.join(tmp, "gui"), os.path.join(tmp, "cli")
                for d in (gui_dir, cli_dir):
                    shutil.rmtree(d, ignore_errors=True)
                    os.makedirs(d)
                    if text is None or text == "from-cli":
                        shutil.copy(tasks, os.path.join(d, "tasks.cup" if text else file))
                    if text == "from-cli":  # a flight plan as the command line makes it
                        subprocess.run([varnix, "-batch", "-task", "1", "Demo", "tasks.cup", file],
                                       cwd=d, capture_output=True, check=False)
                    elif text is not None:
                        with open(os.path.join(d, file), "w") as f:
                            f.write(text)
                subprocess.run([varnix] + cli, cwd=cli_dir, capture_output=True, check=False)
                page = Page(varnix, gui_dir, file)
                if name == cases[0][0]:
                    title = run("xdotool", "getwindowname", page.win)
                    check(title == "Varnix \u2014 tasks.cup", "the title names the file")
                    check(page.red_pixels() > 10, "points outside the landscape drawn red")
                if click:
                    page.click(*click)
                page.keys(*keys)
                time.sleep(1)
                alive = page.proc.poll() is None
                err = page.close()
                check(alive, name + ": the window stays open")
                if output:
                    got = os.path.join(gui_dir, output)
                    check(os.path.exists(got) and same_files(got, os.path.join(cli_dir, output)),
                          name + ": " + output + " as the command line writes it")
                if error_text:
                    check(error_text in err, name + ": the box names " + error_text)
    finally:
        server.terminate()
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
