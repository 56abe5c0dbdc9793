#!/usr/bin/env bash
# Times the window's start on a 100,000-point .cup (`varnix -gui big.cup`: the file page with its
# picture) beside the empty converter's start (`varnix -gui`), from process start until the
# window is on screen, median of the runs each; then the memory the page holds for a file of
# POINTS points (resident once on screen, and the peak). Uses a private Xvfb.
#   bench/file_page_start.sh [runs] [build dir] [points]
#   (defaults: 10, build/ as ./run.sh makes it, 1000000)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
build=$(realpath -m "${2:-$here/build}")
points=${3:-1000000}
source "$here/bench/window_setup.sh"
build_varnix

# N waypoints around the demo landscape, one task of five of them.
make_cup() {  # make_cup FILE N
python3 - "$1" "$2" << 'PY'
import random, sys
random.seed(1)
with open(sys.argv[1], "w", newline="\r\n") as f:
    f.write("name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\n")
    for k in range(int(sys.argv[2])):
        lat, lon = 46.0 + random.random(), 8.7 + random.random() * 1.1
        f.write('"P%d",P%d,CH,%02d%06.3fN,%03d%06.3fE,%dm,1,,,,\n' % (
            k, k, int(lat), (lat % 1) * 60, int(lon), (lon % 1) * 60, 500 + k % 2000))
    f.write("-----Related Tasks-----\n")
    f.write('"Five","P1","P1","P20","P300","P4000","P1","P1"\n')
PY
}
make_cup "$work/big.cup" 100000
make_cup "$work/huge.cup" "$points"

start_xvfb
export VARNIX_REGISTRY="$here/data/demo/user.reg"
cd "$work"

# median_start NAME_PATTERN ARGS...: the median milliseconds until a window of that name shows.
median_start() {
    local pattern=$1 times=() t0 t1 pid
    shift
    for _ in $(seq "$runs"); do
        t0=$(date +%s%N)
        "$binary" "$@" > "$work/out.txt" 2>&1 &
        pid=$!
        until xdotool search --all --onlyvisible --pid "$pid" --name "$pattern" > /dev/null 2>&1; do
            kill -0 "$pid" 2> /dev/null || { echo "no window: $(tail -1 "$work/out.txt")" >&2; exit 1; }
            sleep 0.01
        done
        t1=$(date +%s%N)
        kill "$pid"
        wait "$pid" 2> /dev/null || true
        sleep 0.3
        times+=($(((t1 - t0) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}
empty=$(median_start '^Varnix$' -gui)
page=$(median_start 'big\.cup$' -gui "$work/big.cup")
echo "window on screen: empty converter ${empty} ms; file page on 100,000 points ${page} ms" \
    "(+$((page - empty)) ms; medians of $runs runs)"

# The memory of the page on the large file: resident once its window shows, and the peak.
"$binary" -gui "$work/huge.cup" > "$work/out.txt" 2>&1 &
pid=$!
until xdotool search --all --onlyvisible --pid "$pid" --name 'huge\.cup$' > /dev/null 2>&1; do
    kill -0 "$pid" 2> /dev/null || { echo "no window: $(tail -1 "$work/out.txt")" >&2; exit 1; }
    sleep 0.01
done
sleep 1
rss=$(awk '/^VmRSS/ {print int($2 / 1024)}' "/proc/$pid/status")
hwm=$(awk '/^VmHWM/ {print int($2 / 1024)}' "/proc/$pid/status")
kill "$pid"
wait "$pid" 2> /dev/null || true
echo "file page on $points points: ${rss} MB resident, ${hwm} MB at the peak"
