#!/usr/bin/env bash
# Times the window's start on a big .cup (`varnix -gui big.cup`: the file page with its picture)
# beside the empty converter's start (`varnix -gui`), from process start until the window is on
# screen and, for the file page, until its picture is drawn (its middle no longer black), median
# of the runs each; and the file page's peak resident memory. Uses a private Xvfb.
#   bench/file_page_start.sh [runs] [build dir] [points]
#       (defaults: 10, build/ as ./run.sh makes it, 100000)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
build=$(realpath -m "${2:-$here/build}")
points=${3:-100000}
source "$here/bench/window_setup.sh"
build_varnix

# $points waypoints around the demo landscape, one task of five of them.
python3 - "$work/big.cup" "$points" << 'PY'
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

start_xvfb
export VARNIX_REGISTRY="$here/data/demo/user.reg"
cd "$work"

# median_start NAME_PATTERN ARGS...: the median milliseconds until a window of that name shows;
# with drawn=1, until the middle of the window is no longer black (the picture is there), and
# the largest peak resident memory of the runs (MB) in $work/peak.
median_start() {
    local pattern=$1 times=() t0 t1 pid win
    shift
    peak_mb=0
    for _ in $(seq "$runs"); do
        t0=$(date +%s%N)
        "$binary" "$@" > "$work/out.txt" 2>&1 &
        pid=$!
        until win=$(xdotool search --all --onlyvisible --pid "$pid" --name "$pattern" 2> /dev/null); do
            kill -0 "$pid" 2> /dev/null || { echo "no window: $(tail -1 "$work/out.txt")" >&2; exit 1; }
            sleep 0.01
        done
        if [ "${drawn:-0}" = 1 ]; then
            until [ "$(import -window "$win" -gravity center -crop 1x1+0+0 -depth 8 txt:- 2> /dev/null |
                       grep -c '#000000')" = 0 ]; do
                sleep 0.01
            done
        fi
        t1=$(date +%s%N)
        local hwm
        hwm=$(awk '/VmHWM/ {print int($2 / 1024)}' "/proc/$pid/status")
        [ "$hwm" -gt "$peak_mb" ] && peak_mb=$hwm
        kill "$pid"
        wait "$pid" 2> /dev/null || true
        sleep 0.3
        times+=($(((t1 - t0) / 1000000)))
    done
    echo "$peak_mb" > "$work/peak"
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}
empty=$(median_start '^Varnix$' -gui)
page=$(drawn=1 median_start 'big\.cup$' -gui "$work/big.cup")
echo "window on screen: empty converter ${empty} ms; file page on $points points with its" \
    "picture drawn ${page} ms (+$((page - empty)) ms; medians of $runs runs), peak $(cat "$work/peak") MB" \
    "resident"
