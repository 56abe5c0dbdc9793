#!/usr/bin/env bash
# Times varnix.exe under Wine beside the Linux build in the same run: one point (process start
# to exit) and a batch of 1,000,000 points to the flight-plan fragment. Under Wine the figures
# are only indicative. Both find the demo installation through VARNIX_REGISTRY.
# Usage: bench/windows_bench.sh [points]   (needs hyperfine; builds the Linux program, Release,
# and varnix.exe when build-windows has none)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
points=${1:-1000000}
linux_build="$here/build-bench"
cmake -S "$here" -B "$linux_build" -DCMAKE_BUILD_TYPE=Release -DVARNIX_TESTS=OFF > /dev/null
cmake --build "$linux_build" -j"$(nproc)" --target varnix > /dev/null
linux="$linux_build/app/varnix"
windows="$here/build-windows/app/varnix.exe"
[ -x "$windows" ] || bash "$here/scripts/build_windows.sh" > /dev/null
work=$(mktemp -d)
export WINEPREFIX="$here/build-windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { (unset DISPLAY; wineboot --init) > /dev/null 2>&1; wineserver -w; }
wineserver -p 2>/dev/null || true  # one Wine session for every run, as on a desktop
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNIX_REGISTRY="$here/data/demo/user.reg"
cd "$work"
unset DISPLAY
wine "$windows" Demo 46.5 9.25 > /dev/null  # Wine's services started before timing

echo "== single point (process start to exit)"
hyperfine -N --warmup 5 --runs 50 --export-json "$work/single.json" \
    "$linux Demo 46.5 9.25" "wine $windows Demo 46.5 9.25" 2>/dev/null | grep -E 'Time|Benchmark' || true
python3 - "$work/single.json" <<'PY'
import json, statistics, sys
for r in json.load(open(sys.argv[1]))["results"]:
    name = "varnix.exe under Wine" if "wine" in r["command"] else "Linux varnix"
    print(f"median {statistics.median(r['times'])*1000:.1f} ms  {name}")
PY

echo "== batch: $points points"
python3 - "$work" "$points" "$linux" "$windows" <<'PY'
import filecmp, random, subprocess, sys, time
work, n, linux, windows = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
rnd = random.Random(1)
with open(f"{work}/pts.txt", "w") as b:
    b.write("Landscape=Demo\n")
    for i in range(n):
        b.write(f"{i} TP{i} {46.38 + rnd.random() * 0.22:.7f} {9.02 + rnd.random() * 0.45:.7f} "
                f"{rnd.randrange(300, 3000)}\n")
def run(cmd, out):
    t = time.perf_counter()
    subprocess.run(cmd + ["-batch", "Demo", "pts.txt", out], cwd=work, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - t
tl = min(run([linux], "linux.fpl") for _ in range(3))
tw = min(run(["wine", windows], "windows.fpl") for _ in range(3))
same = filecmp.cmp(f"{work}/linux.fpl", f"{work}/windows.fpl", shallow=False)
print(f"Linux varnix:          {tl:.3f} s  {n / tl / 1e6:.2f} M points/s")
print(f"varnix.exe under Wine: {tw:.3f} s  {n / tw / 1e6:.2f} M points/s  ({tw / tl:.2f} x)")
print(f"flight plans identical: {same}")
PY
