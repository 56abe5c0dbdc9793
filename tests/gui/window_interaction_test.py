#!/usr/bin/env python3
"""The form driven in a real window: frm_show runs tests/gui/data/interaction.frm on a private
X server (the clipboard, pointer and focus are the display's, shared with whatever else runs
there), xdotool types and clicks as a user would, and the results are read from what frm_show
prints, from the clipboard (xclip) and from the window's pixels (ImageMagick).

Usage: window_interaction_test.py FRM_SHOW FORM.frm   (exit 77 = skipped: tools missing)
"""
import contextlib
import ctypes
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time

SKIP = 77
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def run(*args, stdin=None):
    return subprocess.run(args, input=stdin, capture_output=True, check=False).stdout


class Form:
    """One frm_show process and its window."""

    def __init__(self, frm_show, form, workdir, env=None):
        self.proc = subprocess.Popen([frm_show, form], cwd=workdir, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, env=env)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        fields = self.expect("window ").split()
        self.width, self.height = int(fields[2]), int(fields[3])
        self.expect("frame ")
        found = run("xdotool", "search", "--sync", "--pid", str(self.proc.pid)).split()
        self.win = found[-1].decode()
        run("xdotool", "windowfocus", "--sync", self.win)

    def _read(self):
        for raw in self.proc.stdout:
            self.lines.put(raw.decode("cp1252").rstrip("\n"))
        self.lines.put(None)

    def expect(self, prefix, timeout=5.0):
        """The next line starting with prefix (other lines are skipped); None on timeout."""
        end = time.monotonic() + timeout
        while (left := end - time.monotonic()) > 0:
            try:
                line = self.lines.get(timeout=left)
            except queue.Empty:
                break
            if line is None:
                break
            if line.startswith(prefix):
                return line
        return None

    def quiet(self, prefix, wait=0.5):
        """True when no line starting with prefix arrives within wait seconds."""
        return self.expect(prefix, wait) is None

    # Form coordinates are y-up from the bottom-left, as the definition file gives them.
    def click(self, x, y, button=1, times=1):
        run("xdotool", "mousemove", "--window", self.win, str(x), str(self.height - y),
            "click", "--repeat", str(times), "--delay", "80", str(button))
        settle()

    def drag(self, x0, x1, y):
        sy = str(self.height - y)
        run("xdotool", "mousemove", "--window", self.win, str(x0), sy, "mousedown", "1",
            "mousemove", "--window", self.win, str(x1), sy, "mouseup", "1")
        settle()

    def type(self, text):
        run("xdotool", "type", "--delay", "40", text)
        settle()

    def key(self, *keys):
        run("xdotool", "key", "--delay", "40", *keys)
        settle()

    def dark_pixels(self, x0, y0, x1, y1):
        """How many pixels of the rectangle (form coordinates) are nearly black."""
        rgb = run("import", "-window", self.win, "-crop",
                  f"{x1 - x0}x{y1 - y0}+{x0}+{self.height - y1}", "-depth", "8", "rgb:-")
        return sum(max(rgb[k:k + 3]) < 90 for k in range(0, len(rgb), 3))

    def pixel(self, x, y):
        """(r, g, b) of the window at form coordinates."""
        out = run("import", "-window", self.win, "-crop", f"1x1+{x}+{self.height - y}",
                  "-depth", "8", "txt:-").decode()
        hexa = out.split("#")[-1][:6]
        return tuple(int(hexa[i:i + 2], 16) for i in (0, 2, 4))

    def close_box(self):
        """The close request a window manager sends (WM_DELETE_WINDOW)."""
        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                        ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                        ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("l", ctypes.c_long * 5),
                        ("pad", ctypes.c_long * 12)]  # an XEvent is 24 longs

        with xlib() as (x11, dpy):
            ev = ClientMessage()
            ev.type = 33  # ClientMessage
            ev.window = int(self.win)
            ev.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
            ev.format = 32
            ev.l[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
            x11.XSendEvent(dpy, ev.window, 0, 0, ctypes.byref(ev))

    def finish(self):
        try:
            self.proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        return self.proc.returncode


@contextlib.contextmanager
def xlib():
    """libX11 and a connection to $DISPLAY, flushed and closed afterwards."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.c_void_p]
    for f in (x11.XAutoRepeatOff, x11.XFlush, x11.XCloseDisplay):
        f.argtypes = [ctypes.c_void_p]
    dpy = x11.XOpenDisplay(None)
    try:
        yield x11, dpy
    finally:
        x11.XFlush(dpy)
        x11.XCloseDisplay(dpy)


def settle():
    time.sleep(0.15)  # the event reaches the form and the frame is drawn


def wait_for(condition, timeout=5.0):
    """True once condition() holds; slow builds (sanitizers) take their time."""
    end = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > end:
            return False
        time.sleep(0.05)
    return True


def clipboard():
    return run("xclip", "-selection", "clipboard", "-o").decode("utf-8", "replace")


# Boxes of interaction.frm (form coordinates; a box runs up from its y by one text line).
NUM, ALT, TXT, R1, R2, DEP, FIL, LST = (300, 270, 240, 210, 210, 180, 130, 100)
INSIDE = 125  # x just inside the left end of every box (they start at 120)
FAR = 118 + 150  # inside the 20-character TXT box, right of the text typed into it
BROWSE = 120 + 2 * 2 + 20 * 8 + 4 + 12  # the middle of FIL's "..." button, right of the box


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    frm_show, form = sys.argv[1:]
    if not all(shutil.which(t) for t in ("Xvfb", "xdotool", "xclip", "import")):
        print("skipped: needs Xvfb, xdotool, xclip and ImageMagick")
        return SKIP
    server = private_display()
    try:
        with xlib() as (x11, dpy):
            x11.XAutoRepeatOff(dpy)  # a held key must not repeat while xdotool is slow
        with tempfile.TemporaryDirectory() as work:
            fill_and_validate(Form(frm_show, form, work))
            close_by_the_close_box(Form(frm_show, form, work))
            desktop_conventions(frm_show, form, work)
            keys_of_desktop_fields(Form(frm_show, form, work))
    finally:
        server.terminate()
        server.wait()
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


def private_display():
    """An Xvfb of our own, made $DISPLAY for everything started from here."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as number:
        os.environ["DISPLAY"] = ":" + number.readline().strip()
    return server


def fill_and_validate(f):
    # An INT box drops letters.
    f.click(INSIDE, NUM + 5)
    f.type("4a2")

    # Text with characters that need Shift or are not on the keyboard at all.
    f.click(INSIDE, TXT + 5)
    f.type("N46 30%\u00e9")
    f.drag(121, FAR, TXT + 5)
    f.key("ctrl+c")
    check(wait_for(lambda: clipboard() == "N46 30%\u00e9"),
          "a dragged selection copied with Ctrl+C")
    # xclip stays behind to serve the text: no pipes for it to hold open.
    subprocess.run(["xclip", "-selection", "clipboard"], input=b" E9\nsecond line",
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    wait_for(lambda: clipboard() == " E9\nsecond line")
    f.click(FAR, TXT + 5)  # caret after the last character
    f.key("ctrl+v")

    # Radio members and the input that depends on the first one.
    white, grey = (255, 255, 255), (170, 170, 170)
    check(wait_for(lambda: f.pixel(INSIDE + 20, DEP + 6) == grey), "the dependant starts disabled")
    f.click(126, R1 + 6)
    check(wait_for(lambda: f.pixel(INSIDE + 20, DEP + 6) == white), "ticking its radio member enables it")
    f.click(226, R2 + 6)
    check(wait_for(lambda: f.pixel(INSIDE + 20, DEP + 6) == grey), "ticking the other member disables it")

    # A 30-line list: open, wheel far down (it stops at line 21 first), choose the bottom line.
    f.click(INSIDE, LST + 5)
    check(f.expect("callback 1 8 ") == "callback 1 8 0", "opening the list reports no line")
    for _ in range(30):
        run("xdotool", "click", "5")
    settle()
    f.click(INSIDE, 12 + 3)  # the list hangs from y 12 when it would leave the window
    check(f.expect("callback 1 8 ") == "callback 1 8 30", "the wheeled list gives line 30")

    # OK with an out-of-range value: nothing ends, the value is drawn red.
    ok_x = f.width * 3 // 10
    f.click(INSIDE, ALT + 5)
    f.type("150")
    f.click(ok_x, 18)
    check(f.quiet("callback 6") and f.quiet("exit", 0.1), "OK refused with one invalid value")
    def red():
        r, g, b = f.pixel(INSIDE + 40, ALT + 6)
        return r > 220 and g < 170 and b < 170
    check(wait_for(red), f"the invalid value is drawn red {f.pixel(INSIDE + 40, ALT + 6)}")
    f.click(INSIDE + 70, ALT + 5)  # right of "150", inside the 10-character box
    f.key("BackSpace", "BackSpace", "BackSpace")
    f.type("50")
    f.click(ok_x, 18)
    check(f.expect("callback 6 ") == "callback 6 1 1", "OK calls back once all are valid")
    check(f.expect("exit ") == "exit 1", "and ends the form with its type")
    values = {}
    while (line := f.expect("value ", 2)) is not None:
        fields = line.split(" ", 5)
        values[fields[2]] = (fields[3], fields[5] if len(fields) > 5 else "", fields[4])
    # (integer, text, real) of each input
    none = ("", "", "")
    check(values.get("NUM", none)[:2] == ("42", "42"), f"NUM {values.get('NUM')}")
    check(values.get("ALT", none)[2] == "50", f"ALT {values.get('ALT')}")
    check(values.get("TXT", none)[1] == "N46 30%\u00e9 E9", f"TXT {values.get('TXT')}")
    check(values.get("R2", none)[0] == "1" and values.get("R1", none)[0] == "0",
          "R2 ticked, R1 clear")
    check(values.get("LST", none)[:2] == ("30", "l30"), f"LST {values.get('LST')}")
    check(f.finish() == 0, "frm_show ends normally")


def close_by_the_close_box(f):
    f.close_box()
    check(f.expect("exit ") == "exit -999", "the close box ends the form with -999")
    f.finish()


def reddish(c):
    return c[0] > 220 and c[1] < 170 and c[2] < 170


def desktop_conventions(frm_show, form, work):
    """What desktop users expect of the window, one row per behaviour, in one window."""
    # A file dialog that stays up for a while and returns nothing, as Cancel does.
    tools = os.path.join(work, "tools")
    os.makedirs(tools, exist_ok=True)
    with open(os.path.join(tools, "zenity"), "w", encoding="ascii") as z:
        z.write("#!/bin/sh\nsleep 2\nexit 1\n")
    os.chmod(os.path.join(tools, "zenity"), 0o755)
    env = dict(os.environ, PATH=tools + ":" + os.environ["PATH"])
    env.pop("VARNIX_NO_DIALOGS", None)  # the test run turns dialogs off; this row needs one
    f = Form(frm_show, form, work, env)
    caret_x = 120 + 2 + 20 * 8  # TXT: 20 characters of 8 px after a 2 px inset

    def typing_survives_the_pointer_leaving():
        f.click(INSIDE, TXT + 5)
        f.type("46.5")
        run("xdotool", "mousemove", "900", "700")  # off the window
        f.type("123")
        f.drag(121, 700, TXT + 5)  # released far outside the box
        f.key("ctrl+c")
        return wait_for(lambda: clipboard() == "46.5123")

    def the_caret_stays_in_view():
        f.click(FAR, TXT + 5)
        f.type(" " * 30)
        return wait_for(lambda: f.pixel(caret_x, TXT + 8) == (0, 0, 0))

    def home_shows_the_start():
        f.key("Home")
        return wait_for(lambda: f.pixel(caret_x, TXT + 8) != (0, 0, 0))

    def tab_moves_and_selects_enter_presses_ok():
        f.click(INSIDE, NUM + 5)
        f.type("7")
        f.key("Tab")  # to ALT, its value selected
        f.type("150")
        f.key("Return")  # OK, refused: 150 is above ALT's maximum
        return f.quiet("callback 6") and wait_for(lambda: reddish(f.pixel(INSIDE + 60, ALT + 6)))

    def the_reason_shows_on_hover():
        run("xdotool", "mousemove", "--window", f.win, str(INSIDE + 50), str(f.height - ALT - 8))
        settle()
        return wait_for(lambda: f.pixel(INSIDE + 51, ALT + 8 - 3) == (255, 255, 255))

    def editing_clears_the_red():
        f.click(INSIDE + 70, ALT + 5)
        f.key("BackSpace")
        return wait_for(lambda: not reddish(f.pixel(INSIDE + 60, ALT + 6)))

    def list_keys_and_escape():
        f.click(INSIDE, LST + 5)
        f.expect("callback 1 8 ")
        f.key("Escape")  # closes the list, nothing chosen
        f.click(INSIDE, LST + 5)
        f.expect("callback 1 8 ")
        f.key("Down", "Down", "Return")  # from no line: the first, then the second
        return f.expect("callback 1 8 ") == "callback 1 8 2"

    def drawn_and_deaf_while_a_dialog_is_up():
        f.click(BROWSE, FIL + 5)  # one click on the box's "..." button opens the chooser
        time.sleep(0.3)
        run("xdotool", "windowunmap", "--sync", f.win)
        run("xdotool", "windowmap", "--sync", f.win)
        settle()
        drawn = wait_for(lambda: f.pixel(INSIDE + 20, NUM + 6) == (255, 255, 255), 1.5)
        f.click(f.width * 7 // 10, 18)  # Cancel, held back
        return drawn and f.quiet("exit", 0.3)

    def the_form_has_the_keys_again():
        # The chooser has ended: Cancel hands nothing over and shows no box.
        quiet = f.quiet("callback 1 7 ", 2.5)
        return quiet and wait_for(lambda: run("xdotool", "getwindowfocus").decode().strip() == f.win)

    def escape_acts_as_cancel():
        f.key("Escape")
        return f.expect("exit ") == "exit -1"

    rows = [typing_survives_the_pointer_leaving, the_caret_stays_in_view, home_shows_the_start,
            tab_moves_and_selects_enter_presses_ok, the_reason_shows_on_hover,
            editing_clears_the_red, list_keys_and_escape, drawn_and_deaf_while_a_dialog_is_up,
            the_form_has_the_keys_again, escape_acts_as_cancel]
    for row in rows:
        check(row(), row.__name__.replace("_", " "))
    f.finish()


def keys_of_desktop_fields(f):
    """Focus, selection, Tab and lists as desktop users expect them, in one window OK ends."""
    def copies(*keys, text):
        f.key(*keys, "ctrl+c")
        return wait_for(lambda: clipboard() == text)

    f.type("42")
    check(copies("shift+Home", text="42"), "the first box takes the first keys")
    f.key("Tab", "Tab")  # ALT, TXT
    f.type("alpha beta")
    shift = copies("shift+Left", "shift+Left", "shift+Left", "shift+Left", text="beta")
    f.click(INSIDE + 8, TXT + 5, times=2)
    check(shift and copies(text="alpha") and copies("ctrl+a", text="alpha beta"),
          "shift arrows, double click and ctrl a select")
    f.key("Tab", "space")  # R1, which enables DEP
    check(wait_for(lambda: f.pixel(INSIDE + 20, DEP + 6) == (255, 255, 255)),
          "tab and space tick a box")
    f.key("Tab", "Tab", "Tab", "Tab", "Return")  # R2, DEP, FIL, LST: open
    f.type("l2")  # l20, not the next line starting with 2
    f.key("Return")
    check(f.expect("callback 1 8 ") == "callback 1 8 0" and
          f.expect("callback 1 8 ") == "callback 1 8 20", "letters typed quickly find a list line")
    ok = (f.width * 3 // 10 - 38, 14, f.width * 3 // 10 + 38, 32)
    before = f.dark_pixels(*ok)
    f.key("Tab")  # OK
    framed = wait_for(lambda: f.dark_pixels(*ok) > before + 40)
    f.key("Return")
    check(framed and f.expect("callback 6 ") == "callback 6 1 1",
          "the focused button is framed and pressed by Enter")
    f.finish()


if __name__ == "__main__":
    sys.exit(main())
