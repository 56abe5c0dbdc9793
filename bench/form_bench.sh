#!/usr/bin/env bash
# Times the form window on the every-widget form (tests/gui/data/every_widget.frm):
#   start: process start to the first swapped frame (median of runs);
#   redraw: one full redraw (Google Benchmark, bench_forms);
#   idle: CPU share of an open window that nobody touches.
# Usage: bench/form_bench.sh [runs]   (builds Release; uses $DISPLAY or a private Xvfb)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-30}
build="$here/build-bench-gui"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVARNIX_TESTS=ON -DVARNIX_BENCH=ON \
    > /dev/null
cmake --build "$build" -j"$(nproc)" --target frm_show bench_forms > /dev/null
show="$build/tests/gui/frm_show"
form="$here/tests/gui/data/every_widget.frm"
values="$here/tests/gui/data/every_widget.txt"
export VARNIX_REGISTRY="$here/data/demo/user.reg" VARNIX_NO_DIALOGS=1
source "$here/bench/window_setup.sh"
cd "$work"
[ -n "${DISPLAY:-}" ] || start_xvfb

median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    frame=$("$show" "$form" --values "$values" --once | awk '$1 == "frame" {print $2}')
    echo $(((frame - t0) / 1000))
done | awk '{print $1 / 1000}' > start.txt
echo "start to first frame: median $(median < start.txt) ms, min $(sort -n start.txt | head -1)," \
    "max $(sort -n start.txt | tail -1) ms over $runs runs"

"$build/bench/bench_forms" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.5

# Idle: the window is up and drawn; then only its CPU time over a quiet stretch counts.
mkfifo out
"$show" "$form" --values "$values" > out &
pid=$!
exec 3< out
while read -r word _ <&3; do [ "$word" = frame ] && break; done
sleep 1
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
c0=$(ticks)
s0=$(date +%s%N)
sleep 5
c1=$(ticks)
s1=$(date +%s%N)
kill "$pid"
wait "$pid" 2> /dev/null || true
hz=$(getconf CLK_TCK)
awk -v c=$((c1 - c0)) -v hz="$hz" -v ns=$((s1 - s0)) \
    'BEGIN {printf "idle window: %.2f %% of a core (%d ticks in %.1f s)\n", 100 * c / hz / (ns / 1e9), c, ns / 1e9}'
