#!/usr/bin/env python3
"""End-to-end accuracy: random seven-decimal points typed into a batch, converted by varnix, and
compared with PROJ's cs2cs in double precision (WGS84 UTM in the landscape's zone). Prints, per
area, the worst X and Y difference and the spacing of a single-precision longitude there.

usage: bench/accuracy.py [VARNIX] [POINTS]   (defaults: build/app/varnix, 20000 per area)
"""
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# name, zone, hemisphere, latitudes, longitudes (degrees, east and north positive)
AREAS = [
    ("Demo landscape, 46.4-46.6 N, 9.0-9.5 E", 32, "N", (46.4, 46.6), (9.0, 9.5)),
    ("45-48 N, 8-10 E", 32, "N", (45.0, 48.0), (8.0, 10.0)),
    ("45-48 N, 11.5-12 E (3 deg from the meridian)", 32, "N", (45.0, 48.0), (11.5, 12.0)),
    ("45-48 N, 15-16 E (6-7 deg from the meridian)", 32, "N", (45.0, 48.0), (15.0, 16.0)),
    ("60-62 N, 8-10 E", 32, "N", (60.0, 62.0), (8.0, 10.0)),
    ("31-37 N, 109-115 W (Arizona)", 12, "N", (31.0, 37.0), (-115.0, -109.0)),
    ("33-36 S, 18-21 E (Cape Town)", 34, "S", (-36.0, -33.0), (18.0, 21.0)),
]


def utm(points, zone, south):
    cmd = ["cs2cs", "-f", "%.6f", "+proj=longlat", "+datum=WGS84", "+to", "+proj=utm",
           f"+zone={zone}", "+datum=WGS84"] + (["+south"] if south else [])
    text = "".join(f"{lon} {lat}\n" for lat, lon in points)
    out = subprocess.run(cmd, input=text, capture_output=True, text=True, check=True).stdout
    return [tuple(map(float, line.split()[:2])) for line in out.splitlines()]


def float_spacing(x):
    f = struct.unpack("f", struct.pack("f", abs(x)))[0]
    return math.ldexp(1.0, math.frexp(f)[1] - 24)


def main(argv):
    varnix = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(HERE, "build/app/varnix"))
    count = int(argv[2]) if len(argv) > 2 else 20000
    rng = random.Random(1)
    work = tempfile.mkdtemp()
    try:
        shutil.copytree(os.path.join(HERE, "data/demo"), os.path.join(work, "demo"))
        env = dict(os.environ, VARNIX_REGISTRY=os.path.join(work, "demo/user.reg"),
                   VARNIX_NO_DIALOGS="1")
        worst = 0.0
        for n, (name, zone, hemi, lats, lons) in enumerate(AREAS):
            texts = [(f"{rng.uniform(*lats):.7f}", f"{rng.uniform(*lons):.7f}")
                     for _ in range(count)]
            ref = utm([(float(a), float(o)) for a, o in texts], zone, hemi == "S")
            # The landscape's east edge and south edge just beyond the area's points.
            orig_e = math.ceil(max(e for e, _ in ref) / 1000) * 1000
            orig_n = math.floor(min(nn for _, nn in ref) / 1000) * 1000
            land = f"Area{n}"
            folder = os.path.join(work, "demo/Volaro2/Landscapes", land)
            os.makedirs(folder)
            subprocess.run([sys.executable, os.path.join(HERE, "tests/geo/make_trn.py"),
                            os.path.join(folder, land + ".trn"), "1", "1", "1", "1", str(orig_e),
                            str(orig_n), str(zone), hemi], check=True)
            batch = os.path.join(work, f"{land}.txt")
            with open(batch, "w") as f:
                for i, (a, o) in enumerate(texts):
                    f.write(f"{i} P {a} {o} 0\n")
            subprocess.run([varnix, "-batch", land, batch, batch[:-4] + ".fpl"], env=env, cwd=work,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            xs, ys = [], []
            with open(batch[:-4] + ".fpl", encoding="cp1252") as f:
                for line in f:
                    if line.startswith("TPPosX"):
                        xs.append(float(line.split("=")[1]))
                    elif line.startswith("TPPosY"):
                        ys.append(float(line.split("=")[1]))
            assert len(xs) == len(ys) == count
            dx = max(abs(x - (orig_e - e)) for x, (e, _) in zip(xs, ref))
            dy = max(abs(y - (nn - orig_n)) for y, (_, nn) in zip(ys, ref))
            both = max(math.hypot(x - (orig_e - e), y - (nn - orig_n))
                       for x, y, (e, nn) in zip(xs, ys, ref))
            worst = max(worst, both)
            lon_step = float_spacing(max(abs(v) for v in lons))
            print(f"{name}: X {dx:.2f} m, Y {dy:.2f} m, both {both:.2f} m; longitude float "
                  f"spacing {lon_step:.1e} deg")
        print(f"worst of {count} points per area: {worst:.2f} m")
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main(sys.argv)
