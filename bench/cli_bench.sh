#!/usr/bin/env bash
# Times whole varnix commands beside yardsticks run in turn with them (bench/paired.py: median
# wall and CPU time, ratio to the yardstick):
#   start-up: a single point, -help and a three-point batch on the demo installation against
#   /bin/true, and which shared libraries a command-line run maps;
#   single point: process start to exit, with a registry store the size of a real Wine user.reg,
#   beside PROJ's cs2cs;
#   batch: 1,000,000 points with seven-decimal coordinates and names to the flight-plan fragment
#   beside cs2cs on the same points (CPU per point, points per second, peak memory), and the
#   same points as a .cup waypoint file, to the flight plan alone and with -cup.
# Usage: bench/cli_bench.sh [points]   (needs hyperfine, proj-bin and GNU time; builds Release)
#   VARNIX_BENCH_BEFORE=path/to/an/earlier/varnix bench/cli_bench.sh: that program's batch of the
#   same points runs beside, in the same run (build it from an earlier commit, in Release).
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

echo "== start-up against /bin/true (demo installation)"
printf 'Landscape=Demo\n1 Start 46.5 9.25 1250\n2 Col 46.52 9.3 2000\n3 Top 46.6 9.4 3000\n' \
    > "$work/three.txt"
VARNIX_REGISTRY="$here/data/demo/user.reg" "$here/bench/paired.py" 300 20 "/bin/true=/bin/true" \
    "single point=$varnix Demo 46.5 9.25" "-help=$varnix -help" "batch of 3=$varnix three.txt"
echo "libraries a single point maps: $(VARNIX_REGISTRY="$here/data/demo/user.reg" LD_DEBUG=files \
    "$varnix" Demo 46.5 9.25 2>&1 >/dev/null | grep -oE 'file=[^ ]+' | sort -u | cut -d= -f2 |
    tr '\n' ' ')"

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
# The bench's turnpoint numbers repeat (0-99): the duplicate warnings are not timed output.
cs2cs="cs2cs +proj=latlong +datum=WGS84 +to +proj=utm +zone=32 +datum=WGS84 -f %.3f pts.ll"
before=()
if [ -n "${VARNIX_BENCH_BEFORE:-}" ]; then before=("before=$VARNIX_BENCH_BEFORE pts.txt"); fi
(cd "$work" && "$here/bench/paired.py" 5 1 "cs2cs=$cs2cs" "${before[@]}" "varnix=$varnix pts.txt" \
        "cup=$varnix -batch Demo pts.cup cup.fpl" "cup_cup=$varnix -batch -cup Demo pts.cup cup.fpl") |
    tee "$work/batch.txt"
lines=$(wc -l < "$work/pts.fpl")
[ "$lines" -eq $((4 * points)) ] || { echo "pts.fpl has $lines lines"; exit 1; }
# Peak memory of varnix alone (GNU time forks from a small process, unlike python).
rss=$(cd "$work" && /usr/bin/time -f %M "$varnix" pts.txt 2>&1 >/dev/null | tail -1)
rss_cup=$(cd "$work" && /usr/bin/time -f %M "$varnix" -batch -cup Demo pts.cup cup.fpl 2>&1 >/dev/null | tail -1)
python3 - "$work/batch.txt" "$points" "$rss" "$rss_cup" <<'PY'
import re, sys
n, rss, rss_cup = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
for line in open(sys.argv[1]):
    name = line.split()[0]
    wall, cpu = (float(v) / 1000 for v in re.findall(r"(?:wall|cpu)\s+([\d.]+) ms", line))
    print(f"{name:7s} {n / wall / 1e6:5.2f} M points/s   {cpu / n * 1e6:.3f} us CPU per point")
print(f"varnix peak RSS {rss / 1024:.1f} MB, with a .cup input and -cup {rss_cup / 1024:.1f} MB")
PY
