#!/usr/bin/env bash
# Times the converter window's start: `varnix` without operands on an installation of 100
# landscapes, from process start until its window is on screen (the first frame is drawn in the
# loop's first pass), median and range of the runs. Uses a private Xvfb.
#   bench/converter_start.sh [runs] [build dir]     (defaults: 20, build/ as ./run.sh makes it)
# XFT_DPI=192 times the form on a screen of twice the usual density (the form drawn 2×).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-20}
build=$(realpath -m "${2:-$here/build}")
source "$here/bench/window_setup.sh"
build_varnix

# The installation: the demo's terrain header under 100 names.
install="$work/Volaro2"
mkdir -p "$install/Logs"
: > "$install/Volaro.exe"
printf 'Volaro version: 2150\r\n' > "$install/Logs/Logfile.txt"
for i in $(seq -w 0 99); do
    mkdir -p "$install/Landscapes/Land$i"
    cp "$here/data/demo/Volaro2/Landscapes/Demo/Demo.trn" "$install/Landscapes/Land$i/Land$i.trn"
done
printf 'WINE REGISTRY Version 2\n\n[Software\\\\Volaro2] 1\n"InstallDir"="%s"\n' "$install" \
    > "$work/user.reg"

start_xvfb
[ -z "${XFT_DPI:-}" ] || echo "Xft.dpi: $XFT_DPI" | xrdb -display "$DISPLAY" -merge
export VARNIX_REGISTRY="$work/user.reg"
cd "$work"

times=()
failed=0
for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    "$binary" > "$work/out.txt" 2>&1 &
    pid=$!
    shown=1
    until xdotool search --all --onlyvisible --pid "$pid" --name '^Varnix$' > /dev/null 2>&1; do
        kill -0 "$pid" 2> /dev/null || { shown=0; break; }
        sleep 0.02  # polling flat out fills the X server's queue of new connections
    done
    t1=$(date +%s%N)
    if [ "$shown" = 0 ]; then
        failed=$((failed + 1))
        echo "no window: $(tail -1 "$work/out.txt")" >&2
        continue
    fi
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    sleep 0.3  # a client that connects at once after one was killed is sometimes refused
    times+=($(((t1 - t0) / 1000000)))
done
runs=${#times[@]}
[ "$runs" -gt 0 ] || exit 1
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(((runs + 1) / 2))p")
echo "converter start with 100 landscapes, to the window on screen: median ${median} ms" \
    "(min $(echo "$sorted" | head -1), max $(echo "$sorted" | tail -1), $runs runs," \
    "$failed without a window)"
