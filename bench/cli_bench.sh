#!/usr/bin/env bash
# Times whole varnix commands against PROJ's cs2cs on the same work:
#   single point: process start to exit, with a registry store the size of a real Wine user.reg;
#   batch: 1,000,000 points with seven-decimal coordinates and names to the flight-plan fragment
#   (points per second, peak memory), and the same points as a .cup waypoint file, to the flight
#   plan alone and with -cup.
# Usage: bench/cli_bench.sh [points]   (needs hyperfine, proj-bin and GNU time; builds Release)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
points=${1:-1000000}
build="$here/build-bench"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVARNIX_TESTS=OFF > /dev/null
cmake --build "$build" -j"$(nproc)" --target varnix > /dev/null
varnix="$build/app/varnix"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A store of about 400 kB: the demo keys after many unrelated ones, as in a used prefix.
python3 - "$work/user.reg" "$here/data/demo" <<'PY'
import sys
out, demo = sys.argv[1], sys.argv[2]
lines = ["WINE REGISTRY Version 2", ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", ""]
i = 0
while sum(len(l) + 1 for l in lines) < 400_000:
    lines += [f"[Software\\\\Vendor{i // 20}\\\\Product{i}\\\\Settings] 1796672679", "#time=1db3a4c2f7d1e00",
              f'"Path"="C:\\\\Program Files\\\\Vendor{i}\\\\bin"', f'"Count"=dword:{i:08x}',
              '"Blob"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\',
              "  17,18,19,1a,1b,1c,1d,1e,1f", ""]
    i += 1
lines += ["[Software\\\\Volaro2] 1796672679", "#time=1db3a4c2f7d1e00", f'"InstallDir"="{demo}/Volaro2"', ""]
open(out, "w").write("\n".join(lines))
PY
export VARNIX_REGISTRY="$work/user.reg"
echo "== store: $(du -k "$VARNIX_REGISTRY" | cut -f1) kB"
cd "$work"
"$varnix" Demo 46.5 9.25

echo "== single point (process start to exit)"
hyperfine -N --warmup 20 --runs 300 --export-json "$work/single.json" \
    "$varnix Demo 46.5 9.25" \
    "cs2cs +proj=latlong +datum=WGS84 +to +proj=utm +zone=32 +datum=WGS84 $here/bench/one_point.txt" \
    2>/dev/null | grep -E 'Time|±|Benchmark' || true
python3 - "$work/single.json" <<'PY'
import json, statistics, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print(f"median {statistics.median(r['times'])*1000:.2f} ms  {r['command'].split()[0].split('/')[-1]}")
PY

echo "== batch: $points points"
python3 - "$work" "$points" <<'PY'
import random, sys
work, n = sys.argv[1], int(sys.argv[2])
rnd = random.Random(1)
def cu(v, width):
    d = int(v)
    m = min(round((v - d) * 60, 3), 59.999)
    return f"{d:0{width}d}{m:06.3f}"
with open(f"{work}/pts.txt", "w") as b, open(f"{work}/pts.ll", "w") as c, \
        open(f"{work}/pts.cup", "w") as w:
    b.write("Landscape=Demo\n")
    w.write("name,code,country,lat,lon,elev,style,rwdir,rwlen,rwwidth,freq,desc\r\n")
    for i in range(n):
        lat = 46.38 + rnd.random() * 0.22
        lon = 9.02 + rnd.random() * 0.45
        elev = rnd.randrange(300, 3000)
        b.write(f"{i % 100} TP{i} {lat:.7f} {lon:.7f} {elev}\n")
        c.write(f"{lon:.7f} {lat:.7f}\n")
        w.write(f'"TP{i}",TP{i},CH,{cu(lat, 2)}N,{cu(lon, 3)}E,{elev}.0m,1,,,,,"Turnpoint {i}"\r\n')
PY
python3 - "$work" "$varnix" "$points" <<'PY'
import subprocess, sys, time
work, varnix, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
def run(cmd):
    t = time.perf_counter()
    # The bench's turnpoint numbers repeat (0-99): the duplicate warnings are not timed output.
    subprocess.run(cmd, cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - t
tv = min(run([varnix, "pts.txt"]) for _ in range(3))
tw = min(run([varnix, "-batch", "Demo", "pts.cup", "cup.fpl"]) for _ in range(3))
twc = min(run([varnix, "-batch", "-cup", "Demo", "pts.cup", "cup.fpl"]) for _ in range(3))
tc = min(run(["cs2cs", "+proj=latlong", "+datum=WGS84", "+to", "+proj=utm", "+zone=32",
              "+datum=WGS84", "-f", "%.3f", "pts.ll"]) for _ in range(3))
# Peak memory of varnix alone (GNU time forks from a small process, unlike this one).
def peak(cmd):
    return int(subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, cwd=work, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, text=True).stderr.split()[-1]) / 1024
rss = peak([varnix, "pts.txt"])
rss_cup = peak([varnix, "-batch", "-cup", "Demo", "pts.cup", "cup.fpl"])
lines = sum(1 for _ in open(f"{work}/pts.fpl"))
assert lines == 4 * n, lines
assert sum(1 for _ in open(f"{work}/cup.fpl")) == 4 * n
print(f"varnix: {tv:.3f} s  {n / tv / 1e6:.2f} M points/s  peak RSS {rss:.1f} MB")
print(f"varnix .cup: {tw:.3f} s  {n / tw / 1e6:.2f} M points/s")
print(f"varnix .cup -cup: {twc:.3f} s  {n / twc / 1e6:.2f} M points/s  peak RSS {rss_cup:.1f} MB")
print(f"cs2cs:  {tc:.3f} s  {n / tc / 1e6:.2f} M points/s")
print(f"ratio:  {tc / tv:.2f} x")
PY
