#!/usr/bin/env bash
# Times the window's start on a 100,000-point .cup (`varnix -gui big.cup`: the file page with its
# picture) beside the empty converter's start (`varnix -gui`), from process start until the
# window is on screen, median of the runs each. Uses a private Xvfb.
#   bench/file_page_start.sh [runs] [build dir]     (defaults: 10, build/ as ./run.sh makes it)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
build=$(realpath -m "${2:-$here/build}")
source "$here/bench/window_setup.sh"
build_varnix

# 100,000 waypoints around the demo landscape, one task of five of them.
python3 - "$work/big.cup" << 'PY'
import random, sys
random.seed(1)
with open(sys.argv[1], "w", newline="\r\n") as f:
    f.write("name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\n")
    for k in range(100000):
        lat, lon = 46.0 + random.random(), 8.7 + random.random() * 1.1
        f.write('"P%d",P%d,CH,%02d%06.3fN,%03d%06.3fE,%dm,1,,,,\n' % (
            k, k, int(lat), (lat % 1) * 60, int(lon), (lon % 1) * 60, 500 + k % 2000))
    f.write("-----Related Tasks-----\n")
    f.write('"Five","P1","P1","P20","P300","P4000","P1","P1"\n')
PY

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
