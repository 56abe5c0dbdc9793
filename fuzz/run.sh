#!/usr/bin/env bash
# Builds the form engine's libFuzzer targets with clang in a build folder of their own and runs
# each for a bounded time on the committed seed corpus. Exit status 0 when no target crashed or
# reported a sanitizer fault, 1 otherwise.
#
#   bash fuzz/run.sh                 # 20 s per target
#   VARNIX_FUZZ_SECONDS=300 bash fuzz/run.sh
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="${VARNIX_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${VARNIX_FUZZ_SECONDS:-20}"
targets=(form_def form_data)
# Room for a definition one past every table limit (corpus/form_def/past_limits.frm, 14 kB),
# and for a saved-values line per box of a full form.
max_len=16384

mkdir -p "$build"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVARNIX_FUZZ=ON -DVARNIX_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

status=0
for t in "${targets[@]}"; do
    work="$build/work/$t"
    rm -rf "$work"
    mkdir -p "$work/corpus"
    cp "$here/corpus/$t"/* "$work/corpus/"
    # The run's own folder takes the form log, crash inputs and new corpus entries; the
    # engine's console lines (stdout) are dropped.
    if (cd "$work" && "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len="$max_len" \
        -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 -print_final_stats=1 corpus >run.log 2>&1); then
        echo "fuzz_$t: $(grep -m1 'stat::number_of_executed_units' "$work/run.log" | awk '{print $2}') runs, no fault"
    else
        status=1
        echo "fuzz_$t: FAULT (inputs and log in $work)"
        tail -n 60 "$work/run.log"
    fi
done
exit "$status"
