#!/usr/bin/env python3
"""The layer check on a scratch tree: which includes it flags, and where."""
import subprocess
import sys
import tempfile
from pathlib import Path

SCRIPT = Path(__file__).resolve().parents[2] / "scripts" / "check_layers.py"

# (file, include line, expected report or None when allowed)
CASES = [
    ("app/a.cpp", '#include "forms/my_forms.hpp"', None),
    ("forms/f.cpp", '#include "gui/form_view.hpp"', None),
    ("gui/v.cpp", '#include "forms/my_forms.hpp"', "gui/ may not include forms/my_forms.hpp"),
    ("gui/v.hpp", '#include "include/forms_dim.hpp"', None),
    ("gui/d.cpp", "#include <GL/glu.h>", None),
    ("toolkit/t.cpp", "#include <GLFW/glfw3.h>", None),
    ("toolkit/t.hpp", '#include "gui/form_view.hpp"', "toolkit/ may not include gui/"),
    ("host/h.cpp", "#include <unistd.h>", None),
    ("host/k.cpp", '#include "toolkit/cpw.hpp"', "host/ may not include toolkit/cpw.hpp"),
    ("geo/g.cpp", '#include "forms/my_forms.hpp"', "geo/ may not include forms/"),
    ("geo/s.cpp", "#include <sys/stat.h>", "<sys/stat.h> is a window-system or OS header"),
    ("forms/c.cpp", "#  include <iconv.h>", "<iconv.h> is a window-system or OS header"),
    ("forms/x.cpp", "#include <X11/Xlib.h>", "<X11/Xlib.h> is a window-system or OS header"),
    ("app/m.cpp", "#include FT_FREETYPE_H", "FT_FREETYPE_H is an OpenGL or FreeType header"),
    ("util/u.cpp", '#include "include/common_data.hpp"', "util/ may not include include/"),
    ("util/n.cpp", "#include <cstdio>", None),
    ("include/i.hpp", '#include "util/text_field.hpp"', None),
    ("tests/t.cpp", '#include "app/Varnix.hpp"', None),
    ("app/cli/c.cpp", '#include "app/pages/window_mode.hpp"', None),
    ("app/pages/p.cpp", '#include "app/jobs/file_job.hpp"', None),
    ("app/jobs/j.cpp", '#include "forms/my_forms.hpp"', "app/jobs/ may not include forms/"),
    ("app/jobs/k.cpp", '#include "app/pages/file_page.hpp"', "app/jobs/ may not include app/pages/"),
    ("app/pages/q.cpp", '#include "app/cli/Varnix.hpp"', "app/pages/ may not include app/cli/"),
]


def main():
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        root = Path(tmp)
        for i, (name, line, _) in enumerate(CASES):
            path = root / name
            path.parent.mkdir(parents=True, exist_ok=True)
            # Each include on its own line number, so the report's line is checked too.
            path.write_text("// line 1\n" * i + line + "\n")
        run = subprocess.run([sys.executable, str(SCRIPT), tmp], capture_output=True, text=True)
        reports = run.stderr.splitlines()
        for i, (name, line, expected) in enumerate(CASES):
            mine = [r for r in reports if r.startswith(f"{name}:")]
            ok = mine == [] if expected is None else (
                len(mine) == 1 and mine[0].startswith(f"{name}:{i + 1}: ") and expected in mine[0])
            if not ok:
                failures += 1
                print(f"FAIL {name} {line!r}: expected {expected!r}, got {mine}")
        flagged = sum(e is not None for _, _, e in CASES)
        if run.returncode != 1 or f"{flagged} include(s) out of place" not in run.stderr:
            failures += 1
            print(f"FAIL summary: status {run.returncode}\n{run.stderr}")
    with tempfile.TemporaryDirectory() as tmp:
        (Path(tmp) / "gui").mkdir()
        (Path(tmp) / "gui" / "ok.cpp").write_text('#include "host/diag.hpp"\n')
        run = subprocess.run([sys.executable, str(SCRIPT), tmp], capture_output=True, text=True)
        if run.returncode != 0 or run.stderr:
            failures += 1
            print(f"FAIL clean tree: status {run.returncode}\n{run.stderr}")
    # Two files of a room that include each other, through their headers.
    with tempfile.TemporaryDirectory() as tmp:
        room = Path(tmp) / "app" / "jobs"
        room.mkdir(parents=True)
        (room / "a.cpp").write_text('#include "app/jobs/b.hpp"\n')
        (room / "b.cpp").write_text('#include "app/jobs/a.hpp"\n')
        run = subprocess.run([sys.executable, str(SCRIPT), tmp], capture_output=True, text=True)
        if run.returncode != 1 or "include circle: app/jobs/a -> app/jobs/b -> app/jobs/a" not in run.stderr:
            failures += 1
            print(f"FAIL circle: status {run.returncode}\n{run.stderr}")
    print(f"{len(CASES) + 3 - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
